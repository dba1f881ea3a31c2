#include "support/WinPath.h"

namespace norvane::path {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsSeparator(folder.back()))
        return folder + name;
    return folder + L'\\' + name;
}

std::wstring SafeFileName(const std::wstring& text) {
    std::wstring name = text;
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) {
            c = L'_';
        }
    }
    return name;
}

}  // namespace norvane::path
