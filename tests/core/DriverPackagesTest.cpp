// Which driver package a check matches: the last package in the INF folder's order that declares
// the driver, read again once it has been removed.
#include <gtest/gtest.h>

#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "removal/DriverPackages.h"
#include "support/Text.h"

namespace norvane {
namespace {

using namespace testing;

TEST(DriverPackagesTest, TheLastPackageDeclaringTheDriverUntilItIsRemoved) {
    TestMachine m;
    PrintSetup(m)
        .Package(1, {"Model A", "Model B"})
        .Package(2, {"Model B"})
        .Package(3, {"Model C"})
        .Package(4, {"Model B", "Model C"})
        .Install(ConfigIni({"Model A", "Model B", "Model C"}, {}, ""));
    auto machine = m.Load();
    platform::Platform& run = machine->Platform();
    DriverPackages packages(run);
    ASSERT_EQ(packages.Packages().size(), 4u);

    struct Step {
        const wchar_t* driver;
        const wchar_t* matched;  // null: no package declares it
        bool remove;
    };
    const Step steps[] = {
        {L"Model C", L"oem4.inf", false},  // the last of two
        {L"model b", L"oem4.inf", true},   // without regard to case; removed
        {L"Model B", L"oem2.inf", false},  // the removed package declares nothing now
        {L"Model C", L"oem3.inf", true},  {L"Model C", nullptr, false},
        {L"Model A", L"oem1.inf", false}, {L"Model Z", nullptr, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(text::ToUtf8(step.driver));
        EXPECT_EQ(packages.Check(run, step.driver), step.matched ? 1 : 0);
        if (step.matched) {
            EXPECT_EQ(packages.MatchedInf(), step.matched);
        }
        if (step.remove) {
            EXPECT_EQ(packages.Remove(run), 0);
        }
    }
}

}  // namespace
}  // namespace norvane
