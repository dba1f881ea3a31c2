// norvane-machine: looks after simulated Windows machines.
//   norvane-machine show DIR                 what the machine holds
//   norvane-machine reboot DIR               what Windows does when it starts again
//   norvane-machine new DIR [--from DIR2]    a new empty machine, or a copy of DIR2 (or "demo")
//   norvane-machine capture SRC DEST [...]   SRC's printing state captured into DEST, as
//                                            NorvaneCapture.exe captures a PC
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../common/RunProgram.h"
#include "MachineReport.h"
#include "capture/CaptureProgram.h"
#include "platform/sim/Machine.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/Reboot.h"
#include "support/Text.h"

namespace fs = std::filesystem;
using namespace norvane;

namespace {

constexpr char kUsage[] =
    "usage: norvane-machine show DIR\n"
    "       norvane-machine reboot DIR   (pending renames done, RunOnce commands run)\n"
    "       norvane-machine new DIR [--from TEMPLATE]   (TEMPLATE: a machine folder or \"demo\")\n"
    "       norvane-machine capture SRC DEST [/x SERIES | /d NAMES | /all]\n";

int Show(const fs::path& folder) {
    sim::MachineError error;
    auto machine = sim::Machine::Load(folder, {}, error);
    if (!machine) {
        std::fprintf(stderr, "norvane-machine: %s\n", error.ToString().c_str());
        return 2;
    }
    std::fputs(tools::DescribeMachine(*machine).c_str(), stdout);
    return 0;
}

// Restarts the machine's Windows and prints what the start did (its journal entries).
int Reboot(const fs::path& folder) {
    sim::MachineError error;
    auto machine = sim::Machine::Load(folder, {}, error);
    if (!machine) {
        std::fprintf(stderr, "norvane-machine: %s\n", error.ToString().c_str());
        return 2;
    }
    const auto failed =
        sim::Reboot(*machine, [](sim::Machine& restarted, const std::wstring& arguments) {
            tools::RunProgram(restarted, arguments);
        });
    for (const auto& entry : machine->JournalLog().Entries())
        std::printf("%s\n", text::ToUtf8(entry).c_str());
    if (failed) {
        std::fprintf(stderr, "norvane-machine: %s\n", failed->ToString().c_str());
        return 2;
    }
    return 0;
}

int New(const fs::path& folder, const std::string& from) {
    std::error_code ec;
    if (fs::exists(folder, ec)) {
        std::fprintf(stderr, "norvane-machine: %s already exists\n", folder.c_str());
        return 2;
    }
    if (!from.empty()) {
        const fs::path source = from == "demo" ? fs::path(NORVANE_DEMO_MACHINE) : fs::path(from);
        sim::MachineError error;
        if (!sim::Machine::Load(source, {}, error)) {
            std::fprintf(stderr, "norvane-machine: %s\n", error.ToString().c_str());
            return 2;
        }
        fs::copy(source, folder, fs::copy_options::recursive, ec);
        fs::remove(folder / "journal.log", ec);
    } else {
        fs::create_directories(folder / "drive_c" / "Windows" / "inf", ec);
        fs::create_directories(folder / "drive_c" / "ProgramData", ec);
        fs::create_directories(folder / "drive_c" / "Program Files" / "Halvex" / "Norvane", ec);
        std::ofstream(folder / "machine.json") << sim::WriteMachineConfig(sim::MachineConfig{});
        std::ofstream(folder / "registry.reg", std::ios::binary)
            << "Windows Registry Editor Version 5.00\r\n\r\n";
    }
    if (ec) {
        std::fprintf(stderr, "norvane-machine: cannot make %s: %s\n", folder.c_str(),
                     ec.message().c_str());
        return 2;
    }
    std::printf("%s\n", folder.c_str());
    return 0;
}

// Captures the simulated machine as NorvaneCapture.exe captures a PC. SRC is only read: the
// machine is loaded and never saved.
int Capture(const fs::path& source, const fs::path& destination,
            const std::vector<std::wstring>& arguments) {
    sim::MachineError error;
    auto machine = sim::Machine::Load(source, {}, error);
    if (!machine) {
        std::fprintf(stderr, "norvane-machine: %s\n", error.ToString().c_str());
        return 2;
    }
    // The capture must leave SRC as it was, and would see itself in its drive.
    std::error_code ec;
    const auto inside =
        fs::relative(fs::weakly_canonical(destination, ec), fs::weakly_canonical(source, ec), ec);
    if (!inside.empty() && *inside.begin() != "..") {
        std::fprintf(stderr, "norvane-machine: %s lies inside %s\n", destination.c_str(),
                     source.c_str());
        return 2;
    }
    std::vector<std::wstring> lines, errors;
    const int status =
        capture::RunCapture(machine->Platform(), machine->Platform().system.ModuleFileName(),
                            text::FromUtf8(NORVANE_VERSION), text::FromUtf8(destination.string()),
                            arguments, lines, errors);
    for (const auto& line : lines)
        std::printf("%s\n", text::ToUtf8(line).c_str());
    for (const auto& line : errors)
        std::fprintf(stderr, "norvane-machine: %s\n", text::ToUtf8(line).c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "show" && argc == 3)
        return Show(argv[2]);
    if (command == "reboot" && argc == 3)
        return Reboot(argv[2]);
    if (command == "new" && argc == 3)
        return New(argv[2], "");
    if (command == "new" && argc == 5 && std::string(argv[3]) == "--from")
        return New(argv[2], argv[4]);
    if (command == "capture" && argc >= 4) {
        std::vector<std::wstring> arguments;
        for (int i = 4; i < argc; ++i)
            arguments.push_back(text::FromUtf8(argv[i]));
        return Capture(argv[2], argv[3], arguments);
    }
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
