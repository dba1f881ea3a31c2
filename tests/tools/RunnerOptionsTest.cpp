#include "RunnerOptions.h"

#include <gtest/gtest.h>

namespace norvane::runner {
namespace {

TEST(RunnerOptionsTest, JoinsArgumentsQuotingWhatNeedsIt) {
    EXPECT_EQ(JoinCommandLine({L"/s", L"/d", L"Model A", L"", L"say \"x\""}),
              L"/s /d \"Model A\" \"\" \"say \\\"x\\\"\"");
}

TEST(RunnerOptionsTest, ReadsTheRunnersOwnSwitches) {
    RunnerOptions options;
    std::string error;
    ASSERT_TRUE(ParseRunnerOptions(
        {"--machine", "m", "--ui", "script:a.txt", "--", "/s", "/d", "A B"}, options, error));
    EXPECT_EQ(options.machine, "m");
    EXPECT_EQ(options.ui, "script:a.txt");
    EXPECT_EQ(options.commandLine, L"/s /d \"A B\"");

    RunnerOptions verbatim;
    ASSERT_TRUE(ParseRunnerOptions({"--cmdline", "/s /d Model A"}, verbatim, error));
    EXPECT_EQ(verbatim.commandLine, L"/s /d Model A");

    EXPECT_FALSE(ParseRunnerOptions({"--ui", "gui"}, options, error));
    EXPECT_FALSE(ParseRunnerOptions({"--machine"}, options, error));
    EXPECT_FALSE(ParseRunnerOptions({"--cmdline", "a", "--", "b"}, options, error));
    EXPECT_FALSE(ParseRunnerOptions({"--frobnicate"}, options, error));

    RunnerOptions cut;
    ASSERT_TRUE(ParseRunnerOptions({"--cut-off", "17", "--", "/s"}, cut, error));
    EXPECT_EQ(cut.cutOff, 17u);
    EXPECT_EQ(options.cutOff, std::nullopt);
    for (const char* bad : {"0", "", "-1", "+3", "1e3", "x", "12345678901234567890"})
        EXPECT_FALSE(ParseRunnerOptions({"--cut-off", bad}, cut, error)) << bad;
}

}  // namespace
}  // namespace norvane::runner
