#include "inventory/Records.h"

#include <gtest/gtest.h>

namespace norvane {
namespace {

std::wstring Family(const std::wstring& configFile, std::vector<std::wstring> dependentFiles = {}) {
    return CDriverData(L"d", std::move(dependentFiles), L"", L"", configFile).FamilyCode();
}

TEST(FamilyCodeTest, RulesInOrder) {
    EXPECT_EQ(Family(L"C:\\x\\ABCD_xyz.dll"), L"ABCD");
    EXPECT_EQ(Family(L"ABCDEFUI.DLL"), L"ABCDEF");
    EXPECT_EQ(Family(L"ABCDE_UI.DLL"), L"ABCDE");
    EXPECT_EQ(Family(L"ABC_UI.DLL"), L"");
    EXPECT_EQ(Family(L"ABC_UI.DLL", {L"C:\\d\\LONGNAME.DLL", L"C:\\d\\WXYZ.DLL", L"QRST.INI"}),
              L"WXYZ");
    EXPECT_EQ(Family(L"", {L"WXYZ.DLL"}), L"WXYZ");
}

TEST(FamilyCodeTest, LongPrefixIsCutToTheField) {
    EXPECT_EQ(Family(L"ABCDEFGHIJKLMNOPQRSTUVWX_UI.DLL"), L"ABCDEFGHIJKLMNOPQRS");
}

TEST(DriverRecordTest, MissingTextsAreEmptyNeverUnset) {
    CDriverData driver(L"Model A", {}, L"", L"", L"");
    EXPECT_EQ(driver.FamilyCode(), L"");
    EXPECT_TRUE(driver.DependentFiles().empty());
    EXPECT_EQ(driver.InPackage(), 1);
    EXPECT_EQ(driver.DeleteOK(), 1);
    EXPECT_FALSE(driver.PrintProcessor().has_value());
}

TEST(DriverRecordTest, WinPrintIsStoredAsNoPrintProcessor) {
    CDriverData driver(L"Model A", {}, L"", L"", L"");
    const std::wstring winprint = L"winPRINT", own = L"CVAPP";
    driver.SetPrintProcessor(&winprint);
    EXPECT_EQ(driver.PrintProcessor(), L"");
    driver.SetPrintProcessor(&own);
    EXPECT_EQ(driver.PrintProcessor(), L"CVAPP");
    driver.SetPrintProcessor(nullptr);
    EXPECT_EQ(driver.PrintProcessor(), L"");
}

}  // namespace
}  // namespace norvane
