// SPDX-License-Identifier: MIT
// The write-then-read worker's exchange and its per-printer read record.
#include "transport/ThreadRWPrinter.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "platform/ExchangeFailure.h"
#include "platform/Platform.h"
#include "transport/TVPCOMM.h"

namespace ps {
namespace {

constexpr std::uint8_t kFrameStart[3] = {0x1B, 0x1D, 0x1E};
constexpr std::int32_t kDrainLength = 32767;
constexpr std::int32_t kContinuationTimeoutMs = 100;

}  // namespace

TRWPrinter::~TRWPrinter() {
    WaitFor();
}

void TRWPrinter::SetParameters(std::int32_t iUSBPrinter, const std::string& strWriteHex,
                               bool bReadData, std::int32_t iTimeOut, std::int32_t iLeastByte,
                               bool bResetFirst, std::uint32_t dwReadWait,
                               std::uint32_t dwReadData) {
    m_iUSBPrinter = iUSBPrinter;
    m_strWriteHex = strWriteHex;
    m_bReadData = bReadData;
    m_iTimeOut = iTimeOut;
    m_iLeastByte = iLeastByte;
    m_bResetFirst = bResetFirst;
    m_bMultiReadRetry = bResetFirst;
    m_dwReadWait = dwReadWait;
    m_dwReadData = dwReadData;
    m_pBuf = HexTextToBytes(strWriteHex);
}

void TRWPrinter::Execute() {
    m_bResult = false;
    m_bPortOpened = false;
    m_bReadAttempted = false;
    m_strError.clear();
    try {
        TIoHandle handle = OpenPrinterUSBPort(m_iUSBPrinter + 1);
        if (handle == kInvalidIoHandle) {
            NoteExchangeFailure(ThreadLastErrorText());
            return;
        }
        m_bPortOpened = true;
        struct TCloser {
            TIoHandle handle;
            ~TCloser() { CloseUSBPort(handle); }
        } closer{handle};
        Exchange(handle);
        m_strWriteHex.clear();
    } catch (const std::exception& e) {
        // Carried back to the owner as a failed exchange; a thread must never end the program.
        m_bResult = false;
        m_strError = e.what();
    } catch (...) {
        m_bResult = false;
        m_strError = "unknown error in the printer exchange";
    }
}

void TRWPrinter::Exchange(TIoHandle handle) {
    TClock& clock = Platform().Clock();
    if (m_bResetFirst) {
        m_bResult = Platform().Kernel().CancelIo(handle);
        for (int i = 0; i < 5; ++i) m_nRet = ReadPort(handle, m_Buf.data(), kDrainLength, 10);
        m_nRet = ReadPort(handle, m_Buf.data(), kDrainLength, 20);
        clock.Sleep(20);
    }

    const auto n = static_cast<std::int32_t>(m_pBuf.size());
    // Nothing to write counts as a complete write of nothing.
    m_nRet = n > 0 ? WritePort(handle, m_pBuf.data(), n, kUsbWriteTimeoutMs) : 0;
    if (m_nRet == kUsbWriteFailed) {
        m_bResult = false;
        return;
    }
    if (m_nRet != n) return;  // a short write keeps the result it had
    if (!m_bReadData) {
        m_bResult = true;
        return;
    }

    m_bReadAttempted = true;
    clock.Sleep(m_dwReadWait);
    const auto perRead = static_cast<std::int32_t>(
        std::min<std::uint32_t>(m_dwReadData, static_cast<std::uint32_t>(kRWPrinterBufferSize)));
    SetThreadLastError(kErrorSuccess);
    m_nRet = std::clamp(ReadPort(handle, m_Buf.data(), perRead, m_iTimeOut), 0, perRead);
    m_iLastRead = m_nRet;
    if (GetThreadLastError() != kErrorSuccess) {
        m_bResult = false;
        return;
    }
    if (m_bMultiReadRetry) {
        // Each continuation goes right after the bytes held, and never past the buffer. A
        // printer that keeps sending a little at a time is cut off once the continuations have
        // taken as long as the first read could wait.
        const std::uint64_t end = clock.NowMs() + static_cast<std::uint64_t>(
                                                      std::max(m_iTimeOut, kContinuationTimeoutMs));
        for (;;) {
            const std::int32_t room = std::min(perRead, kRWPrinterBufferSize - m_nRet);
            const std::uint64_t now = clock.NowMs();
            if (room <= 0 || now >= end) break;
            const auto wait = static_cast<std::int32_t>(
                std::min<std::uint64_t>(end - now, kContinuationTimeoutMs));
            SetThreadLastError(kErrorSuccess);
            const std::int32_t k =
                std::clamp(ReadPort(handle, m_Buf.data() + m_nRet, room, wait), 0, room);
            m_nRet += k;
            if (GetThreadLastError() != kErrorSuccess) break;
            m_iLastRead = k;
            if (k == 0) break;  // a library that reports success without data would spin
        }
    }
    m_bResult = m_nRet >= m_iLeastByte;
}

bool TRWPrinter::GetData(std::uint8_t* destination, std::int32_t capacity, std::int32_t& length,
                         bool fromFrameStart) const {
    if (capacity + 1 < m_iLastRead) {
        length = 0;
        return false;
    }
    const std::int32_t total = std::clamp(m_nRet, 0, kRWPrinterBufferSize);
    std::int32_t start = 0;
    if (fromFrameStart) {
        start = FindMem(kFrameStart, m_Buf.data(), 3, total);
        if (start < 0) return false;
    }
    const std::int32_t count = total - start;
    if (count > capacity + 1) {
        length = 0;
        return false;
    }
    if (count > 0) std::memcpy(destination, m_Buf.data() + start, static_cast<std::size_t>(count));
    length = count;
    return true;
}

}  // namespace ps
