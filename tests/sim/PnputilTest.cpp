// The elevated start of the simulated machine: Windows' pnputil.exe is built in at its place in
// System32, every other program is missing.
#include <gtest/gtest.h>

#include "harness/TestMachine.h"
#include "sim/SpoolerMachine.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;

constexpr wchar_t kPnputil[] = L"C:\\WINNT\\System32\\pnputil.exe";

class PnputilTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_test.SetJson(R"({"windowsDir": "C:\\WINNT"})");
        for (const wchar_t* file : {L"oem12.inf", L"OEM12.PNF", L"oem3.inf", L"oem3.pnf"})
            m_test.WriteFile(std::wstring(L"C:\\WINNT\\INF\\") + file, "x");
        m_machine = m_test.Load();
    }
    platform::Processes& Processes() { return m_machine->Platform().processes; }
    bool Inf(const wchar_t* file) {
        return m_test.Exists(std::wstring(L"C:\\WINNT\\inf\\") + file);
    }

    testing::TestMachine m_test;
    std::unique_ptr<Machine> m_machine;
};

TEST_F(PnputilTest, DeletesThePackagesInfAndPnfFromTheWindowsInfFolder) {
    ASSERT_EQ(Processes().ShellExecuteElevated(kPnputil, L"-f -d oem12.inf"), win::kSuccess);
    EXPECT_FALSE(Inf(L"oem12.inf"));
    EXPECT_FALSE(Inf(L"oem12.pnf"));
    EXPECT_TRUE(Inf(L"oem3.inf"));
    // In other letter case, without -f: the same tool.
    ASSERT_EQ(Processes().ShellExecuteElevated(L"c:\\winnt\\SYSTEM32\\PNPUTIL.EXE", L"-d OEM3.INF"),
              win::kSuccess);
    EXPECT_FALSE(Inf(L"oem3.inf"));
    EXPECT_FALSE(Inf(L"oem3.pnf"));
    EXPECT_EQ(test::JournalOf(*m_machine),
              (std::vector<std::wstring>{
                  L"ShellExecute runas \"C:\\WINNT\\System32\\pnputil.exe\" \"-f -d oem12.inf\"",
                  L"DeleteFile \"C:\\WINNT\\INF\\oem12.inf\"",
                  L"DeleteFile \"C:\\WINNT\\INF\\OEM12.PNF\"",
                  L"ShellExecute runas \"c:\\winnt\\SYSTEM32\\PNPUTIL.EXE\" \"-d OEM3.INF\"",
                  L"DeleteFile \"C:\\WINNT\\INF\\oem3.inf\"",
                  L"DeleteFile \"C:\\WINNT\\INF\\oem3.pnf\""}));
}

TEST_F(PnputilTest, OtherCommandsDeleteNothingAndOtherProgramsAreMissing) {
    // pnputil itself starts, so the start succeeds; it refuses what is not a published package.
    EXPECT_EQ(Processes().ShellExecuteElevated(kPnputil, L"-f -d machine.inf"), win::kSuccess);
    EXPECT_EQ(Processes().ShellExecuteElevated(kPnputil, L"-f -d ..\\inf\\oem12.inf"),
              win::kSuccess);
    EXPECT_EQ(Processes().ShellExecuteElevated(kPnputil, L"-e"), win::kSuccess);
    // Another folder's pnputil.exe is not Windows' own.
    EXPECT_EQ(Processes().ShellExecuteElevated(L"C:\\Tools\\pnputil.exe", L"-f -d oem12.inf"),
              win::kFileNotFound);
    EXPECT_EQ(Processes().ShellExecuteElevated(L"pnputil2.exe", L"-f -d oem12.inf"),
              win::kFileNotFound);
    EXPECT_TRUE(Inf(L"oem12.inf"));
    EXPECT_TRUE(Inf(L"oem12.pnf"));
    EXPECT_EQ(test::JournalOf(*m_machine).back(),
              L"ShellExecute runas \"pnputil2.exe\" \"-f -d oem12.inf\" -> 2");
}

}  // namespace
}  // namespace norvane::sim
