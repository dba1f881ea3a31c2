#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "harness/TestMachine.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::TestMachine;

// Parses on a machine without config.ini: series are unknown, every name stands for itself.
class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() : m_machine(m_test.Load()), app(m_machine->Platform()) {}

    TestMachine m_test;
    std::unique_ptr<sim::Machine> m_machine;

public:
    CUninstallerController app;
};

TEST(ProgramNameTest, TextAfterTheProgramNameIsWhatWinMainGets) {
    EXPECT_EQ(TextAfterProgramName(L"\"C:\\Program Files\\N\\Norvane.exe\"  /s /d A"), L"/s /d A");
    EXPECT_EQ(TextAfterProgramName(L"Norvane.exe\t/p B "), L"/p B ");
    EXPECT_EQ(TextAfterProgramName(L"Norvane.exe"), L"");
    EXPECT_EQ(TextAfterProgramName(L"\"unterminated /s"), L"");
}

TEST_F(CommandLineTest, SwitchWordsIgnoreCaseAndListsAreTrimmed) {
    EXPECT_EQ(ParseCommandLine(app, L"/P printer A , printer B,,"), 1);
    EXPECT_EQ(app.m_arrDesignated, (CmyStringArray{L"printer A", L"printer B"}));
    EXPECT_EQ(app.m_bPrintersGiven, 1);
    EXPECT_EQ(app.m_bDriversGiven, 0);
}

TEST_F(CommandLineTest, PrintersAndDriversCannotBothBeDesignated) {
    EXPECT_EQ(ParseCommandLine(app, L"/p A,B /d C"), 0);
    EXPECT_EQ(app.m_arrDesignated, (CmyStringArray{L"A", L"B"}));
    EXPECT_EQ(app.m_arrRejected, (CmyStringArray{L"/d C"}));
    EXPECT_EQ(app.m_bDriversGiven, 0);
}

TEST_F(CommandLineTest, EmptyListIsRejected) {
    EXPECT_EQ(ParseCommandLine(app, L"/d , ,"), 0);
    EXPECT_EQ(app.m_bDriversGiven, 0);
    EXPECT_EQ(ParseCommandLine(app, L"/d"), 0);
    EXPECT_EQ(app.m_arrRejected, (CmyStringArray{L"/d , ,", L"/d"}));
}

TEST_F(CommandLineTest, QuietTakesNoArgumentAndComesOnce) {
    EXPECT_EQ(ProcessSwitch(app, L"/s now"), 0);
    EXPECT_EQ(app.m_bQuiet, 0);
    EXPECT_EQ(ProcessSwitch(app, L"/s"), 1);
    EXPECT_EQ(app.m_bQuiet, 1);
    EXPECT_EQ(app.m_bWriteLog, 1);
    EXPECT_EQ(ProcessSwitch(app, L"/s"), 0);
}

TEST_F(CommandLineTest, SecondOutputFolderNeedsQuiet) {
    EXPECT_EQ(ParseCommandLine(app, L"/o C:\\Logs /o D:\\Logs"), 0);
    EXPECT_EQ(app.m_strLogFolder, L"C:\\Logs");
    EXPECT_EQ(app.m_arrRejected, (CmyStringArray{L"/o D:\\Logs"}));

    CUninstallerController quiet(m_machine->Platform());
    EXPECT_EQ(ParseCommandLine(quiet, L"/s /o C:\\Logs /o D:\\Logs"), 1);
    EXPECT_EQ(quiet.m_strLogFolder, L"D:\\Logs");
}

TEST_F(CommandLineTest, UtilitySwitchCountsOnlyAfterADesignation) {
    EXPECT_EQ(ParseCommandLine(app, L"/u 1 /p A"), 1);
    EXPECT_EQ(app.m_bRemoveUtilities, 0);
    EXPECT_EQ(app.m_bUtilityOptionGiven, 0);

    CUninstallerController last(m_machine->Platform());
    EXPECT_EQ(ParseCommandLine(last, L"/p A /u 1"), 1);
    EXPECT_EQ(last.m_bRemoveUtilities, 1);
    EXPECT_EQ(last.m_bWriteLog, 1);
    EXPECT_EQ(last.m_bUtilityOptionGiven, 1);

    CUninstallerController notLast(m_machine->Platform());
    EXPECT_EQ(ParseCommandLine(notLast, L"/p A /u 1 /s"), 1);
    EXPECT_EQ(notLast.m_bRemoveUtilities, 1);
    EXPECT_EQ(notLast.m_bUtilityOptionGiven, 0);
    EXPECT_EQ(notLast.m_bUtilitySwitchGiven, 1);
}

TEST_F(CommandLineTest, UtilityValueKeepsLeadingBlanks) {
    EXPECT_EQ(ProcessSwitch(app, L"/p A"), 1);
    EXPECT_EQ(ProcessSwitch(app, L"/u  1"), 1);
    EXPECT_EQ(app.m_bRemoveUtilities, 0);
    EXPECT_EQ(ProcessSwitch(app, L"/u yes"), 1);
    EXPECT_EQ(app.m_bRemoveUtilities, 0);
    EXPECT_EQ(ProcessSwitch(app, L"/u 1  "), 1);
    EXPECT_EQ(app.m_bRemoveUtilities, 1);
    EXPECT_EQ(ProcessSwitch(app, L"/u 0"), 1);
    EXPECT_EQ(app.m_bRemoveUtilities, 0);
}

TEST_F(CommandLineTest, QuotedArgumentGoesOnlyToScanners) {
    EXPECT_EQ(ParseCommandLine(app, L"/s /t \"Scanner A/B, Scanner C\""), 1);
    EXPECT_EQ(app.m_arrScannerName, (CmyStringArray{L"Scanner A/B", L"Scanner C"}));

    CUninstallerController output(m_machine->Platform());
    EXPECT_EQ(ParseCommandLine(output, L"/o \"C:\\My Logs\""), 1);
    EXPECT_EQ(output.m_bWriteLog, 1);
    EXPECT_EQ(output.m_strLogFolder, L"");
}

TEST_F(CommandLineTest, UnknownSwitchIsRejectedAsWritten) {
    EXPECT_EQ(ParseCommandLine(app, L"/s /d A /q"), 0);
    EXPECT_EQ(app.m_arrRejected, (CmyStringArray{L"/q"}));
    EXPECT_EQ(app.m_arrDesignated, (CmyStringArray{L"A"}));
}

TEST_F(CommandLineTest, SeriesSwitchKeepsUnknownNames) {
    EXPECT_EQ(ParseCommandLine(app, L"/x Model A, Model B"), 1);
    EXPECT_EQ(app.m_arrDesignated, (CmyStringArray{L"Model A", L"Model B"}));
    EXPECT_EQ(app.m_bDriversGiven, 1);
}

// "/n" stands anywhere on a line that holds "/s", and nowhere else; "/e" anywhere. Both once and
// without an argument; rejected, they are kept as written, like any other switch.
TEST_F(CommandLineTest, PreviewNeedsQuietAnywhereAndExitCodesStandAlone) {
    struct Case {
        const wchar_t* line;
        int accepted, preview, exitCodes;
        CmyStringArray rejected;
    } cases[] = {
        {L"/s /n /x A", 1, 1, 0, {}},
        {L"/N /x A /S", 1, 1, 0, {}},
        {L"/p A /n /u 1 /s", 1, 1, 0, {}},
        {L"/n /x A", 0, 0, 0, {L"/n"}},
        {L"/q /n /p A", 0, 0, 0, {L"/q", L"/n"}},
        {L"/s now /n /x A", 0, 0, 0, {L"/s now", L"/n"}},
        {L"/s /n all /x A", 0, 0, 0, {L"/n all"}},
        {L"/s /n /n /x A", 0, 1, 0, {L"/n"}},
        {L"/e /x A", 1, 0, 1, {}},
        {L"/s /x A /E", 1, 0, 1, {}},
        {L"/e 1 /x A", 0, 0, 0, {L"/e 1"}},
        {L"/s /e /n /e /x A", 0, 1, 1, {L"/e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::ToUtf8(c.line));
        CUninstallerController fresh(m_machine->Platform());
        EXPECT_EQ(ParseCommandLine(fresh, c.line), c.accepted);
        EXPECT_EQ(fresh.m_bPreview, c.preview);
        EXPECT_EQ(fresh.m_bExitCodes, c.exitCodes);
        EXPECT_EQ(fresh.m_arrRejected, c.rejected);
    }
}

// "/v" alone (or with "/l") traces an interactive run; with any other switch it is one more of a
// silent run's, with or without its file.
TEST_F(CommandLineTest, TraceStandsAloneOrWithASilentRun) {
    const struct {
        const wchar_t* line;
        int silent, trace;
        const wchar_t* file;
        CmyStringArray rejected;
    } cases[] = {
        {L"/v", 0, 1, L"", {}},
        {L"/V C:\\Logs\\run.log", 0, 1, L"C:\\Logs\\run.log", {}},
        {L"/l 0x0411 /v", 0, 1, L"", {}},
        {L"/s /v /x A", 1, 1, L"", {}},
        {L"/s /x A /v trace.log", 1, 1, L"trace.log", {}},
        {L"/s /v /v b.log /x A", 1, 1, L"", {L"/v b.log"}},
        {L"/s /x A", 1, 0, L"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::ToUtf8(c.line));
        CUninstallerController fresh(m_machine->Platform());
        ReadSwitches(fresh, c.line);
        EXPECT_EQ(fresh.m_bSilent, c.silent);
        EXPECT_EQ(fresh.m_bTrace, c.trace);
        EXPECT_EQ(fresh.m_strTraceFile, c.file);
        EXPECT_EQ(fresh.m_arrRejected, c.rejected);
    }
}

// Start-up reads the switches first and acts on them in the mode's step.
bool ReadAndSelect(CUninstallerController& app, const std::wstring& commandLine) {
    ReadSwitches(app, commandLine);
    return SelectMode(app, commandLine);
}

TEST_F(CommandLineTest, ModeSelection) {
    EXPECT_TRUE(ReadAndSelect(app, L""));
    EXPECT_EQ(app.m_bSilent, 0);

    CUninstallerController languageOnly(m_machine->Platform());
    EXPECT_TRUE(ReadAndSelect(languageOnly, L"/l 0x0411"));
    EXPECT_EQ(languageOnly.m_bSilent, 0);

    CUninstallerController withLanguage(m_machine->Platform());
    EXPECT_TRUE(ReadAndSelect(withLanguage, L"/l 0x0411 /p A"));
    EXPECT_EQ(withLanguage.m_bSilent, 1);
    EXPECT_EQ(withLanguage.m_arrDesignated, (CmyStringArray{L"A"}));
    EXPECT_TRUE(withLanguage.m_arrRejected.empty());

    CUninstallerController rejectedLoud(m_machine->Platform());
    EXPECT_TRUE(ReadAndSelect(rejectedLoud, L"/p A /q"));  // the silent run reports it later

    CUninstallerController rejectedQuiet(m_machine->Platform());
    EXPECT_FALSE(ReadAndSelect(rejectedQuiet, L"/s /p A /q"));
}

}  // namespace
}  // namespace norvane
