// Removing the package's utilities at the end of a silent run: which ones go, the uninstallers'
// command lines and results, the hand-over to a second process, and a restart left pending.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/Controller.h"
#include "extras/UtilityRemoval.h"
#include "harness/PrintSetup.h"
#include "harness/ProcessStarts.h"
#include "harness/TestMachine.h"
#include "inventory/PendingRenames.h"

namespace norvane {
namespace {

using namespace testing;

constexpr char kUninstall32[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kSetupLog[] = "C:\\\\Program Files\\\\Halvex\\\\Norvane\\\\ISS\\\\setup.log";

struct Utility {
    std::string id;
    std::string guid;
    std::string key;         // the capability that needs it
    std::string rebootFile;  // [RebootCheck]
    std::string program;     // its uninstaller's JSON description, without the braces
    bool responseFile = true;
    bool quoted = true;  // the uninstall string quotes the uninstaller's path
};

std::string Folder(const Utility& u) {
    return "C:\\Program Files (x86)\\Corvida\\" + u.id + "\\";
}

// The uninstaller reports `code` in the program's setup.log and removes its uninstall entry.
std::string Reports(const Utility& u, const std::string& code) {
    return R"("runMs": 1000, "writeIni": [{"file": ")" + std::string(kSetupLog) +
           R"(", "section": "ResponseResult", "key": "ResultCode", "value": ")" + code +
           R"("}], "deleteKeys": [")" +
           DoubledBackslashes(std::string(kUninstall32) + "\\{" + u.guid + "}") + "\"]";
}

const Utility kMonitor{"Monitor", "11111111-1111-1111-1111-111111111111", "UseMonitor", "", ""};
const Utility kCenter{"Center", "22222222-2222-2222-2222-222222222222", "UseCenter", "", ""};
const Utility kBook{"Book", "33333333-3333-3333-3333-333333333333", "UseBook", "CVBOOK.DLL", ""};

class UtilityRemovalTest : public ::testing::Test {
protected:
    // Printers "A" (Model A, whose capability file needs the monitor) and "B" (Model B, none);
    // the utilities with uninstall entries, response files and uninstallers, as given.
    void Install(std::vector<Utility> utilities, const std::string& extraConfig = "",
                 const std::string& extraPrograms = "") {
        PrintSetup setup(m_machine);
        setup.Driver(PlainDriver("Model A", "CVMA_UI.DLL", {"CVMA.DLL", "CVMA.CAP"}))
            .Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL"}))
            .Printer("A", "Model A")
            .Printer("B", "Model B");
        std::string config = "[DelUty]\r\nDelCode=1\r\n", sections, reboot = "[RebootCheck]\r\n";
        std::string programs;
        for (std::size_t i = 0; i < utilities.size(); ++i) {
            const Utility& u = utilities[i];
            const std::string n = std::to_string(i + 1);
            config += "U" + n + "=" + u.id + "\r\n";
            sections +=
                "[Default.U" + n + "]\r\nGUID=" + u.guid + "\r\nKEY=" + u.key + "\r\nVALUE=1\r\n";
            reboot += "R" + n + "=" + u.rebootFile + "\r\n";
            setup.Registry("[" + std::string(kUninstall32) + "\\{" + u.guid +
                           "}]\r\n\"DisplayName\"=\"Corvida " + u.id +
                           "\"\r\n\"UninstallString\"=\"" + std::string(u.quoted ? "\\\"" : "") +
                           DoubledBackslashes(Folder(u)) + "uninst.exe" + (u.quoted ? "\\\"" : "") +
                           " -removeonly\"\r\n\r\n");
            m_machine.WriteFile(text::FromUtf8(Folder(u) + "uninst.exe"), "MZ");
            m_machine.WriteFile(text::FromUtf8(Folder(u) + u.id + ".dll"), "x");
            if (u.responseFile) {
                m_machine.WriteFile(
                    std::wstring(kProgramFolder) + L"ISS\\" + text::FromUtf8(u.id) + L".iss",
                    "[InstallShield Silent]\r\n");
            }
            if (!u.program.empty()) {
                programs += std::string(programs.empty() ? "" : ", ") + "\"" +
                            DoubledBackslashes(Folder(u)) + "uninst.exe\": {" + u.program + "}";
            }
        }
        if (!extraPrograms.empty())
            programs += (programs.empty() ? "" : ", ") + extraPrograms;
        m_machine.SetJson("{" + m_processes + "\"programs\": {" + programs + "}}");
        setup.Install(
            ConfigIni({"Model A", "Model B"}, {}, config + sections + reboot + extraConfig));
        m_machine.WriteFile(L"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\CVMA.CAP",
                            "[Capability]\r\nCorvidaModel=CVMA\r\n[CVMA]\r\nUseMonitor=1\r\n");
    }

    static std::vector<std::wstring> Starts(const RunResult& run) { return ProcessStarts(run); }

    std::wstring Result(const std::string& id) {
        return m_machine.Ini(kLogFile, L"UtilityUninstResult", text::FromUtf8(id).c_str());
    }

    bool Listed(const Utility& u) {
        return m_machine.Load()->Registry().Find(
                   text::FromUtf8(std::string(kUninstall32) + "\\{" + u.guid + "}")) != nullptr;
    }

    TestMachine m_machine;
    std::string m_processes;  // machine.json "processes" and a comma, or nothing
};

Utility With(Utility u, const std::string& program) {
    u.program = program;
    return u;
}

TEST_F(UtilityRemovalTest, UtilitiesNoRemainingPrinterNeedsAreRemoved) {
    Install({With(kMonitor, Reports(kMonitor, "0")), With(kCenter, Reports(kCenter, "0")),
             With(kBook, Reports(kBook, "0"))});
    const auto run = m_machine.Run(L"/s /d Model B /u 1");
    // Printer A stays, and its driver's capability file needs the monitor.
    EXPECT_EQ(Result("Monitor"), L"<missing>");
    EXPECT_TRUE(Listed(kMonitor));
    EXPECT_EQ(Result("Center"), L"0");
    EXPECT_EQ(Result("Book"), L"0");
    EXPECT_FALSE(Listed(kCenter));
    EXPECT_FALSE(Listed(kBook));
    const auto starts = Starts(run);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NE(starts[0].find(L"\"C:\\Program Files (x86)\\Corvida\\Center\\uninst.exe\" "
                             L"-removeonly /s -f1\"c:\\program files\\halvex\\norvane\\ISS\\"
                             L"Center.iss\""),
              std::wstring::npos)
        << starts[0];
    EXPECT_NE(starts[0].find(L"flags=67109424"), std::wstring::npos) << starts[0];
    EXPECT_NE(starts[1].find(L"Book.iss"), std::wstring::npos);
    EXPECT_FALSE(m_machine.Exists(std::wstring(kProgramFolder) + L"ISS\\setup.log"));
    EXPECT_TRUE(run.messageBoxes.empty());
}

TEST_F(UtilityRemovalTest, FailuresAreReportedAndTheNextUtilityStillRuns) {
    // Monitor (no longer needed once A goes) has no response file and is never started; Center
    // reports -3; Book writes no log.
    Utility monitor = With(kMonitor, Reports(kMonitor, "0"));
    monitor.responseFile = false;
    Install({monitor, With(kCenter, Reports(kCenter, "-3")), With(kBook, R"("runMs": 500)")});
    const auto run = m_machine.Run(L"/s /d Model A,Model B /u 1");
    EXPECT_EQ(Result("Monitor"), L"1");
    EXPECT_EQ(Result("Center"), L"1");
    EXPECT_EQ(Result("Book"), L"1");
    const auto starts = Starts(run);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NE(starts[0].find(L"Center.iss"), std::wstring::npos);
    EXPECT_NE(starts[1].find(L"Book.iss"), std::wstring::npos);
}

TEST_F(UtilityRemovalTest, LogLeftFromRecordingTheResponsesIsNoResult) {
    Install({With(kBook, R"("runMs": 500)")});
    m_machine.WriteFile(std::wstring(kProgramFolder) + L"ISS\\setup.log",
                        "[ResponseResult]\r\nResultCode=0\r\n");
    m_machine.Run(L"/s /d Model B /u 1");
    EXPECT_EQ(Result("Book"), L"1");
}

TEST_F(UtilityRemovalTest, PendingRenameOfTheCheckFileAsksForARestart) {
    const std::string pending = Reports(kBook, "0") + R"(, "pendingRenames": [")" +
                                DoubledBackslashes(Folder(kBook)) + "cvbook.dll\"]";
    Install({With(kBook, pending)});
    auto quiet = m_machine.Run(L"/s /d Model B /u 1");
    EXPECT_EQ(Result("Book"), L"-1");
    EXPECT_TRUE(quiet.messageBoxes.empty());

