// Processes in a preview: no program is started. A start is recorded and answered with a
// process that has already ended and started no other; the instance counter is the machine's.
// Windows' own pnputil, by its full path in System32, is known: "-d oem<N>.inf" takes the
// package's .inf and .pnf away, so a later check of the driver store no longer finds the package.
#pragma once

#include "platform/Processes.h"
#include "platform/preview/ChangeList.h"
#include "platform/preview/PreviewFileSystem.h"

namespace norvane::preview {

class PreviewProcesses : public platform::Processes {
public:
    PreviewProcesses(platform::Processes& machine, ChangeList& changes, PreviewFileSystem& files,
                     std::wstring windowsDir, std::wstring systemDir)
        : m_machine(machine),
          m_changes(changes),
          m_files(files),
          m_windowsDir(std::move(windowsDir)),
          m_systemDir(std::move(systemDir)) {}

    bool ClaimFirstInstance() override { return m_machine.ClaimFirstInstance(); }
    platform::WinError Start(const std::wstring& commandLine, std::uint32_t creationFlags,
                             std::unique_ptr<platform::Process>& process) override;
    platform::WinError FindChildren(
        std::uint32_t parentId, std::vector<std::unique_ptr<platform::Process>>& children) override;
    platform::WinError ShellExecuteElevated(const std::wstring& file,
                                            const std::wstring& parameters) override;

private:
    platform::Processes& m_machine;
    ChangeList& m_changes;
    PreviewFileSystem& m_files;
    const std::wstring m_windowsDir;
    const std::wstring m_systemDir;
};

}  // namespace norvane::preview
