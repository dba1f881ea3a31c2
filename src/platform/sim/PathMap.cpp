#include "platform/sim/PathMap.h"

#include <algorithm>

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;

using text::FoldName;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

}  // namespace

bool IsJunction(const std::filesystem::path& host) {
    std::error_code ec;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(host, ec)) &&
           std::filesystem::is_directory(host, ec);
}

bool PathMap::InsideDrive(const std::filesystem::path& host) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::canonical(host, ec), root = fs::canonical(m_root, ec);
    if (ec)
        return false;
    const auto [end, _] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
    return end == root.end();
}

bool SameFileName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldName(a[i]) != FoldName(b[i]))
            return false;
    }
    return true;
}

bool MatchesPattern(std::wstring_view pattern, std::wstring_view name) {
    if (pattern == L"*.*" || pattern == L"*")
        return true;
    // Iterative glob with backtracking over the last "*".
    std::size_t p = 0, n = 0, star = std::wstring_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == L'?' || FoldName(pattern[p]) == FoldName(name[n]))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++, mark = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1, n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == L'*' || pattern[p] == L'.'))
        ++p;
    return p == pattern.size();
}

platform::WinError PathMap::Components(const std::wstring& path, const std::wstring& currentDir,
                                       std::vector<std::wstring>& components) const {
    components.clear();
    if (path.empty())
        return win::kPathNotFound;
    std::wstring full;
    if (path.starts_with(L"\\\\?\\")) {
        // Taken as written: no separator but "\\" and no name trimmed.
        full = path.substr(4);
        if (full.size() < 3 || text::FoldAscii(full[0]) != L'c' || full[1] != L':' ||
            full[2] != L'\\')
            return win::kPathNotFound;
    } else {
        if (path.size() >= 2 && path[1] == L':') {
            full = L"C:\\" + path.substr(2);
            if (text::FoldAscii(path[0]) != L'c')
                return win::kPathNotFound;
        } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
            full = path;  // a UNC or device path, which FullPathName keeps as one
        } else if (IsSeparator(path[0])) {
            full = L"C:" + path;
        } else {
            full = currentDir + L"\\" + path;
        }
        full = path::FullPathName(full);
        if (full.starts_with(L"\\\\.\\C:\\") || full.starts_with(L"\\\\.\\c:\\"))
            full = full.substr(4);
        // A device or a share: this machine has only its C: drive.
        if (full.size() < 3 || text::FoldAscii(full[0]) != L'c' || full[1] != L':')
            return win::kPathNotFound;
    }
    for (const auto& name : text::Split(full.substr(3), L'\\')) {
        if (name.empty())
            continue;
        // Streams ("name:stream") and names NTFS refuses are not files of this machine.
        if (name.find_first_of(L":*?\"<>|") != std::wstring::npos)
            return win::kInvalidName;
        components.push_back(name);
    }
    return win::kSuccess;
}

platform::WinError PathMap::Resolve(const std::wstring& path, const std::wstring& currentDir,
                                    ResolvedPath& resolved) const {
    namespace fs = std::filesystem;
    std::vector<std::wstring> components;
    if (const auto error = Components(path, currentDir, components))
        return error;
    std::error_code ec;
    fs::path host;
    fs::file_status status;
    std::size_t next = 0;
    // The folder of the last name, as asked. Found before and still a folder, it is where the
    // walk starts: a folder that is there has every folder above it there too.
    std::wstring folder;
    if (components.size() > 1) {
        for (std::size_t i = 0; i + 1 < components.size(); ++i)
            (folder += components[i]) += L'\\';
        if (fs::path known = KnownFolder(folder); !known.empty()) {
            status = fs::status(known, ec);
            if (fs::is_directory(status)) {
                host = std::move(known);
                next = components.size() - 1;
            } else {
                Forget(folder);
            }
        }
    }
    if (next == 0) {
        host = m_root;
        status = fs::status(host, ec);
        if (!fs::is_directory(status))
            return win::kPathNotFound;
    }
    // One look at each name: what it is tells whether the walk may go on below it.
    for (std::size_t i = next; i < components.size(); ++i) {
        const bool last = i + 1 == components.size();
        // The name as spelled is the usual case and needs no look through the folder.
        fs::path match = host / text::ToUtf8(components[i]);
        status = fs::symlink_status(match, ec);
        if (!fs::exists(status))
            match = FindSpelledOtherwise(host, components[i], status);
        if (match.empty()) {
            if (!last)
                return win::kPathNotFound;
            resolved.host = host / text::ToUtf8(components[i]);
            resolved.exists = false;
            return win::kSuccess;
        }
        if (fs::is_symlink(status)) {
            status = fs::status(match, ec);
            if (fs::is_directory(status) && !last && !InsideDrive(match))
                return win::kPathNotFound;
        }
        if (!last && !fs::is_directory(status))
            return win::kPathNotFound;
        host = std::move(match);
        if (i + 2 == components.size())
            Remember(folder, host);
    }
    resolved.host = std::move(host);
    resolved.exists = fs::exists(status);
    return win::kSuccess;
}

