// norvane: the program on Linux, over a simulated Windows machine kept in a folder.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "AnswerScript.h"
#include "DefaultMachine.h"
#include "RunProgram.h"
#include "RunnerExit.h"
#include "RunnerOptions.h"
#include "hosts/DialogHost.h"
#include "platform/sim/Machine.h"
#include "support/Text.h"

namespace fs = std::filesystem;
using namespace norvane;

namespace {

constexpr char kUsage[] =
    "usage: norvane [--machine DIR] [--ui tui|script:FILE|none] [--cut-off K]\n"
    "               [--cmdline TEXT | -- ARG...]\n"
    "  Runs Norvane.exe with the given command line on a simulated Windows machine.\n"
    "  --machine DIR   the machine folder (default: $NORVANE_MACHINE, else a copy of the demo\n"
    "                  machine made on first use)\n"
    "  --ui MODE       dialogs and message boxes: tui shows them in the terminal (the default\n"
    "                  on a terminal), script:FILE answers from FILE (one action a line: tick\n"
    "                  NAME, untick NAME, select-all, remove, printers-only, ok, cancel, yes,\n"
    "                  no, about, help, close), none takes each one's default\n"
    "  --cut-off K     kills the run after its K-th change to the machine (a registry or file\n"
    "                  change, or a spooler call or pnputil that changed something), the\n"
    "                  machine saved as that moment left it\n"
    "  Exit status: 0 the run ended (with /e: the program's exit code, its low 8 bits);\n"
    "  the runner's own, none of them a code of the program's: 64 arguments not understood,\n"
    "  66 the machine folder or the answer script unusable, 65 a script line did not fit the\n"
    "  dialog showing, 74 the machine could not be saved, 75 the run was cut off (--cut-off).\n";

bool UiFromOption(const runner::RunnerOptions& options, hosts::UiOptions& ui) {
    const std::string mode = options.ui.value_or(isatty(STDIN_FILENO) ? "tui" : "none");
    if (mode == "tui") {
        ui.mode = hosts::UiMode::Tui;
    } else if (mode == "none") {
        ui.mode = hosts::UiMode::None;
    } else {
        ui.mode = hosts::UiMode::Script;
        runner::AnswerScript script;
        std::string error;
        if (!runner::ReadAnswerScript(mode.substr(7), script, error)) {
            std::fprintf(stderr, "norvane: %s\n", error.c_str());
            return false;
        }
        ui.answers = std::move(script.answers);
        ui.answerLines = std::move(script.lines);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    runner::RunnerOptions options;
    std::string error;
    if (!runner::ParseRunnerOptions(std::vector<std::string>(argv + 1, argv + argc), options,
                                    error)) {
        std::fprintf(stderr, "norvane: %s\n%s", error.c_str(), kUsage);
        return runner::exitstatus::kUsage;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    fs::path folder;
    if (options.machine) {
        folder = *options.machine;
    } else if (!tools::DefaultMachine("norvane", folder)) {
        return runner::exitstatus::kNoInput;
    }
    hosts::UiOptions ui;
    if (!UiFromOption(options, ui))
        return runner::exitstatus::kNoInput;
    sim::MachineError machineError;
    auto machine = sim::Machine::Load(folder, hosts::MakeHost(std::move(ui)), machineError);
    if (!machine) {
        std::fprintf(stderr, "norvane: %s\n", machineError.ToString().c_str());
        return runner::exitstatus::kNoInput;
    }

    if (options.cutOff)
        machine->CutOffAfter(*options.cutOff);
    const tools::ProgramRun run = tools::RunProgram(*machine, options.commandLine);
    if (const auto failed = machine->Save()) {
        std::fprintf(stderr, "norvane: %s\n", failed->ToString().c_str());
        return runner::exitstatus::kNotSaved;
    }

    if (!run.logFile.empty()) {
        sim::ResolvedPath log;
        machine->Files().Resolve(run.logFile, log);
        std::fprintf(stderr, "norvane: log %s (%s)\n", text::ToUtf8(run.logFile).c_str(),
                     log.host.c_str());
    }
    if (const auto& scriptError = machine->Ui().Error()) {
        std::fprintf(stderr, "norvane: %s:%zu: %s\n", options.ui->substr(7).c_str(),
                     scriptError->line, text::ToUtf8(scriptError->message).c_str());
        return runner::exitstatus::kScriptLine;
    }
    return run.exitCodeAsked ? run.exitCode : 0;
}
