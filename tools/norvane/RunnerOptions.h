// The runner's own command line:
//   norvane [--machine DIR] [--ui tui|script:FILE|none] [--cut-off K]
//           [--cmdline TEXT | -- ARG...]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvane::runner {

struct RunnerOptions {
    std::optional<std::string> machine;
    std::optional<std::string> ui;        // as given: "tui", "none" or "script:FILE"
    std::wstring commandLine;             // the program's command line, after its name
    std::optional<std::uint64_t> cutOff;  // kill the run after this change (1 and up)
    bool help = false;
};

// False with `error` set when the arguments are not understood.
bool ParseRunnerOptions(const std::vector<std::string>& args, RunnerOptions& options,
                        std::string& error);

// Joins arguments as Windows programs expect to split them again: single spaces between, and an
// argument holding a space or a quote, or an empty one, in quotes (a quote inside as \").
std::wstring JoinCommandLine(const std::vector<std::wstring>& args);

}  // namespace norvane::runner
