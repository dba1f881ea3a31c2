// Files and folders in a preview: reads see the machine as the changes so far would have left it
// (a deleted file is gone, a made folder is there), every change is recorded and answered as
// Windows would answer it, and nothing on the disk changes. The log is the one file written (with
// the file its new content goes to before it replaces the log).
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"
#include "platform/preview/ChangeList.h"

namespace norvane::preview {

class PreviewFileSystem : public platform::FileSystem {
public:
    PreviewFileSystem(platform::FileSystem& machine, ChangeList& changes, std::wstring logFile)
        : m_machine(machine), m_changes(changes), m_logFile(FoldedPath(logFile)) {}

    // Whether the changes so far would have deleted the path or a folder above it.
    bool Gone(const std::wstring& path) const;
    bool IsLog(const std::wstring& path) const {
        const std::wstring folded = FoldedPath(path);
        return folded == m_logFile || folded == FoldedPath(platform::ReplacementName(m_logFile));
    }
    // A file another process deletes for the run (the spooler, pnputil): it reads as gone from
    // now on. Not a change of its own: the call that asked for it is the change.
    void DeletedOutside(const std::wstring& path) { m_gone.insert(FoldedPath(path)); }

    platform::WinError Find(const std::wstring& pattern,
                            std::vector<platform::FindEntry>& entries) override;
    platform::WinError DeleteFile(const std::wstring& path) override;
    platform::WinError GetAttributes(const std::wstring& path, std::uint32_t& attributes) override;
    platform::WinError SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    platform::WinError GetFileSize(const std::wstring& path, std::uint64_t& size) override;
    platform::WinError CreateDirectory(const std::wstring& path) override;
    platform::WinError RemoveDirectory(const std::wstring& path) override;
    bool PathFileExists(const std::wstring& path) override;
    bool PathIsDirectory(const std::wstring& path) override;
    platform::WinError GetCurrentDirectory(std::wstring& path) override {
        return m_machine.GetCurrentDirectory(path);
    }
    // The working folder is the process's own, not the machine's: it is really set.
    platform::WinError SetCurrentDirectory(const std::wstring& path) override {
        return m_machine.SetCurrentDirectory(path);
    }
    platform::WinError ReadFile(const std::wstring& path,
                                std::vector<std::uint8_t>& bytes) override;
    platform::WinError WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 bool append) override;
    platform::WinError MoveFileReplacing(const std::wstring& from, const std::wstring& to) override;

private:
    platform::FileSystem& m_machine;
    ChangeList& m_changes;
    const std::wstring m_logFile;
    std::set<std::wstring> m_gone;                       // folded paths deleted or removed
    std::set<std::wstring> m_madeFolders;                // folded paths of folders made
    std::map<std::wstring, std::uint32_t> m_attributes;  // attributes set, by folded path
};

}  // namespace norvane::preview
