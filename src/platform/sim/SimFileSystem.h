// The FileSystem service of the simulated machine: Windows paths onto drive_c/, with Windows'
// error codes, every change journaled. A locked file (machine.json "faults" "lockedFiles") is held
// open by another program: deleting it fails with ERROR_SHARING_VIOLATION, so the folder that
// holds it cannot be removed either. A read-only file ("readOnlyFiles") lies on a read-only share
// or medium: it reads, but writing, deleting or replacing it, or setting its attributes, fails
// with ERROR_ACCESS_DENIED.
#pragma once

#include "platform/FileSystem.h"
#include "platform/sim/Journal.h"
#include "platform/sim/PathMap.h"

namespace norvane::sim {

class SimFileSystem final : public platform::FileSystem {
public:
    SimFileSystem(const PathMap& paths, std::wstring currentDir,
                  const std::vector<std::wstring>& lockedFiles, Journal& journal,
                  const std::vector<std::wstring>& readOnlyFiles = {})
        : m_paths(paths),
          m_currentDir(std::move(currentDir)),
          m_lockedFiles(lockedFiles),
          m_readOnlyFiles(readOnlyFiles),
          m_journal(journal) {}

    // Resolves a Windows path against the current folder (for the other services of the machine).
    platform::WinError Resolve(const std::wstring& path, ResolvedPath& resolved) const {
        return m_paths.Resolve(path, m_currentDir, resolved);
    }
    const PathMap& Paths() const { return m_paths; }
    // Whether the file is one the machine holds read-only (for the profile functions' writes).
    bool IsReadOnly(const std::wstring& path) const { return Listed(m_readOnlyFiles, path); }

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
    platform::WinError GetCurrentDirectory(std::wstring& path) override;
    platform::WinError SetCurrentDirectory(const std::wstring& path) override;
    platform::WinError ReadFile(const std::wstring& path,
                                std::vector<std::uint8_t>& bytes) override;
    platform::WinError WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 bool append) override;
    platform::WinError MoveFileReplacing(const std::wstring& from, const std::wstring& to) override;

private:
    // What an existing path must be for a call: anything, a file (a folder is refused as the
    // calls on files refuse it, 5) or a folder (a file is refused, 267).
    enum class Existing { Any, File, Folder };

    // The prologue of the calls on one existing path: resolves it, then refuses a missing one (2)
    // and one that is not what the call wants.
    platform::WinError ResolveExisting(const std::wstring& path, Existing what,
                                       ResolvedPath& resolved) const;
    bool Listed(const std::vector<std::wstring>& files, const std::wstring& path) const;
    bool IsLocked(const std::wstring& path) const { return Listed(m_lockedFiles, path); }
    // The refusal of a change of the file, journaled: 32 when it is locked and `locking` (only a
    // deletion or move minds a lock), 5 when it is read-only, else 0.
    platform::WinError Refusal(const wchar_t* call, const std::wstring& path, bool locking);
    // Any other change Windows refuses, journaled "<call> "<path>" -> <error>" as the path was
    // given; the error is returned.
    platform::WinError Failed(const wchar_t* call, const std::wstring& path,
                              platform::WinError error);

    const PathMap& m_paths;
    std::wstring m_currentDir;
    const std::vector<std::wstring>& m_lockedFiles;
    const std::vector<std::wstring> m_readOnlyFiles;
    Journal& m_journal;
};

}  // namespace norvane::sim
