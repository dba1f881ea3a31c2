#include "support/WinPath.h"

namespace norvane::path {
namespace {

bool RefusedInName(wchar_t c) {
    return c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

// The path when it fits a buffer of `capacity` characters, else empty.
std::wstring Fitting(std::wstring path, std::size_t capacity) {
    return path.size() < capacity ? path : std::wstring();
}

}  // namespace

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
        if (RefusedInName(c))
            c = L'_';
    }
    return name;
}

bool IsPlainName(std::wstring_view name) {
    bool onlyDotsAndBlanks = true;
    for (wchar_t c : name) {
        if (RefusedInName(c))
            return false;
        onlyDotsAndBlanks = onlyDotsAndBlanks && (c == L'.' || c == L' ');
    }
    return !onlyDotsAndBlanks;
}

std::wstring FileInside(const std::wstring& folder, std::wstring_view name, std::size_t capacity,
                        std::wstring_view suffix) {
    if (folder.empty() || !IsPlainName(name))
        return L"";
    return Fitting(Join(folder, std::wstring(name) + std::wstring(suffix)), capacity);
}

std::wstring FolderInside(const std::wstring& folder, std::wstring_view relative,
                          std::size_t capacity) {
    if (relative.ends_with(L'\\'))
        relative.remove_suffix(1);
    if (folder.empty() || relative.empty())
        return L"";
    for (std::size_t start = 0; start <= relative.size();) {
        std::size_t end = relative.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = relative.size();
        if (!IsPlainName(relative.substr(start, end - start)))
            return L"";
        start = end + 1;
    }
    return Fitting(Join(folder, std::wstring(relative)) + L'\\', capacity);
}

}  // namespace norvane::path
