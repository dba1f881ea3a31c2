// A generated machine of N package drivers in series of four, each with its 32-bit twin, its own
// files, hardware ID (hence spool subfolder) and data folder, a language monitor and a print
// processor shared within its series, one driver package per series, and a given number of printers
// per driver; every file dated a day back, as on a PC where the package was installed long before.
// Its command line is `/s /x` with the first driver of every series, which designates everything.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::bench {

inline constexpr int kSeriesSize = 4;
inline constexpr int kMaxDrivers = 36 * 36 * 36;  // as many as there are distinct family codes

// A generated machine: its command line and what the removal must leave behind it.
struct Generated {
    std::wstring commandLine;
    std::vector<std::wstring> keys;   // registry keys, full paths
    std::vector<std::wstring> files;  // Windows paths of files and folders
};

Generated Generate(testing::TestMachine& m, int drivers, int printersPerDriver);
// Gives every file on a machine folder's C: drive a time a day back.
void DateBack(const std::filesystem::path& machine);

}  // namespace norvane::bench
