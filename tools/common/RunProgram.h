// Norvane.exe started on a simulated machine, as the norvane runner starts it and as a restart's
// RunOnce command starts it: the journal records the start, then the program runs its start-up
// chain and its run, and its process ends.
#pragma once

#include <optional>
#include <string>

#include "platform/sim/Machine.h"

namespace norvane::tools {

struct ProgramRun {
    std::wstring logFile;         // the program's m_szLogFile
    std::optional<int> quitCode;  // the code of the quit message it posted
    int exitCode = 0;             // the process's exit code, as Norvane.exe returns it
    bool exitCodeAsked = false;   // "/e" was given: the runner exits with exitCode
};

// `arguments` is the text after the program's name.
ProgramRun RunProgram(sim::Machine& machine, const std::wstring& arguments);

}  // namespace norvane::tools
