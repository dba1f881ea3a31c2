// The input is Norvane.exe's command line (UTF-8), run whole by the program on a fresh copy of
// the demo machine: start-up, the switches, the log (/o), the silent or interactive run.
#include <cstdio>
#include <string>

#include "FuzzTargets.h"
#include "RunProgram.h"
#include "hosts/DialogHost.h"
#include "platform/sim/Machine.h"
#include "support/Text.h"
#include "targets/Scratch.h"

namespace norvane::fuzz {
namespace {

namespace fs = std::filesystem;

// The demo machine, copied once (its language library's link followed), to restore each run's
// machine from: a run deletes files and makes log folders on the drive.
const fs::path& PristineMachine() {
    static const fs::path pristine = [] {
        const fs::path path = ScratchPath("demo");
        fs::copy(NORVANE_SOURCE_DIR "/examples/machines/demo", path, fs::copy_options::recursive);
        return path;
    }();
    return pristine;
}

}  // namespace

void CommandLineTarget(const std::uint8_t* data, std::size_t size) {
    const std::wstring arguments =
        text::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const fs::path folder = ScratchPath("machine");
    fs::remove_all(folder);
    fs::copy(PristineMachine(), folder, fs::copy_options::recursive);

    static std::FILE* sink = std::fopen("/dev/null", "w");
    hosts::UiOptions ui;
    ui.out = sink;
    sim::MachineError error;
    auto machine = sim::Machine::Load(folder, hosts::MakeHost(std::move(ui)), error);
    FuzzExpect(machine != nullptr, "the demo machine does not load");
    tools::RunProgram(*machine, arguments);
}

}  // namespace norvane::fuzz
