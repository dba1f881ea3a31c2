#include "extras/ExternalProgram.h"

#include "log/RunContext.h"

namespace norvane {

bool RunAndWait(platform::Platform& platform, const std::wstring& commandLine, Handover handover) {
    std::unique_ptr<platform::Process> process;
    if (platform.processes.Start(commandLine, kInstallerCreationFlags, process) !=
        platform::win::kSuccess)
        return false;
    (void)process->WaitPumpingMessages();
    if (handover == Handover::Follow) {
        // An installer often starts a copy of itself elsewhere and exits at once; the work, and
        // the setup.log, are that process's.
        // Every one of them: the one that does the work need not be the first the snapshot lists.
        std::vector<std::unique_ptr<platform::Process>> children;
        (void)platform.processes.FindChildren(process->Id(), children);
        for (const auto& child : children)
            (void)child->WaitPumpingMessages();
    }
    return true;
}

bool ClearResultFile(platform::Platform& platform, const std::wstring& setupLog) {
    const platform::WinError error = platform.files.DeleteFile(setupLog);
    return error == platform::win::kSuccess || error == platform::win::kFileNotFound ||
           error == platform::win::kPathNotFound;
}

std::int32_t ReadResultCode(RunContext& context, const std::wstring& setupLog) {
    if (context.Previewing())
        return 0;
    return static_cast<std::int32_t>(
        context.P().profile.GetInt(L"ResponseResult", L"ResultCode", 99, setupLog));
}

}  // namespace norvane
