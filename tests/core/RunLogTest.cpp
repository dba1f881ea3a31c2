// The run's entries in Norvane.log: a run that keeps no log writes none, rather than handing the
// profile writer an empty file name.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"

namespace norvane {
namespace {

using namespace testing;

TEST(RunLogTest, OnlyARunWithALogWritesEntries) {
    const struct {
        const wchar_t* commandLine;
        long entries;  // of the driver's section: the note that its wait was cut
    } cases[] = {{L"/x Model B", 0}, {L"/o /x Model B", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.commandLine));
        TestMachine m;
        // A deletion the spooler refuses once makes the run wait, and note the cut wait.
        m.SetJson(R"({"faults": {"drivers": {"Windows x64|Model B": {"deleteErrors": [3001]}}}})");
        PrintSetup setup(m);
        setup.Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"})).Printer("B", "Model B");
        setup.Install(ConfigIni({"Model B"}, {}, "[Timeout]\r\nSecond=100000\r\n"));
        const auto run = m.Run(c.commandLine);
        const auto count = [&](const std::wstring& part) {
            return std::count_if(run.journal.begin(), run.journal.end(), [&](const auto& entry) {
                return entry.starts_with(L"WritePrivateProfileString") &&
                       entry.find(part) != std::wstring::npos;
            });
        };
        EXPECT_EQ(count(L"[Model B] \"Timeout\""), c.entries);
        EXPECT_EQ(count(L"WritePrivateProfileString \"\""), 0);
    }
}

}  // namespace
}  // namespace norvane