    Install({With(kBook, pending)});
    auto loud = m_machine.Run(L"/d Model B /u 1", {L"OK", L"OK", L"No"});
    EXPECT_EQ(Result("Book"), L"-1");
    const bool asked = std::any_of(loud.messageBoxes.begin(), loud.messageBoxes.end(),
                                   [](const std::wstring& box) {
                                       return box.find(L"must be restarted") != std::wstring::npos;
                                   });
    EXPECT_TRUE(asked);
}

TEST_F(UtilityRemovalTest, ResultIsReadOnlyAfterTheProcessTheUninstallerHandsOverTo) {
    // Center's uninstaller is the first process started, 1000. Older processes may record that
    // ID as their parent's, an ended process whose ID Windows reused: they are not its children,
    // whether the program may open them or not, and waiting for one would never end.
    const std::string older = R"("processes": [
        {"executable": "C:\\Windows\\System32\\csrss.exe", "parentId": 1000, "protected": true},
        {"executable": "C:\\Windows\\explorer.exe", "parentId": 1000}], )";
    for (const std::string& processes : {std::string(), older}) {
        SCOPED_TRACE(processes);
        m_processes = processes;
        const std::string worker = "C:\\Windows\\Temp\\worker.exe";
        m_machine.WriteFile(text::FromUtf8(worker), "MZ");
        Install({With(kCenter, R"("runMs": 200, "child": ")" + DoubledBackslashes(worker) + "\""),
                 With(kBook, Reports(kBook, "0"))},
                "", "\"" + DoubledBackslashes(worker) + "\": {" + Reports(kCenter, "0") + "}");
        const auto run = m_machine.Run(L"/s /d Model B /u 1");
        EXPECT_EQ(Result("Center"), L"0");
        EXPECT_EQ(Result("Book"), L"0");
        // The worker ends (writing setup.log) before the log is read and deleted, and before the
        // next uninstaller starts.
        auto at = [&](const std::wstring& what) {
            return std::find_if(
                       run.journal.begin(), run.journal.end(),
                       [&](const std::wstring& e) { return e.find(what) != std::wstring::npos; }) -
                   run.journal.begin();
        };
        const auto workerEnds = at(L"ends \"C:\\Windows\\Temp\\worker.exe\"");
        EXPECT_LT(at(L"Temp\\worker.exe\"\"\" flags"), workerEnds);
        EXPECT_LT(workerEnds,
                  at(L"DeleteFile \"C:\\Program Files\\Halvex\\Norvane\\ISS\\setup.log\""));
        EXPECT_LT(workerEnds, at(L"Book.iss"));
        EXPECT_EQ(at(L"never ends"), std::ssize(run.journal));
        EXPECT_FALSE(m_machine.Exists(std::wstring(kProgramFolder) + L"ISS\\setup.log"));
    }
}

