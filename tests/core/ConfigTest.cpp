#include "inventory/Config.h"

#include <gtest/gtest.h>

#include "harness/TestMachine.h"

namespace norvane {
namespace {

constexpr char kConfig[] =
    "[Driver]\r\nD1=Model A\r\nD2=Model A PS\r\nD3=Model B\r\nD4=Model A Fax\r\nD6=Model Z\r\n"
    "[DevSeries]\r\nX1=D3\r\nX2= D1 , D2,D4\r\n"
    "[DelUty]\r\nDelCode=1\r\n";

class ConfigTest : public ::testing::Test {
protected:
    ConfigTest() {
        m_test.InstallProgram(kConfig);
        m_machine = m_test.Load();
    }
    PackageConfig Config() {
        return PackageConfig(m_machine->Platform().profile,
                             std::wstring(testing::kProgramFolder) + L"config.ini");
    }

    testing::TestMachine m_test;
    std::unique_ptr<sim::Machine> m_machine;
};

TEST_F(ConfigTest, NumberedKeysStopAtTheFirstGap) {
    EXPECT_EQ(Config().IsDriverInPackage(L"model a fax"), 1);
    EXPECT_EQ(Config().IsDriverInPackage(L"Model Z"), 0);  // D6 follows the gap at D5
}

TEST_F(ConfigTest, SeriesDesignatesEveryMemberOnceInSeriesOrder) {
    std::vector<std::wstring> designated;
    EXPECT_EQ(Config().ResolveDriverList(L"Model A Fax, model a,Model B", designated), 1);
    EXPECT_EQ(designated,
              (std::vector<std::wstring>{L"Model A", L"Model A PS", L"Model A Fax", L"Model B"}));
}

TEST_F(ConfigTest, UnknownNameStandsForItself) {
    std::vector<std::wstring> designated;
    EXPECT_EQ(Config().ResolveDriverList(L"Other, Other", designated), 1);
    EXPECT_EQ(designated, (std::vector<std::wstring>{L"Other", L"Other"}));
}

TEST_F(ConfigTest, EmptyPiecesAreSkipped) {
    std::vector<std::wstring> designated;
    EXPECT_EQ(Config().ResolveDriverList(L" , Other,,", designated), 1);
    EXPECT_EQ(designated, (std::vector<std::wstring>{L"Other"}));
    designated.clear();
    EXPECT_EQ(Config().ResolveDriverList(L" ,", designated), 0);
}

TEST_F(ConfigTest, SeriesMemberWithoutDriverKeyAddsTheEmptyNameOnce) {
    m_test.WriteFile(std::wstring(testing::kProgramFolder) + L"config.ini",
                     "[Driver]\r\nD1=Model A\r\n[DevSeries]\r\nX1=D1,D8,D9\r\n");
    std::vector<std::wstring> designated;
    EXPECT_EQ(Config().ExpandSeries(L"Model A", designated), 1);
    EXPECT_EQ(designated, (std::vector<std::wstring>{L"Model A", L""}));
}

TEST_F(ConfigTest, UtilityRemovalNeedsDelCodeOne) {
    EXPECT_EQ(Config().IsUtilityRemovalEnabled(), 1);
    for (const char* value : {"yes", "0", ""}) {
        m_test.WriteFile(std::wstring(testing::kProgramFolder) + L"config.ini",
                         std::string("[DelUty]\r\nDelCode=") + value + "\r\n");
        EXPECT_EQ(Config().IsUtilityRemovalEnabled(), 0) << value;
    }
}

}  // namespace
}  // namespace norvane
