// The Processes service: the instance counter shared by every copy of the executable, process
// start and wait, the child search and the elevated shell start.
#pragma once

#include "platform/Processes.h"

namespace norvane::win32 {

class DialogThread;

class Win32Processes final : public platform::Processes {
public:
    // A wait pumps messages for `dialogs`' open dialogs.
    explicit Win32Processes(const DialogThread& dialogs) : m_dialogs(dialogs) {}
    bool ClaimFirstInstance() override;
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChildren(
        std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;

private:
    const DialogThread& m_dialogs;
};

}  // namespace norvane::win32
