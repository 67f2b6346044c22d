// SPDX-License-Identifier: MIT
// Menu download: the model query with its CRC-32 challenge and the menu request.
#include "MenuPacking.h"
#include "PrinterCore.h"

namespace ps::emu {

bool TPrinterCore::ObeyMenu(std::span<const std::uint8_t> body) {
    if (body.size() >= 2 && body[0] == 0x04 && body[1] == 0x0F) {
        // 04 0F, the challenge length, the challenge.
        std::span<const std::uint8_t> challenge;
        if (body.size() >= 3)
            challenge = body.subspan(3, std::min<std::size_t>(body[2], body.size() - 3));
        Reply(ModelQueryReply(challenge, m_strModelName));
        Event("model query answered");
        return true;
    }
    if (body.size() != 2 || body[0] != 0x06 || body[1] != 0x03) return false;

    if (!m_Menu) {
        TBytes reply = MenuReplyHead(0);
        reply.push_back(kMenuReplyEnd);
        Reply(std::move(reply));
        Event("menu request: no menu (T = 0)");
        return true;
    }
    const TBytes payload = PackMenu(*m_Menu);
    const auto length = static_cast<std::uint32_t>(payload.size());
    TBytes head = MenuReplyHead(length);
    const bool bFitsInline = head.size() + payload.size() + 1 <= kReadAllLimit;
    if (m_Options.menuTransfer == TMenuTransfer::Inline &&
        (bFitsInline || m_Options.allowLargeReplies)) {
        head.insert(head.end(), payload.begin(), payload.end());
        head.push_back(kMenuReplyEnd);
        Reply(std::move(head));
        Event("menu request: " + std::to_string(length) + " bytes inline");
        return true;
    }
    // The head alone, then the payload as a transfer of its own.
    Reply(std::move(head));
    if (payload.size() > kReadAllLimit && !m_Options.allowLargeReplies) {
        Event("menu request: packed menu of " + std::to_string(length) +
              " bytes exceeds the read buffer; only the head is sent");
        return true;
    }
    ReplyTransfer(payload);
    Event("menu request: " + std::to_string(length) + " bytes as a separate transfer");
    return true;
}

}  // namespace ps::emu