std::filesystem::path PathMap::KnownFolder(const std::wstring& folder) const {
    std::lock_guard lock(m_lock);
    const auto it = m_folders.find(folder);
    return it == m_folders.end() ? std::filesystem::path() : it->second;
}

void PathMap::Remember(const std::wstring& folder, const std::filesystem::path& host) const {
    std::lock_guard lock(m_lock);
    m_folders.insert_or_assign(folder, host);
}

void PathMap::Forget(const std::wstring& folder) const {
    std::lock_guard lock(m_lock);
    m_folders.erase(folder);
}

std::filesystem::path PathMap::FindSpelledOtherwise(const std::filesystem::path& folder,
                                                    const std::wstring& name,
                                                    std::filesystem::file_status& status) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(folder, ec);
    const std::wstring folded = text::FoldedName(name);
    std::lock_guard lock(m_lock);
    Listing& listing = m_listings[folder.native()];
    // The first entry listed under the folded name, if it is still there.
    const auto lookUp = [&]() -> fs::path {
        const auto it = listing.names.find(folded);
        if (it == listing.names.end())
            return {};
        status = fs::symlink_status(it->second.front(), ec);
        return fs::exists(status) ? it->second.front() : fs::path();
    };
    if (listing.time == time && !ec) {
        if (!listing.names.contains(folded))
            return {};
        if (fs::path found = lookUp(); !found.empty())
            return found;
    }
    listing.time = time;
    listing.names.clear();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        // The first of names that fold alike, as the folder lists them, is the one found.
        listing.names[text::FoldedName(text::FromUtf8(entry.path().filename().string()))].push_back(
            entry.path());
    }
    return lookUp();
}

PathMap::FolderTime PathMap::TimeBefore(const std::filesystem::path& host) const {
    {
        std::lock_guard lock(m_lock);
        if (!m_listings.contains(host.parent_path().native()))
            return FolderTime::min();
    }
    std::error_code ec;
    const FolderTime time = std::filesystem::last_write_time(host.parent_path(), ec);
    return ec ? FolderTime::min() : time;
}

void PathMap::Changed(const std::filesystem::path& host, FolderTime before) const {
    namespace fs = std::filesystem;
    std::lock_guard lock(m_lock);
    const auto it = m_listings.find(host.parent_path().native());
    if (it == m_listings.end())
        return;
    Listing& listing = it->second;
    std::error_code ec;
    const FolderTime time = fs::last_write_time(host.parent_path(), ec);
    if (ec || listing.time != before) {
        m_listings.erase(it);
        return;
    }
    listing.time = time;
    const std::wstring folded = text::FoldedName(text::FromUtf8(host.filename().string()));
    std::vector<fs::path>& entries = listing.names[folded];
    const auto entry = std::find(entries.begin(), entries.end(), host);
    if (fs::exists(fs::symlink_status(host, ec))) {
        if (entry == entries.end())
            entries.push_back(host);
        return;
    }
    // Gone: another name that folds alike, if any, is the one found now.
    if (entry != entries.end())
        entries.erase(entry);
    if (entries.empty())
        listing.names.erase(folded);
}

std::wstring PathMap::WindowsPath(const std::filesystem::path& host) const {
    const auto relative = host.lexically_relative(m_root);
    std::wstring out = L"C:";
    for (const auto& part : relative) {
        if (part == ".")
            continue;
        out += L"\\" + text::FromUtf8(part.string());
    }
    return out.size() == 2 ? L"C:\\" : out;
}

}  // namespace norvane::sim
