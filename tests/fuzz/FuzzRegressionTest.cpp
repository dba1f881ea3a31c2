// Every input a fuzz harness once failed on (fuzz/regressions/<target>/<file>), replayed through
// the same target: a fault that comes back aborts the test or fails a promise the target checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTargets.h"

namespace norvane::fuzz {
namespace {

namespace fs = std::filesystem;

struct KeptInput {
    Target target;
    fs::path file;
};

void PrintTo(const KeptInput& input, std::ostream* out) {
    *out << input.file.parent_path().filename() / input.file.filename();
}

std::vector<KeptInput> KeptInputs() {
    std::vector<KeptInput> inputs;
    for (const auto& [name, target] : kTargets) {
        const fs::path folder = fs::path(NORVANE_SOURCE_DIR) / "fuzz" / "regressions" / name;
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::directory_iterator(folder))
            inputs.push_back({target, entry.path()});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const KeptInput& a, const KeptInput& b) { return a.file < b.file; });
    return inputs;
}

class FuzzRegressionTest : public ::testing::TestWithParam<KeptInput> {};

TEST_P(FuzzRegressionTest, KeptInputPassesItsTarget) {
    std::ifstream in(GetParam().file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    GetParam().target(bytes.data(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzRegressionTest, ::testing::ValuesIn(KeptInputs()),
                         [](const ::testing::TestParamInfo<KeptInput>& info) {
                             std::string name = info.param.file.parent_path().filename().string() +
                                                "_" + info.param.file.filename().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzRegressionTest);

}  // namespace
}  // namespace norvane::fuzz
