#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

namespace norvane::fuzz {

void FuzzExpect(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

}  // namespace norvane::fuzz
