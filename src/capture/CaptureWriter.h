// Where a capture goes: a machine folder on the host, written with std::filesystem. Windows paths
// become paths below drive_c/ only when Windows takes them as written on the C: drive, so that no
// name read from the machine ("..\x", "CON", "a:b", "x.") reaches outside the folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace norvane::capture {

// What a capture wrote, and what it could not read or write.
struct CaptureCounts {
    std::uint64_t keys = 0, values = 0;
    std::uint64_t valuesLeftOut = 0;  // the printers' driver-private settings
    std::uint64_t wholeFiles = 0, placeholders = 0, folders = 0;
    std::uint64_t bytes = 0;              // written: the whole files and the texts
    std::uint64_t placeholderBytes = 0;   // the sizes the placeholders stand for
    std::vector<std::wstring> unread;     // "<what> <path>: <error>", kept in the capture note
    std::vector<std::wstring> unwritten;  // host paths that could not be written
};

class CaptureWriter {
public:
    // Makes drive_c/ in `folder`; a failure shows in the first write below it.
    explicit CaptureWriter(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return m_folder; }
    CaptureCounts& Counts() { return m_counts; }
    const CaptureCounts& Counts() const { return m_counts; }

    // A text file at the top of the folder (registry.reg, machine.json).
    bool Text(const std::string& name, const std::string& text);
    // Below drive_c/: a folder, a file with its contents, or a file of that size holding zeros,
    // made by extending an empty file (sparse where the host's file system allows), so that no
    // big file is ever held in memory. False when the path is no plain C: path (listed in
    // `unread`: a machine folder holds one drive, and the PC's other drives stay out of it) or
    // the write failed (listed in `unwritten`).
    bool Folder(const std::wstring& windowsPath);
    bool Whole(const std::wstring& windowsPath, const std::vector<std::uint8_t>& bytes);
    bool Placeholder(const std::wstring& windowsPath, std::uint64_t size);
    // Whether the capture holds that path already, as a file or a folder.
    bool Holds(const std::wstring& windowsPath) const;

private:
    bool OffTheDrive(const std::wstring& windowsPath);
    // The host path of a plain C: path, its folders made as they are first met (one spelling per
    // folder whatever case later paths give it, as NTFS keeps one); nullopt when one cannot be
    // made.
    std::optional<std::filesystem::path> HostPath(const std::wstring& windowsPath, bool isFolder);

    std::filesystem::path m_folder;
    CaptureCounts m_counts;
    std::map<std::wstring, std::filesystem::path> m_made;  // folded Windows path -> host path
};

// The host path of a name as the host spells file names (UTF-8 on Linux, UTF-16 on Windows).
std::filesystem::path HostName(const std::wstring& name);

}  // namespace norvane::capture
