// Files and folders under a trace: reads pass through untold, every change is told with its
// outcome but those of the log, which a preview does not list either.
#pragma once

#include "platform/FileSystem.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceFileSystem : public platform::FileSystem {
public:
    TraceFileSystem(platform::FileSystem& below, TraceFile& trace)
        : m_below(below), m_trace(trace) {}

    platform::WinError Find(const std::wstring& pattern,
                            std::vector<platform::FindEntry>& entries) override {
        return m_below.Find(pattern, entries);
    }
    platform::WinError DeleteFile(const std::wstring& path) override;
    platform::WinError GetAttributes(const std::wstring& path, std::uint32_t& attributes) override {
        return m_below.GetAttributes(path, attributes);
    }
    platform::WinError SetAttributes(const std::wstring& path, std::uint32_t attributes) override;
    platform::WinError GetFileSize(const std::wstring& path, std::uint64_t& size) override {
        return m_below.GetFileSize(path, size);
    }
    platform::WinError CreateDirectory(const std::wstring& path) override;
    platform::WinError RemoveDirectory(const std::wstring& path) override;
    bool PathFileExists(const std::wstring& path) override { return m_below.PathFileExists(path); }
    bool PathIsDirectory(const std::wstring& path) override {
        return m_below.PathIsDirectory(path);
    }
    platform::WinError GetCurrentDirectory(std::wstring& path) override {
        return m_below.GetCurrentDirectory(path);
    }
    // The process's own working folder, not the machine's: no change.
    platform::WinError SetCurrentDirectory(const std::wstring& path) override {
        return m_below.SetCurrentDirectory(path);
    }
    platform::WinError ReadFile(const std::wstring& path,
                                std::vector<std::uint8_t>& bytes) override {
        return m_below.ReadFile(path, bytes);
    }
    platform::WinError WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 bool append) override;
    platform::WinError MoveFileReplacing(const std::wstring& from, const std::wstring& to) override;

private:
    // The outcome, told unless the change is the log's.
    platform::WinError Told(const wchar_t* call, const std::vector<std::wstring>& arguments,
                            platform::WinError outcome);

    platform::FileSystem& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace
