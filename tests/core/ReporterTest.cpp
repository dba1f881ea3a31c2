#include "app/Report.h"

#include <gtest/gtest.h>

#include "harness/TestMachine.h"

namespace norvane {
namespace {

using testing::kLogFile;

class ReporterTest : public ::testing::Test {
protected:
    ReporterTest() {
        m_test.InstallProgram("");
        m_machine = m_test.Load();
        app = std::make_unique<CUninstallerController>(m_machine->Platform());
        app->m_bWriteLog = 1;
        app->log.SetPath(kLogFile);
    }
    std::wstring Log(const wchar_t* section, const wchar_t* key) {
        return m_test.Ini(kLogFile, section, key);
    }
    std::vector<std::wstring> MessageBoxes() {
        std::vector<std::wstring> boxes;
        for (const auto& entry : m_machine->JournalLog().Entries()) {
            if (entry.find(L" MessageBox ") != std::wstring::npos)
                boxes.push_back(entry);
        }
        return boxes;
    }

    testing::TestMachine m_test;
    std::unique_ptr<sim::Machine> m_machine;
    std::unique_ptr<CUninstallerController> app;
};

TEST_F(ReporterTest, ErrorWithDriversButNoNameWritesErrMsgOnlyThere) {
    app->m_bDriversGiven = 1;
    app->m_bQuiet = 1;
    ReportResult(*app, L"shown", ReportKind::Stop, 4);
    EXPECT_EQ(Log(L"UninstResult", L"ErrMsg"), kNoDriverOrPrinter);
    EXPECT_EQ(Log(L"ScannerUninstResult", L"ErrMsg"), L"<missing>");
    EXPECT_EQ(Log(L"UtilityUninstResult", L"ErrMsg"), L"<missing>");
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ReporterTest, ErrorShowsItsTextUnlessQuiet) {
    app->m_bScannersGiven = 1;
    app->m_arrScannerName = CmyStringArray{L"Scanner A", L"Scanner B"};
    ReportResult(*app, L"Something failed.", ReportKind::Stop, 2);
    ASSERT_EQ(MessageBoxes().size(), 1u);
    EXPECT_NE(MessageBoxes()[0].find(L"text=\"Something failed.\""), std::wstring::npos);
    EXPECT_EQ(Log(L"ScannerUninstResult", L"Scanner A"), L"2");
    EXPECT_EQ(Log(L"ScannerUninstResult", L"Scanner B"), L"2");
}

TEST_F(ReporterTest, DoneWithDriversSplitsTheResultMap) {
    app->m_bDriversGiven = 1;
    app->m_bQuiet = 1;
    app->m_mapPrinterResult = {
        {L"DRIVER Foo", L"0"}, {L"PRINTER Bar", L"1"}, {L"PRINTER DRIVER Room", L"0"}};
    ReportResult(*app, L"summary", ReportKind::Done, 0);
    EXPECT_EQ(Log(L"UninstResult", L"Foo"), L"0");
    EXPECT_EQ(Log(L"DelPrinterResult", L"Bar"), L"1");
    // A printer whose name holds "DRIVER " is still a printer.
    EXPECT_EQ(Log(L"DelPrinterResult", L"DRIVER Room"), L"0");
    EXPECT_EQ(Log(L"UninstResult", L"R Room"), L"<missing>");
}

TEST_F(ReporterTest, DoneWithPrintersOnlyWritesPrintersTwice) {
    app->m_bPrintersGiven = 1;
    app->m_mapPrinterResult = {{L"DRIVER Foo", L"0"}, {L"PRINTER Bar", L"1"}};
    app->m_arrSavedPrinterInfo.push_back(
        {L"Bar", L"USB001", L"Foo", L"", L"1", L"Bar.bin", L"Bar"});
    ReportResult(*app, L"summary", ReportKind::Done, 0);
    EXPECT_EQ(Log(L"UninstResult", L"Bar"), L"1");
    EXPECT_EQ(Log(L"DelPrinterResult", L"Bar"), L"1");
    EXPECT_EQ(Log(L"UninstResult", L"Foo"), L"<missing>");
    EXPECT_EQ(Log(L"PrinterInfo Bar", L"DEVMODE"), L"Bar.bin");
    EXPECT_EQ(Log(L"PrinterInfo Bar", L"Default"), L"1");
    EXPECT_TRUE(app->m_arrSavedPrinterInfo.empty());
}

TEST_F(ReporterTest, DoneListsRejectedSwitchesAndKeysInCodeUnitOrder) {
    app->m_bDriversGiven = 1;
    app->m_arrRejected = CmyStringArray{L"/q", L"/z 1"};
    app->m_mapPrinterResult = {{L"PRINTER a", L"0"}, {L"PRINTER B", L"0"}, {L"DRIVER Z", L"0"}};
    ReportResult(*app, L"Done.", ReportKind::Done, 0);
    ASSERT_EQ(MessageBoxes().size(), 1u);
    EXPECT_NE(MessageBoxes()[0].find(L"text=\"Done.\\r\\n"), std::wstring::npos);
    EXPECT_NE(MessageBoxes()[0].find(L"\\r\\n/q\\r\\n/z 1\""), std::wstring::npos);
    const std::string log = m_test.ReadFile(kLogFile);
    EXPECT_LT(log.find("Z=0"), log.find("B=0"));
    EXPECT_LT(log.find("B=0"), log.find("a=0"));
}

TEST_F(ReporterTest, UtilityResultsFollowTheUtilitySwitch) {
    app->m_bDriversGiven = 1;
    app->m_mapUtilityResult = {{L"UtlA", L"0"}};
    app->m_bUtilitySwitchGiven = 1;  // "/u 0"
    ReportResult(*app, L"", ReportKind::Done, 0);
    EXPECT_EQ(Log(L"UtilityUninstResult", L"UtlA"), L"<missing>");
    app->m_bUtilitySwitchGiven = 0;
    ReportResult(*app, L"", ReportKind::Done, 0);
    EXPECT_EQ(Log(L"UtilityUninstResult", L"UtlA"), L"0");
}

TEST_F(ReporterTest, QuietErrorNamesMissingUtilities) {
    app->m_bRemoveUtilities = 1;
    ReportResult(*app, L"", ReportKind::SilentError, 5);
    EXPECT_EQ(Log(L"UtilityUninstResult", L"ErrMsg"), kNoUtility);
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ReporterTest, NothingIsWrittenWithoutLogging) {
    app->m_bWriteLog = 0;
    app->m_bDriversGiven = 1;
    ReportResult(*app, L"", ReportKind::SilentError, 5);
    ReportResult(*app, L"", ReportKind::Done, 0);
    EXPECT_FALSE(m_test.Exists(kLogFile));
}

}  // namespace
}  // namespace norvane
