#include "capture/CaptureWriter.h"

#include <algorithm>
#include <fstream>

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::capture {

namespace fs = std::filesystem;

fs::path HostName(const std::wstring& name) {
    const std::string utf8 = text::ToUtf8(name);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

CaptureWriter::CaptureWriter(fs::path folder) : m_folder(std::move(folder)) {
    std::error_code ec;
    fs::create_directories(m_folder / "drive_c", ec);
}

bool CaptureWriter::OffTheDrive(const std::wstring& windowsPath) {
    if (path::IsCanonicalPath(windowsPath) && text::LowerAscii(windowsPath.substr(0, 3)) == L"c:\\")
        return false;
    m_counts.unread.push_back(L"path " + windowsPath + L": not a plain path on drive C:");
    return true;
}

std::optional<fs::path> CaptureWriter::HostPath(const std::wstring& windowsPath, bool isFolder) {
    std::wstring_view trimmed = windowsPath;
    if (trimmed.size() > 3 && trimmed.back() == L'\\')
        trimmed.remove_suffix(1);
    fs::path host = m_folder / "drive_c";
    for (std::size_t at = 3; at < trimmed.size();) {
        const std::size_t end = std::min(trimmed.find(L'\\', at), trimmed.size());
        const std::wstring key = path::ComparablePath(trimmed.substr(0, end));
        if (const auto made = m_made.find(key); made != m_made.end()) {
            host = made->second;
        } else {
            host /= HostName(std::wstring(trimmed.substr(at, end - at)));
            if (end == trimmed.size() && !isFolder)
                break;
            std::error_code ec;
            if (!fs::is_directory(host, ec) && !fs::create_directory(host, ec))
                return std::nullopt;
            ++m_counts.folders;
            m_made.emplace(key, host);
        }
        at = end + 1;
    }
    return host;
}

bool CaptureWriter::Holds(const std::wstring& windowsPath) const {
    return m_made.contains(path::ComparablePath(windowsPath));
}

bool CaptureWriter::Text(const std::string& name, const std::string& text) {
    std::ofstream out(m_folder / name, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
        m_counts.unwritten.push_back(text::FromUtf8(name));
        return false;
    }
    m_counts.bytes += text.size();
    return true;
}

bool CaptureWriter::Folder(const std::wstring& windowsPath) {
    if (OffTheDrive(windowsPath))
        return false;
    if (HostPath(windowsPath, true))
        return true;
    m_counts.unwritten.push_back(windowsPath);
    return false;
}

bool CaptureWriter::Whole(const std::wstring& windowsPath, const std::vector<std::uint8_t>& bytes) {
    if (OffTheDrive(windowsPath))
        return false;
    const auto host = HostPath(windowsPath, false);
    bool written = false;
    if (host) {
        std::ofstream out(*host, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        written = static_cast<bool>(out.flush());
    }
    if (!written) {
        m_counts.unwritten.push_back(windowsPath);
        return false;
    }
    m_made.emplace(path::ComparablePath(windowsPath), *host);
    ++m_counts.wholeFiles;
    m_counts.bytes += bytes.size();
    return true;
}

bool CaptureWriter::Placeholder(const std::wstring& windowsPath, std::uint64_t size) {
    if (OffTheDrive(windowsPath))
        return false;
    const auto host = HostPath(windowsPath, false);
    std::error_code ec;
    bool written = false;
    if (host) {
        written = static_cast<bool>(std::ofstream(*host, std::ios::binary));
        if (written)
            fs::resize_file(*host, size, ec);
    }
    if (!written || ec) {
        m_counts.unwritten.push_back(windowsPath);
        return false;
    }
    m_made.emplace(path::ComparablePath(windowsPath), *host);
    ++m_counts.placeholders;
    m_counts.placeholderBytes += size;
    return true;
}

}  // namespace norvane::capture
