// How many of its generated cases a long table test runs: every one normally, every n-th
// when NORVANE_TEST_STRIDE=n (the sanitizer build, whose removals run several times slower, uses
// it to keep its run short while still touching every kind of case).
#pragma once

#include <cstdlib>

namespace norvane::testing {

inline int CaseStride() {
    const char* text = std::getenv("NORVANE_TEST_STRIDE");
    const int stride = text ? std::atoi(text) : 1;
    return stride > 0 ? stride : 1;
}

}  // namespace norvane::testing
