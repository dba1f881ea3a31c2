#include "log/Progress.h"

#include <algorithm>

#include "support/Text.h"

namespace norvane {

void SilentSummary::Line(const std::wstring& line, const std::wstring&) {
    const std::wstring added = m_text.empty() ? line : L"\r\n" + line;
    const std::size_t room = kBuffer - 1 - m_text.size();
    m_text += added.substr(0, std::min(room, added.size()));
}

std::wstring ItemLine(const Texts& texts, std::uint32_t opener, const std::wstring& name,
                      std::uint32_t ending) {
    return text::Bounded(texts.Load(opener) + name + texts.Load(ending), kLineBuffer);
}

std::wstring NotRemovedLine(const Texts& texts, std::uint32_t opener, const std::wstring& name,
                            const std::wstring& reason) {
    return text::Bounded(
        texts.Load(opener) + name + texts.Load(140) + texts.Load(141) + reason + texts.Load(142),
        kLineBuffer);
}

}  // namespace norvane
