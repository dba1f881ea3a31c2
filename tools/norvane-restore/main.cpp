// norvane-restore: the printer restore on Linux, over a simulated Windows machine kept in a folder.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "DefaultMachine.h"
#include "RunnerOptions.h"
#include "platform/sim/Machine.h"
#include "restore/RestoreProgram.h"
#include "support/Text.h"

namespace fs = std::filesystem;
using namespace norvane;

namespace {

constexpr char kUsage[] =
    "usage: norvane-restore [--machine DIR] [LOGFOLDER] [/m OLD=NEW ...] [/n]\n"
    "  Runs the printer restore on a simulated Windows machine; LOGFOLDER is a Windows path on\n"
    "  it. --machine DIR as for norvane (default: $NORVANE_MACHINE, else the demo machine copy).\n"
    "  Exit status: the restore's (0, 1, 2, 3, 5), or 4 when the machine cannot be used.\n";

// Not one of the restore's own codes.
constexpr int kMachineUnusable = 4;

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<fs::path> folder;
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "--machine") {
        if (args.size() < 2) {
            std::fprintf(stderr, "norvane-restore: --machine needs a folder\n%s", kUsage);
            return kMachineUnusable;
        }
        folder = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (!folder && !tools::DefaultMachine("norvane-restore", folder.emplace()))
        return kMachineUnusable;
    sim::MachineError machineError;
    auto machine = sim::Machine::Load(*folder, {}, machineError);
    if (!machine) {
        std::fprintf(stderr, "norvane-restore: %s\n", machineError.ToString().c_str());
        return kMachineUnusable;
    }
    std::vector<std::wstring> restoreArgs;
    for (const auto& arg : args)
        restoreArgs.push_back(text::FromUtf8(arg));
    machine->JournalLog().Record(L"Run norvane-restore " +
                                 sim::Quoted(runner::JoinCommandLine(restoreArgs)));
    std::vector<std::wstring> lines, errors;
    const int code = restore::RunRestore(machine->Platform(), restoreArgs, lines, errors);
    if (const auto failed = machine->Save()) {
        std::fprintf(stderr, "norvane-restore: %s\n", failed->ToString().c_str());
        return kMachineUnusable;
    }
    for (const auto& line : lines)
        std::printf("%s\n", text::ToUtf8(line).c_str());
    for (const auto& line : errors)
        std::fprintf(stderr, "%s\n", text::ToUtf8(line).c_str());
    return code;
}
