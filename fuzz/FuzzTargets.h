// The fuzz targets: each takes one input's bytes and drives a reader of hostile files through
// it, aborting (FuzzExpect) when a result breaks what the reader promises. libFuzzer runs them
// (FuzzMain.cpp); the regression test replays the inputs they once failed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTargetList.h"

namespace norvane::fuzz {

using Target = void (*)(const std::uint8_t* data, std::size_t size);

// NORVANE_FUZZ_TARGETS(X) names each target as X(harness, function), from the list in
// fuzz/CMakeLists.txt.
#define NORVANE_DECLARE_TARGET(harness, function) \
    void function##Target(const std::uint8_t* data, std::size_t size);
NORVANE_FUZZ_TARGETS(NORVANE_DECLARE_TARGET)
#undef NORVANE_DECLARE_TARGET

struct NamedTarget {
    std::string_view name;  // the harness's name: fuzz_<name>, fuzz/regressions/<name>/
    Target run;
};

inline constexpr NamedTarget kTargets[] = {
#define NORVANE_NAMED_TARGET(harness, function) {#harness, function##Target},
    NORVANE_FUZZ_TARGETS(NORVANE_NAMED_TARGET)
#undef NORVANE_NAMED_TARGET
};

// Reports a broken promise and aborts, so that libFuzzer keeps the input and a replay fails.
void FuzzExpect(bool holds, const char* what);

}  // namespace norvane::fuzz
