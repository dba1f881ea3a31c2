// The interactive run on a fresh copy of the demo machine, driven by answer scripts: what the
// dialogs show, what the removal leaves behind, and how the run ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "RunProgram.h"
#include "harness/TestMachine.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::RunResult;
using testing::TestMachine;

void CopyDemo(TestMachine& m) {
    std::filesystem::copy(NORVANE_SOURCE_DIR "/examples/machines/demo", m.Folder(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

std::vector<int> BarPositions(const RunResult& run) {
    std::vector<int> positions;
    for (const auto& entry : run.journal) {
        if (entry.starts_with(L"Dialog 133 bar "))
            positions.push_back(std::stoi(entry.substr(15)));
    }
    return positions;
}

bool Journaled(const RunResult& run, const std::wstring& entry) {
    return std::find(run.journal.begin(), run.journal.end(), entry) != run.journal.end();
}

std::string Registry(const TestMachine& m) {
    std::ifstream in(m.Folder() / "registry.reg", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Printer(const TestMachine& m, const std::string& name) {
    return Registry(m).find("Control\\Print\\Printers\\" + name + "]") != std::string::npos;
}

struct Case {
    const char* name;
    std::deque<std::wstring> script;
    std::vector<int> bar;
    std::vector<const char*> printersGone;
    std::vector<const char*> printersKept;
    std::vector<std::wstring> journaled;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class InteractiveRunTest : public ::testing::TestWithParam<Case> {};

TEST_P(InteractiveRunTest, RemovesWhatWasChosen) {
    const Case& c = GetParam();
    TestMachine m;
    CopyDemo(m);
    const RunResult run = m.Run(L"", c.script);
    EXPECT_EQ(BarPositions(run), c.bar);
    EXPECT_EQ(run.quitCode, 1);
    for (const char* printer : c.printersGone)
        EXPECT_FALSE(Printer(m, printer)) << printer;
    for (const char* printer : c.printersKept)
        EXPECT_TRUE(Printer(m, printer)) << printer;
    for (const auto& entry : c.journaled)
        EXPECT_TRUE(Journaled(run, entry)) << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, InteractiveRunTest,
    ::testing::Values(
        Case{"TwoPrintersAndTheirDriver",
             {L"tick Corvida Model A", L"TICK Corvida Model A (Reception)", L"remove", L"ok", L"ok",
              L"no", L"no"},
             {25, 50, 95, 100},
             {"Corvida Model A", "Corvida Model A (Reception)"},
             {"Corvida Model A Fax", "Corvida Model A PS", "Corvida Model B",
              "Microsoft Print to PDF"},
             {L"Dialog 133 text -1 \"The removal of the selected printers and printer drivers "
              L"has finished. Click OK to continue.\""}},
        Case{"CancelledConfirmationCountsAgainFromZero",
             {L"tick Corvida Model A", L"tick Corvida Model A (Reception)", L"remove", L"cancel",
              L"remove", L"ok", L"ok"},
             {25, 50, 95, 100},
             {"Corvida Model A", "Corvida Model A (Reception)"},
             {"Corvida Model B"},
             {L"Dialog 132 ended -> 2"}},
        Case{"PrintersOnly",
             {L"tick Corvida Model A", L"tick Corvida Model B", L"remove", L"printers-only", L"ok",
              L"ok"},
             {50, 100},
             {"Corvida Model A", "Corvida Model B"},
             {"Corvida Model A (Reception)"},
             {L"Dialog 133 text -1 \"The removal of the selected printers has finished. Click OK "
              L"to continue.\""}},
        Case{"EverythingAndTheUtilities",
             {L"select-all", L"remove", L"ok", L"ok", L"yes", L"ok", L"no"},
             {10, 20, 30, 40, 50, 59, 68, 77, 86, 95, 100, 0, 33, 66, 100},
             {"Corvida Model A", "Corvida Model B"},
             {"Microsoft Print to PDF"},
             {L"Dialog 134 yes",
              L"Dialog 133 text -1 \"The removal of the selected utilities has finished. Click OK "
              L"to finish.\""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InteractiveRun, DriversStayWithPrintersOnly) {
    TestMachine m;
    CopyDemo(m);
    m.Run(L"", {L"tick Corvida Model A", L"tick Corvida Model A (Reception)", L"remove",
                L"printers-only", L"ok", L"ok"});
    EXPECT_NE(Registry(m).find("Drivers\\Version-3\\Corvida Model A]"), std::string::npos);
}

TEST(InteractiveRun, CancelledSelectionStartsNoWorker) {
    TestMachine m;
    CopyDemo(m);
    for (const std::deque<std::wstring>& script :
         {std::deque<std::wstring>{L"cancel"}, std::deque<std::wstring>{}}) {
        const RunResult run = m.Run(L"", script);
        EXPECT_EQ(run.quitCode, 1);
        EXPECT_TRUE(Journaled(run, L"Dialog 130 ended -> 2"));
        EXPECT_FALSE(Journaled(run, L"Dialog 133 \"Norvane\" shown"));
        EXPECT_TRUE(Printer(m, "Corvida Model A"));
    }
}

TEST(InteractiveRun, ScriptLineThatDoesNotFitStopsTheRun) {
    TestMachine m;
    CopyDemo(m);
    for (const std::deque<std::wstring>& script :
         {std::deque<std::wstring>{L"remove"}, std::deque<std::wstring>{L"tick Nobody"},
          std::deque<std::wstring>{L"tick Corvida Model A", L"yes"}}) {
        auto machine = m.Load(script);
        tools::RunProgram(*machine, L"");
        ASSERT_TRUE(machine->Ui().Error());
        EXPECT_NE(machine->Ui().Error()->message.find(L"which offers:"), std::wstring::npos);
        ASSERT_FALSE(machine->Save());
        EXPECT_TRUE(Printer(m, "Corvida Model A"));
    }
}

// A mistyped answer to the restart question never restarts the machine: a line that does not fit
// a message box stops the script as one that does not fit a dialog does, and the message box is
// declined.
TEST(InteractiveRun, AfterALineThatDoesNotFitNoMessageBoxIsAgreedTo) {
    // Everything and the utilities: the restart question follows the progress dialog's end.
    const std::deque<std::wstring> removal = {L"select-all", L"remove", L"ok", L"ok", L"yes"};
    const struct {
        const char* why;
        std::deque<std::wstring> rest;
        std::size_t line;
    } table[] = {
        {"a misspelt answer to the restart question", {L"ok", L"yse"}, 7},
        {"an answer the restart question does not offer", {L"ok", L"ok", L"yes"}, 7},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.why);
        TestMachine m;
        CopyDemo(m);
        std::deque<std::wstring> script = removal;
        script.insert(script.end(), row.rest.begin(), row.rest.end());
        auto machine = m.Load(script);
        tools::RunProgram(*machine, L"");
        ASSERT_TRUE(machine->Ui().Error());
        EXPECT_EQ(machine->Ui().Error()->line, row.line);
        EXPECT_NE(machine->Ui().Error()->message.find(L"which offers:"), std::wstring::npos);
        bool asked = false;
        for (const auto& entry : machine->JournalLog().Entries()) {
            EXPECT_EQ(entry.find(L"ExitWindowsEx"), std::wstring::npos) << text::ToUtf8(entry);
            if (entry.find(L"MessageBox") != std::wstring::npos) {
                asked = true;
                EXPECT_EQ(entry.find(L"-> Yes"), std::wstring::npos) << text::ToUtf8(entry);
            }
        }
        EXPECT_TRUE(asked);
        ASSERT_FALSE(machine->Save());
    }
}

TEST(InteractiveRun, RestartedRunShowsNoDialog) {
    TestMachine m;
    CopyDemo(m);
    const RunResult run = m.Run(L"-Restarted", {L"remove"});
    EXPECT_EQ(std::count_if(run.journal.begin(), run.journal.end(),
                            [](const auto& entry) { return entry.starts_with(L"Dialog "); }),
              0);
    EXPECT_EQ(run.quitCode, 1);
}

}  // namespace
}  // namespace norvane
