// The fuzz targets: each takes one input's bytes and drives a reader of hostile files through
// it, aborting (FuzzExpect) when a result breaks what the reader promises. libFuzzer runs them
// (FuzzMain.cpp); the regression test replays the inputs they once failed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norvane::fuzz {

using Target = void (*)(const std::uint8_t* data, std::size_t size);

void ProfileEngineTarget(const std::uint8_t* data, std::size_t size);
void CommandLineTarget(const std::uint8_t* data, std::size_t size);
void RegFileTarget(const std::uint8_t* data, std::size_t size);
void MachineConfigTarget(const std::uint8_t* data, std::size_t size);
void RcStringTableTarget(const std::uint8_t* data, std::size_t size);
void IniAccTarget(const std::uint8_t* data, std::size_t size);
void OwnershipTarget(const std::uint8_t* data, std::size_t size);

struct NamedTarget {
    std::string_view name;  // the harness's name: fuzz_<name>, fuzz/regressions/<name>/
    Target run;
};

inline constexpr NamedTarget kTargets[] = {
    {"profile_engine", ProfileEngineTarget},
    {"command_line", CommandLineTarget},
    {"reg_file", RegFileTarget},
    {"machine_config", MachineConfigTarget},
    {"rc_string_table", RcStringTableTarget},
    {"ini_acc", IniAccTarget},
    {"ownership", OwnershipTarget},
};

// Reports a broken promise and aborts, so that libFuzzer keeps the input and a replay fails.
void FuzzExpect(bool holds, const char* what);

}  // namespace norvane::fuzz
