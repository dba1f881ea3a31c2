// The process exit code: with "/e" the outcome in the codes deployment systems act on, without it
// the code the program always returned.
#include "app/ExitCode.h"

#include <gtest/gtest.h>

#include "harness/DemoMachine.h"
#include "harness/TestMachine.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::TestMachine;

constexpr const char* kSpoolerStopped = R"({"faults": {"spoolerStopped": true}})";

TEST(ExitCodeTest, EachOutcomeHasItsCode) {
    constexpr const char* kHeldModelB =
        R"({"faults": {"drivers": {"Windows x64|Corvida Model B": {"heldUntilReboot": true}}}})";
    constexpr const char* kLockedFile =
        R"({"faults": {"lockedFiles": ["C:\\ProgramData\\Corvida\\Drv\\CVMA\\CVMA_UI.ini"]}})";
    struct Case {
        const char* what;
        const char* machine;    // machine.json values, or null
        const wchar_t* before;  // a run that comes first, or null
        std::wstring commandLine;
        std::deque<std::wstring> answers;
        int exitCode;
    } cases[] = {
        {"everything removed", nullptr, nullptr, L"/s /e /x Corvida Model A", {}, 0},
        {"a driver held until restart",
         kHeldModelB,
         nullptr,
         L"/s /e /x Corvida Model B",
         {},
         3010},
        {"the restart started",
         kHeldModelB,
         nullptr,
         L"/e /x Corvida Model B",
         {L"OK", L"Yes"},
         1641},
        {"the restart declined",
         kHeldModelB,
         nullptr,
         L"/e /x Corvida Model B",
         {L"OK", L"No"},
         3010},
        {"a locked file", kLockedFile, nullptr, L"/s /e /x Corvida Model A", {}, 1},
        // The calling installer reads the results from the log: without them nothing is known.
        {"the log read-only",
         R"({"faults": {"readOnlyFiles": ["C:\\Program Files\\Halvex\\Norvane\\Norvane.log"]}})",
         nullptr,
         L"/s /e /x Corvida Model A",
         {},
         1},
        {"a printer not found", nullptr, nullptr, L"/s /e /p Nowhere", {}, 1},
        {"nothing of the package installed",
         nullptr,
         L"/s /x Corvida Model A,Corvida Model B",
         L"/s /e /d Corvida Model A",
         {},
         2},
        {"a rejected switch", nullptr, nullptr, L"/s /e /q", {}, 5},
        {"a rejected switch, not quiet", nullptr, nullptr, L"/e /p Nowhere /q", {L"OK"}, 5},
        {"not an administrator",
         R"({"administrator": false})",
         nullptr,
         L"/s /e /x Corvida Model A",
         {},
         3},
        {"nothing designated", nullptr, nullptr, L"/s /e", {}, 1},
        // An unknown inventory is a failure, never "nothing installed".
        {"the spooler stopped", kSpoolerStopped, nullptr, L"/s /e /x Corvida Model A", {}, 1},
        {"the spooler stopped, printers", kSpoolerStopped, nullptr, L"/s /e /p Office", {}, 1},
        {"the spooler stopped, interactive", kSpoolerStopped, nullptr, L"/e", {L"OK"}, 1},
        {"a preview takes every change as made",
         kLockedFile,
         nullptr,
         L"/s /e /n /x Corvida Model A",
         {},
         0},
        // Without "/e" the code is what it always was: 1 once the program ended its run, 0 when
        // start-up ended it.
        {"held, without /e", kHeldModelB, nullptr, L"/s /x Corvida Model B", {}, 1},
        {"nothing installed, without /e",
         nullptr,
         L"/s /x Corvida Model A,Corvida Model B",
         L"/s /d Corvida Model A",
         {},
         1},
        {"rejected, without /e", nullptr, nullptr, L"/s /q", {}, 0},
        {"not an administrator, without /e",
         R"({"administrator": false})",
         nullptr,
         L"/s /x Corvida Model A",
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestMachine m;
        testing::CopyDemo(m);
        if (c.machine)
            testing::PatchJson(m, c.machine);
        if (c.before)
            m.Run(c.before);
        const auto run = m.Run(c.commandLine, c.answers);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.commandLine.find(L"/e") == std::wstring::npos) {
            EXPECT_EQ(run.exitCode, run.quitCode.value_or(0));
        }
    }
}

// The calling installer and the administrator learn why: the log and the message carry the
// spooler's error, and every designated driver has failed.
TEST(ExitCodeTest, AStoppedSpoolerIsReportedWithItsError) {
    const std::wstring log = L"C:\\Program Files\\Halvex\\Norvane\\Norvane.log";
    const std::wstring why = L"1722:The RPC server is unavailable.";
    TestMachine m;
    testing::CopyDemo(m);
    testing::PatchJson(m, kSpoolerStopped);
    m.Run(L"/s /x Corvida Model A");
    EXPECT_EQ(m.Ini(log, L"Spooler", L"Error"), why);
    EXPECT_EQ(m.Ini(log, L"UninstResult", L"Corvida Model A"), L"1");
    const auto shown = m.Run(L"", {L"OK"});
    ASSERT_EQ(shown.messageBoxes.size(), 1u);
    EXPECT_NE(shown.messageBoxes[0].find(why), std::wstring::npos) << shown.messageBoxes[0];
}

}  // namespace
}  // namespace norvane
