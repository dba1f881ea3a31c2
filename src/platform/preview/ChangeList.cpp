#include "platform/preview/ChangeList.h"

#include "platform/ChangeText.h"
#include "support/Text.h"

namespace norvane::preview {

void ChangeList::Add(const std::wstring& call, const std::vector<std::wstring>& arguments) {
    m_entries.push_back(platform::ChangeText(call, arguments));
}

std::optional<bool> NearestGone(std::wstring folded, const std::set<std::wstring>& gone,
                                const std::set<std::wstring>& made) {
    while (!folded.empty()) {
        if (made.contains(folded))
            return false;
        if (gone.contains(folded))
            return true;
        const auto slash = folded.rfind(L'\\');
        if (slash == std::wstring::npos)
            break;
        folded.resize(slash);
    }
    return std::nullopt;
}

std::wstring FoldedPath(const std::wstring& path) {
    std::wstring lower = text::LowerAscii(path);
    for (wchar_t& c : lower)
        c = c == L'/' ? L'\\' : c;
    // "." and ".." resolved as Windows resolves a full path.
    std::vector<std::wstring> parts;
    for (const auto& part : text::Split(lower, L'\\')) {
        if (part == L".." && parts.size() > 1)
            parts.pop_back();
        else if (part != L"." && part != L".." && !(part.empty() && !parts.empty()))
            parts.push_back(part);
    }
    std::wstring folded;
    for (const auto& part : parts)
        folded += (folded.empty() && &part == &parts.front() ? L"" : L"\\") + part;
    return folded;
}

}  // namespace norvane::preview
