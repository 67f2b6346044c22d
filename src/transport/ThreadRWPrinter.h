// SPDX-License-Identifier: MIT
// The write-then-read worker: one command exchange with a USB printer through the vendor USB
// library on its own thread, so the user interface stays responsive while the library blocks.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/Lib_String.h"
#include "platform/PlatformTypes.h"
#include "transport/WorkerThread.h"

namespace ps {

/// Size of the worker's reply buffer; no read ever stores beyond it.
inline constexpr std::int32_t kRWPrinterBufferSize = 32768;

/// One exchange, one object: create, SetParameters, Start, wait (WaitPumpingMessages), read the
/// results, destroy. The worker is a pure transport: it touches nothing but its own fields, and
/// the owner reads them (and records the read in the process state) once it has finished.
class TRWPrinter : public TWorkerThread {
public:
    TRWPrinter() = default;
    ~TRWPrinter() override;

    /// Called once before Start. bResetFirst switches on both draining and read-all mode.
    /// The command text is converted with HexTextToBytes.
    void SetParameters(std::int32_t iUSBPrinter, const std::string& strWriteHex, bool bReadData,
                       std::int32_t iTimeOut, std::int32_t iLeastByte, bool bResetFirst,
                       std::uint32_t dwReadWait, std::uint32_t dwReadData);

    /// Copies the reply after the worker has finished. `capacity` is one less than the
    /// destination's size. With fromFrameStart the copy starts at the first 1B 1D 1E (false and
    /// `length` untouched without one). A reply that does not fit gives length 0 and false.
    bool GetData(std::uint8_t* destination, std::int32_t capacity, std::int32_t& length,
                 bool fromFrameStart) const;

    std::int32_t m_iUSBPrinter = 0;
    std::string m_strWriteHex;
    std::int32_t m_iTimeOut = 0;
    std::int32_t m_iLeastByte = 0;
    std::int32_t m_iLastRead = 0;
    std::array<std::uint8_t, kRWPrinterBufferSize> m_Buf{};
    TBytes m_pBuf;
    std::int32_t m_nRet = 0;
    bool m_bReadData = false;
    bool m_bMultiReadRetry = false;
    std::uint32_t m_dwReadData = 0;
    bool m_bResult = false;
    bool m_bPortOpened = false;     // the port opened: the per-printer read record is updated
    bool m_bReadAttempted = false;  // the exchange went on to read: one more read is counted
    std::string m_strError;         // what stopped the exchange when it threw
    bool m_bResetFirst = false;
    std::uint32_t m_dwReadWait = 0;

protected:
    void Execute() override;

private:
    /// Drain, write and reads on the opened port.
    void Exchange(TIoHandle handle);
};

}  // namespace ps
