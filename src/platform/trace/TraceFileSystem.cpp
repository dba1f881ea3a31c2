#include "platform/trace/TraceFileSystem.h"

#include "platform/ChangeText.h"

namespace norvane::trace {

platform::WinError TraceFileSystem::Told(const wchar_t* call,
                                         const std::vector<std::wstring>& arguments,
                                         platform::WinError outcome) {
    if (!m_trace.IsLog(arguments.front()))
        m_trace.Change(platform::ChangeText(call, arguments), outcome);
    return outcome;
}

platform::WinError TraceFileSystem::DeleteFile(const std::wstring& path) {
    return Told(L"DeleteFile", {path}, m_below.DeleteFile(path));
}

platform::WinError TraceFileSystem::SetAttributes(const std::wstring& path,
                                                  std::uint32_t attributes) {
    return Told(L"SetFileAttributes", {path}, m_below.SetAttributes(path, attributes));
}

platform::WinError TraceFileSystem::CreateDirectory(const std::wstring& path) {
    return Told(L"CreateDirectory", {path}, m_below.CreateDirectory(path));
}

platform::WinError TraceFileSystem::RemoveDirectory(const std::wstring& path) {
    return Told(L"RemoveDirectory", {path}, m_below.RemoveDirectory(path));
}

platform::WinError TraceFileSystem::WriteFile(const std::wstring& path,
                                              const std::vector<std::uint8_t>& bytes, bool append) {
    return Told(append ? L"AppendFile" : L"WriteFile", {path},
                m_below.WriteFile(path, bytes, append));
}

platform::WinError TraceFileSystem::MoveFileReplacing(const std::wstring& from,
                                                      const std::wstring& to) {
    return Told(L"MoveFile", {from, to}, m_below.MoveFileReplacing(from, to));
}

}  // namespace norvane::trace
