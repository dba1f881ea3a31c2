#include "log/Progress.h"

#include <algorithm>

namespace norvane {

void SilentSummary::Line(const std::wstring& line, const std::wstring&) {
    const std::wstring added = m_text.empty() ? line : L"\r\n" + line;
    const std::size_t room = kBuffer - 1 - m_text.size();
    m_text += added.substr(0, std::min(room, added.size()));
}

}  // namespace norvane
