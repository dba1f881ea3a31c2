// Start-up: language library, single instance, log folder and header, administrator check and
// config.ini, driven through the whole program on a built machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/TestMachine.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

using testing::kLogFile;
using testing::kProgramFolder;
using testing::TestMachine;

constexpr wchar_t kMissingConfigCommand[] = L"/s /d Model A";

TEST(StartupTest, MissingConfigIsLoggedForEveryDesignatedDriver) {
    TestMachine m;
    m.SetJson(R"({"localTime": "2026-03-02T09:15:07", "fileVersion": "2.4.1.0"})");
    m.InstallProgram("");
    const auto run = m.Run(kMissingConfigCommand);
    EXPECT_TRUE(run.messageBoxes.empty());
    EXPECT_EQ(run.logFile, kLogFile);
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"2");
    EXPECT_EQ(m.Ini(kLogFile, L"Date", L"LogDate"), L"2026-03-02");
    EXPECT_EQ(m.Ini(kLogFile, L"Date", L"LogTime"), L"09:15:07");
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Name"), L"Halvex");
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Version"), L"2.4.1");
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Company"), L"Corvida");
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Lang"), L"0x0009");
}

TEST(StartupTest, LogStartsWithItsCommentLines) {
    TestMachine m;
    m.InstallProgram("");
    m.Run(kMissingConfigCommand);
    const std::string log = m.ReadFile(kLogFile);
    // The empty line the writer puts after them goes when the profile writer rewrites the file,
    // as Wine's does.
    EXPECT_EQ(
        log.rfind("; Norvane.log\r\n;This log file records the results of deleting drivers of "
                  "printer or scanner by Halvex.\r\n",
                  0),
        0u)
        << log;
    EXPECT_LT(log.find("Halvex.\r\n"), log.find("[Date]\r\nLogDate="));
}

TEST(StartupTest, VersionKeepsLowEightBitsOfTheMinorAndLanguageIsPrimary) {
    TestMachine m;
    m.SetJson(R"({"fileVersion": "1.300.3.4", "systemDefaultLangId": 1041})");
    m.InstallProgram("");
    m.Run(kMissingConfigCommand);
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Version"), L"1.44.3");
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Lang"), L"0x0011");

    m.SetJson(R"({"fileVersion": null})");
    m.Run(kMissingConfigCommand);
    EXPECT_EQ(m.Ini(kLogFile, L"Application", L"Version"), L"");
}

TEST(StartupTest, EachRunMakesTheLogAnew) {
    TestMachine m;
    m.InstallProgram("");
    m.Run(L"/s /d First");
    m.Run(L"/s /d Second");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"First"), L"<missing>");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Second"), L"2");
}

TEST(StartupTest, RefusesWhoIsNotAnAdministrator) {
    for (const char* token : {R"({"administrator": false})", R"({"administrator": "filtered"})"}) {
        TestMachine m;
        m.SetJson(token);
        m.InstallProgram("");
        m.Run(kMissingConfigCommand);
        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"Model A"), L"3") << token;
    }
}

TEST(StartupTest, RejectedSwitchWithQuietEndsWithCodeFive) {
    TestMachine m;
    m.InstallProgram("");
    const auto run = m.Run(L"/s /d A /q");
    EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"A"), L"5");
    EXPECT_TRUE(run.messageBoxes.empty());
}

TEST(StartupTest, WithoutQuietTheMissingConfigIsShown) {
    TestMachine m;
    m.InstallProgram("");
    const auto run = m.Run(L"/d Model A");
    ASSERT_EQ(run.messageBoxes.size(), 1u);
    EXPECT_NE(run.messageBoxes[0].find(L"caption=\"Norvane\""), std::wstring::npos)
        << run.messageBoxes[0];
    EXPECT_NE(run.messageBoxes[0].find(L"config.ini"), std::wstring::npos) << run.messageBoxes[0];
    EXPECT_FALSE(m.Exists(kLogFile));
}

// Each language folder holds a library whose text 146 names its folder.
void InstallLanguages(TestMachine& m, std::initializer_list<const wchar_t*> folders) {
    for (const wchar_t* folder : folders) {
        const std::string name = text::ToUtf8(folder);
        const std::string script = "STRINGTABLE\nBEGIN\n  146, \"" + name + " text\"\n  148, \"" +
                                   name + " caption\"\nEND\n";
        m.WriteFile(std::wstring(kProgramFolder) + (*folder ? std::wstring(folder) + L"\\" : L"") +
                        L"Norvane.dll",
                    script);
    }
}

std::wstring ShownLibrary(TestMachine& m, const std::wstring& commandLine) {
    const auto run = m.Run(commandLine);
    if (run.messageBoxes.empty())
        return L"(nothing shown)";
    const std::wstring& box = run.messageBoxes[0];
    const auto start = box.find(L"text=\"") + 6;
    return box.substr(start, box.find(L" text\"", start) - start);
}

TEST(StartupTest, LanguageLibraryFollowsLocaleAndSwitch) {
    TestMachine m;
    InstallLanguages(m, {L"ENU", L"JPN", L"CHT", L"KOR", L"CHS"});
    m.SetJson(R"({"threadLocale": 1041})");
    EXPECT_EQ(ShownLibrary(m, L""), L"JPN");
    m.SetJson(R"({"threadLocale": 1036})");
    EXPECT_EQ(ShownLibrary(m, L""), L"ENU");
    EXPECT_EQ(ShownLibrary(m, L"/l 0x0404"), L"CHT");
    EXPECT_EQ(ShownLibrary(m, L"/L 412 /d A"), L"KOR");
    EXPECT_EQ(ShownLibrary(m, L"/l zzzzzz"), L"ENU");
}

TEST(StartupTest, LanguageFallsBackToEnglishThenToTheProgramFolder) {
    TestMachine m;
    m.SetJson(R"({"threadLocale": 2052})");
    InstallLanguages(m, {L"ENU", L""});
    EXPECT_EQ(ShownLibrary(m, L""), L"ENU");
    m.WriteFile(std::wstring(kProgramFolder) + L"ENU\\Norvane.dll", "not a resource script");
    EXPECT_EQ(ShownLibrary(m, L""), L"");  // the library beside the executable names no folder
}

TEST(StartupTest, WithoutAnyLibraryTheProgramSaysSoInEnglish) {
    TestMachine m;
    const auto run = m.Run(L"");
    ASSERT_EQ(run.messageBoxes.size(), 1u);
    EXPECT_NE(run.messageBoxes[0].find(L"Cannot load the resource-link library."),
              std::wstring::npos);
}

TEST(StartupTest, SecondInstanceActivatesTheFirstAndWritesNothing) {
    TestMachine m;
    m.SetJson(R"({"otherInstanceRunning": true})");
    m.InstallProgram("");
    const auto run = m.Run(kMissingConfigCommand);
    EXPECT_FALSE(m.Exists(kLogFile));
    EXPECT_TRUE(run.messageBoxes.empty());
    ASSERT_FALSE(run.journal.empty());
    EXPECT_EQ(run.journal.back(), L"FindWindow class=\"#32770\" title=\"Norvane\" -> activated");
}

// The steps before the log's own step read the switches all the same: "/e" tells the failure,
// "/s" keeps every message box away, and the log the switches ask for records the codes. A
// second instance leaves the log alone, which may be the running one's.
TEST(StartupTest, EarlyFailuresFollowTheSwitches) {
    constexpr const char* kNoControls = R"({"commonControlsFail": true})";
    constexpr const char* kOtherInstance = R"({"otherInstanceRunning": true})";
    constexpr const char* kNoLibrary = nullptr;  // a machine without the program's libraries
    constexpr const wchar_t* kNoLog = L"<missing>";
    const struct {
        const char* machine;
        const wchar_t* switches;  // before "/d A"
        int exitCode;
        bool messageBox;
        const wchar_t* logged;  // [UninstResult] A
    } cases[] = {
        {kNoControls, L"", 0, false, kNoLog},
        {kNoControls, L"/e", 1, false, kNoLog},
        {kNoControls, L"/s", 0, false, L"1"},
        {kNoControls, L"/s /e", 1, false, L"1"},
        {kNoLibrary, L"", 0, true, kNoLog},
        {kNoLibrary, L"/e", 1, true, kNoLog},
        {kNoLibrary, L"/o C:\\Logs", 0, true, L"6"},
        {kNoLibrary, L"/s", 0, false, L"6"},
        {kNoLibrary, L"/s /e /o C:\\Logs", 1, false, L"6"},
        {kOtherInstance, L"", 0, false, kNoLog},
        {kOtherInstance, L"/e", 1618, false, kNoLog},
        {kOtherInstance, L"/s", 0, false, kNoLog},
        {kOtherInstance, L"/s /e /x Model A /q", 1618, false, kNoLog},
    };
    for (const auto& c : cases) {
        const std::wstring commandLine = std::wstring(c.switches) + L" /d A";
        SCOPED_TRACE(
            text::ToUtf8((c.machine ? text::FromUtf8(c.machine) : L"{}") + L" " + commandLine));
        TestMachine m;
        if (c.machine) {
            m.SetJson(c.machine);
            m.InstallProgram("");
        }
        const auto run = m.Run(commandLine);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(!run.messageBoxes.empty(), c.messageBox);
        const std::wstring log = std::wstring(c.switches).find(L"/o") == std::wstring::npos
                                     ? kLogFile
                                     : L"C:\\Logs\\Norvane.log";
        EXPECT_EQ(m.Ini(log, L"UninstResult", L"A"), c.logged);
    }
}

TEST(StartupTest, OutputFolderIsCreatedWithAllItsParents) {
    TestMachine m;
    m.InstallProgram("");
    const auto run = m.Run(L"/s /o C:\\Logs\\Norvane\\Today /d A");
    EXPECT_EQ(run.logFile, L"C:\\Logs\\Norvane\\Today\\Norvane.log");
    EXPECT_EQ(m.Ini(run.logFile, L"UninstResult", L"A"), L"2");
    EXPECT_TRUE(m.Exists(L"C:\\Logs\\Norvane\\Today\\testnorv"));
}

TEST(StartupTest, LogPathHasOneSeparatorWhateverTheFolderEndsWith) {
    TestMachine m;
    m.InstallProgram("");
    EXPECT_EQ(m.Run(L"/s /o C:\\Logs\\ /d A").logFile, L"C:\\Logs\\Norvane.log");
}

// A folder whose log path would not fit is refused before any of it is made; one that fits but
// leaves no room for "testnorv" below it fails where CreateDirectoryW refuses the subfolder.
TEST(StartupTest, FolderTooLongForThePathBufferFallsBackToTheProgramFolder) {
    std::wstring deepest = L"C:";
    for (int level = 0; level < 500; ++level)
        deepest += L"\\d";
    const struct {
        std::wstring folder;
        bool madeAnything;
    } cases[] = {
        {L"C:\\" + std::wstring(130, L'a') + L"\\" + std::wstring(130, L'b'), false},
        {deepest, false},
        {L"C:\\" + std::wstring(240, L'c'), true},
    };
    for (const auto& c : cases) {
        TestMachine m;
        m.InstallProgram("");
        const auto run = m.Run(L"/s /d A /o " + c.folder);
        EXPECT_EQ(run.logFile, kLogFile);
        EXPECT_EQ(m.Ini(kLogFile, L"UninstResult", L"A"), L"2");
        const bool made = std::any_of(run.journal.begin(), run.journal.end(), [](const auto& e) {
            return e.starts_with(L"CreateDirectory ") && e.find(L" -> ") == std::wstring::npos;
        });
        EXPECT_EQ(made, c.madeAnything) << c.folder.size();
        EXPECT_FALSE(m.Exists(path::Join(c.folder, L"testnorv")));
    }
}

TEST(StartupTest, UnusableOutputFolderFallsBackToTheProgramFolder) {
    TestMachine m;
    m.InstallProgram("");
    m.WriteFile(L"C:\\Logs", "a file where the folder would be");
    for (const wchar_t* folder : {L"C:\\Logs\\Norvane", L"D:\\Logs", L"\\\\server\\share\\logs"}) {
        const auto run = m.Run(std::wstring(L"/s /d A /o ") + folder);
        EXPECT_EQ(run.logFile, kLogFile) << folder;
    }
}

TEST(StartupTest, OnlyAnEmptyCommandLineShowsDialogs) {
    TestMachine m;
    m.SetRegistry(
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows "
        "x64\\Drivers\\Version-3\\Model A]\r\n\"Provider\"=\"Corvida\"\r\n");
    m.InstallProgram(
        "[Common]\r\nOEMPROVIDER=Corvida\r\n[Driver]\r\nD1=Model A\r\n[DelUty]\r\nU1=Tool\r\n"
        "[Scanner]\r\nSD1=Scanner A\r\n");
    const auto dialogs = [&](const wchar_t* commandLine) {
        const auto journal = m.Run(commandLine).journal;
        return std::count_if(journal.begin(), journal.end(), [](const std::wstring& entry) {
            return entry.starts_with(L"Dialog ");
        });
    };
    EXPECT_GT(dialogs(L""), 0);
    EXPECT_EQ(dialogs(L"/s /d A /u 1"), 0);
    EXPECT_EQ(dialogs(L"/s /t \"Scanner A\""), 0);
    EXPECT_EQ(dialogs(L"-Restarted"), 0);
}

}  // namespace
}  // namespace norvane
