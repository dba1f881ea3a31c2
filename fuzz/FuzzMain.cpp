// One libFuzzer harness: NORVANE_FUZZ_TARGET names the target it runs.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    norvane::fuzz::NORVANE_FUZZ_TARGET(data, size);
    return 0;
}
