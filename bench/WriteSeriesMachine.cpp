// Writes a series machine (SeriesMachine.h) of N package drivers and five printers per driver (or
// PRINTERS, for a print server's shape) to a folder, as a machine folder (registry.reg, drive_c,
// machine.json), and prints its silent command line, so that the same removal can be timed or
// studied elsewhere (under Wine by scripts/bench-removal --wine, cut off by scripts/cut-off-table).
//   write_series_machine N FOLDER [PRINTERS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "SeriesMachine.h"
#include "harness/TestMachine.h"
#include "support/Text.h"

namespace {

constexpr int kPrintersPerDriver = 5;

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using norvane::bench::kMaxDrivers;
    using norvane::bench::kSeriesSize;
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: write_series_machine N FOLDER [PRINTERS]\n");
        return 2;
    }
    const int wanted = std::clamp(std::atoi(argv[1]), 1, kMaxDrivers);
    const int drivers = (wanted + kSeriesSize - 1) / kSeriesSize * kSeriesSize;
    norvane::testing::TestMachine m;
    const int printers = argc == 4 ? std::clamp(std::atoi(argv[3]), 0, 1000) : kPrintersPerDriver;
    const auto machine = norvane::bench::Generate(m, drivers, printers);

    const fs::path folder = argv[2];
    std::error_code error;
    fs::copy(m.Folder(), folder, fs::copy_options::recursive, error);
    if (error) {
        std::fprintf(stderr, "write_series_machine: %s\n", error.message().c_str());
        return 1;
    }
    norvane::bench::DateBack(folder);  // copies are new files
    std::printf("%s\n", norvane::text::ToUtf8(machine.commandLine).c_str());
    return 0;
}
