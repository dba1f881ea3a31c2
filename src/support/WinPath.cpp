#include "support/WinPath.h"

#include <algorithm>
#include <vector>

#include "support/Text.h"

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
    if (name.empty() || name.back() == L'.' || name.back() == L' ' || IsDeviceName(name))
        return false;
    return std::none_of(name.begin(), name.end(), RefusedInName);
}

bool IsDeviceName(std::wstring_view name) {
    // Windows looks at the name before its first dot, without the blanks and the colon that may
    // end it ("NUL .txt", "CON:").
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && (base.back() == L' ' || base.back() == L':'))
        base.remove_suffix(1);
    const std::wstring folded = text::LowerAscii(std::wstring(base));
    if (folded == L"con" || folded == L"prn" || folded == L"aux" || folded == L"nul")
        return true;
    return folded.size() == 4 && (folded.starts_with(L"com") || folded.starts_with(L"lpt")) &&
           folded[3] >= L'1' && folded[3] <= L'9';
}

std::wstring FullPathName(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\"))
        return std::wstring(path);
    std::wstring full(path);
    std::replace(full.begin(), full.end(), L'/', L'\\');
    std::size_t root;  // what no ".." climbs above: "C:\", "\\.\", "\\server\share\"
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') {
        root = 3;
    } else if (full.starts_with(L"\\\\.\\")) {
        root = 4;
    } else if (const auto server = full.find(L'\\', 2);
               full.starts_with(L"\\\\") && server != std::wstring::npos) {
        root = full.find(L'\\', server + 1);  // "\\server\share\"
        root = root == std::wstring::npos ? full.size() : root + 1;
    } else {
        return full;
    }
    const auto lastSlash = full.find_last_of(L'\\');
    if (root != 4 && IsDeviceName(std::wstring_view(full).substr(lastSlash + 1)) &&
        lastSlash + 1 < full.size()) {
        std::wstring device = full.substr(lastSlash + 1);
        device = device.substr(0, device.find_first_of(L".:"));
        while (!device.empty() && device.back() == L' ')
            device.pop_back();
        return L"\\\\.\\" + device;
    }
    std::vector<std::wstring> names;
    std::wstring_view rest = std::wstring_view(full).substr(root);
    while (!rest.empty()) {
        const auto slash = rest.find(L'\\');
        std::wstring name(rest.substr(0, slash));
        const bool last = slash == std::wstring_view::npos;
        rest = last ? std::wstring_view() : rest.substr(slash + 1);
        if (name.empty() || name == L".")
            continue;
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
            continue;
        }
        if (!last && name.back() == L'.')
            name.pop_back();  // "3.\" is "3\"; "3 \" stays a name with a blank
        names.push_back(std::move(name));
    }
    std::wstring out = full.substr(0, root);
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i ? L"\\" : L"") + names[i];
    const bool endsInSeparator = IsSeparator(path.back()) && !names.empty();
    if (endsInSeparator) {
        out += L'\\';
    } else {
        while (out.size() > root && (out.back() == L'.' || out.back() == L' '))
            out.pop_back();
    }
    return out;
}

bool IsCanonicalPath(std::wstring_view path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' ||
        !((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
        return false;
    std::wstring_view rest = path.substr(3);
    if (rest.empty())
        return true;  // "C:\\" itself
    if (rest.ends_with(L'\\'))
        rest.remove_suffix(1);
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = rest.size();
        if (!IsPlainName(rest.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

std::wstring ComparablePath(std::wstring_view path) {
    std::wstring out(path);
    while (out.size() > 3 && IsSeparator(out.back()))
        out.pop_back();
    return text::FoldedName(out);
}

bool IsAtOrBelow(std::wstring_view inner, std::wstring_view outer) {
    return inner.starts_with(outer) &&
           (inner.size() == outer.size() || outer.ends_with(L'\\') || inner[outer.size()] == L'\\');
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
