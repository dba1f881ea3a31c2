#include "RunProgram.h"

#include "app/Controller.h"
#include "app/ExitCode.h"

namespace norvane::tools {

ProgramRun RunProgram(sim::Machine& machine, const std::wstring& arguments) {
    machine.JournalLog().Record(L"Run " + sim::Quoted(machine.Config().program) + L" " +
                                sim::Quoted(arguments));
    CUninstallerController app(machine.Platform());
    app.InitInstance(arguments);
    app.ExitInstance();
    machine.Processes().InstanceEnded();
    return {app.log.Path(), app.QuitCode(), ProcessExitCode(app), app.m_bExitCodes != 0};
}

}  // namespace norvane::tools