TEST_F(UtilityRemovalTest, UnquotedProgramPathIsQuotedBeforeStarting) {
    // Unquoted, Windows would start C:\Program.exe for "C:\Program Files (x86)\...".
    Utility center = With(kCenter, Reports(kCenter, "0"));
    center.quoted = false;
    m_machine.WriteFile(L"C:\\Program.exe", "MZ");
    Install({center}, "", R"("C:\\Program.exe": {"runMs": 10})");
    const auto starts = Starts(m_machine.Run(L"/s /d Model B /u 1"));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(
        starts[0].find(L"\"C:\\Program Files (x86)\\Corvida\\Center\\uninst.exe\" -removeonly"),
        std::wstring::npos)
        << starts[0];
    EXPECT_EQ(Result("Center"), L"0");

    const auto sim = m_machine.Load();
    EXPECT_EQ(QuoteProgramPath(sim->Files(), L"\"C:\\x y\\a.exe\" -x"), L"\"C:\\x y\\a.exe\" -x");
    EXPECT_EQ(QuoteProgramPath(sim->Files(), L"C:\\Nowhere\\a.exe -x"), L"C:\\Nowhere\\a.exe -x");
    // A folder named like a program is passed over for the file further on.
    m_machine.WriteFile(L"C:\\Tools.exe\\x", "");
    m_machine.WriteFile(L"C:\\Tools.exe\\b.EXE", "MZ");
    const auto again = m_machine.Load();
    EXPECT_EQ(QuoteProgramPath(again->Files(), L"C:\\Tools.exe\\b.EXE /q"),
              L"\"C:\\Tools.exe\\b.EXE\" /q");
}

TEST_F(UtilityRemovalTest, UtilitiesAreLeftAloneUnlessAskedForAndAllowed) {
    Install({With(kCenter, Reports(kCenter, "0"))});
    for (const wchar_t* command :
         {L"/s /d Model B", L"/s /d Model B /u 0", L"/s /d Model B /u 1 /s"}) {
        const auto run = m_machine.Run(command);
        EXPECT_TRUE(Starts(run).empty()) << command;
        EXPECT_TRUE(Listed(kCenter));
    }
    // The package does not allow its utilities to be removed.
    Install({With(kCenter, Reports(kCenter, "0"))});
    const std::wstring config = std::wstring(kProgramFolder) + L"config.ini";
    std::string text = m_machine.ReadFile(config);
    text.replace(text.find("DelCode=1"), 9, "DelCode=0");
    m_machine.WriteFile(config, text);
    EXPECT_TRUE(Starts(m_machine.Run(L"/s /d Model B /u 1")).empty());
    EXPECT_EQ(Result("Center"), L"<missing>");
}

TEST_F(UtilityRemovalTest, WithoutAUtilityListTheRestartIsStillRecorded) {
    Install({});
    const std::wstring config = std::wstring(kProgramFolder) + L"config.ini";
    std::string text = m_machine.ReadFile(config);
    text.erase(text.find("[DelUty]"), text.find("[RebootCheck]") - text.find("[DelUty]"));
    m_machine.WriteFile(config, text);
    m_machine.SetJson(
        R"({"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}})");
    const auto run = m_machine.Run(L"/s /d Model B /u 1");
    EXPECT_EQ(m_machine.Ini(kLogFile, L"UninstResult", L"Model B"), L"-1");
    EXPECT_EQ(run.quitCode, 1);
}

TEST_F(UtilityRemovalTest, PendingRenameCheckLooksAtEveryEntry) {
    Install({});
    const auto sim = m_machine.Load();
    platform::Platform& app = sim->Platform();
    const std::wstring sessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    (void)sim->Platform().registry.CreateKey(platform::RootKey::LocalMachine, sessionManager,
                                             nullptr);
    (void)sim->Platform().registry.SetValue(
        platform::RootKey::LocalMachine, sessionManager, L"PendingFileRenameOperations",
        platform::RegValue::MultiString(
            {L"\\??\\C:\\a\\first.dll", L"", L"\\??\\C:\\b\\Second.DLL", L"!\\??\\C:\\c\\x.dll"}));
    EXPECT_EQ(IsFilePending(app, L"first.dll"), 1);
    EXPECT_EQ(IsFilePending(app, L"second.dll"), 1);
    EXPECT_EQ(IsFilePending(app, L"x.dll"), 1);
    EXPECT_EQ(IsFilePending(app, L"b"), 0);
    EXPECT_EQ(IsFilePending(app, L""), 0);
}

}  // namespace
}  // namespace norvane
