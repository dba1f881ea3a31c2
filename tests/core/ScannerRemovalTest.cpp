// Removing scanner drivers in a silent run through the setup programs their uninstall entries
// name.
#include <gtest/gtest.h>

#include "extras/ScannerRemoval.h"
#include "harness/PrintSetup.h"
#include "harness/ProcessStarts.h"
#include "harness/TestMachine.h"

namespace norvane {
namespace {

using namespace testing;

constexpr char kGuidA[] = "C81E5B3A-7D92-4F06-B4A1-5E2D9C3F6A70";
constexpr char kGuidB[] = "D2F47A19-6C3E-4B85-9E07-A13B5C8D2F64";

std::string SetupFolder(const std::string& guid) {
    return "C:\\Program Files (x86)\\InstallShield Installation Information\\{" + guid + "}\\";
}

// The scanner's uninstall entry with its ModifyPath as given.
std::string Entry(const std::string& guid, const std::string& modifyPath) {
    return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
           "Uninstall\\InstallShield_{" +
           guid + "}]\r\n\"ModifyPath\"=\"" + modifyPath + "\"\r\n\r\n";
}

std::string QuotedSetup(const std::string& guid) {
    return "\\\"" + DoubledBackslashes(SetupFolder(guid)) + "setup.exe\\\" -runfromtemp -l0x0409";
}

// A setup program that writes `code` into the setup.log beside itself.
std::string Program(const std::string& guid, const std::string& code) {
    const std::string folder = DoubledBackslashes(DoubledBackslashes(SetupFolder(guid)));
    return "\"" + folder + "setup.exe\": {\"runMs\": 2000, \"writeIni\": [{\"file\": \"" + folder +
           "setup.log\", \"section\": \"ResponseResult\", \"key\": \"ResultCode\", \"value\": \"" +
           code + "\"}]}";
}

class ScannerRemovalTest : public ::testing::Test {
protected:
    void Install(const std::string& registry, const std::string& programs) {
        for (const char* guid : {kGuidA, kGuidB})
            m_machine.WriteFile(text::FromUtf8(SetupFolder(guid) + "setup.exe"), "MZ");
        m_machine.SetJson("{\"programs\": {" + programs + "}}");
        PrintSetup setup(m_machine);
        setup.Driver(PlainDriver("Model A", "CVMA_UI.DLL", {"CVMA.DLL"}))
            .Printer("A", "Model A")
            .Registry(registry)
            .Install(ConfigIni({"Model A"}, {},
                               "[Scanner]\r\nSD1=Scanner A\r\nSD2=Scanner B\r\nSD3=Scanner C\r\n"
                               "[ScannerGUID]\r\nSID1=" +
                                   std::string(kGuidA) + "\r\nSID2=" + kGuidB + "\r\n"));
    }

    std::wstring Result(const wchar_t* name) {
        return m_machine.Ini(kLogFile, L"ScannerUninstResult", name);
    }

    static std::vector<std::wstring> Starts(const RunResult& run) { return ProcessStarts(run); }

    TestMachine m_machine;
};

TEST_F(ScannerRemovalTest, SetupProgramFromModifyPathRunsInRemovalMode) {
    Install(Entry(kGuidA, QuotedSetup(kGuidA)) + Entry(kGuidB, QuotedSetup(kGuidB)),
            Program(kGuidA, "0") + ", " + Program(kGuidB, "-3"));
    // "/p" on the same command line is ignored: printer A stays.
    const auto run = m_machine.Run(L"/s /p A /t \"Scanner A,scanner b\"");
    EXPECT_EQ(Result(L"Scanner A"), L"0");
    EXPECT_EQ(Result(L"scanner b"), L"1");
    const auto starts = Starts(run);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NE(starts[0].find(L"\"" + text::FromUtf8(SetupFolder(kGuidA)) + L"setup.exe\" /s /zop8"),
              std::wstring::npos)
        << starts[0];
    // The log beside the setup program is read and left in place.
    EXPECT_TRUE(m_machine.Exists(text::FromUtf8(SetupFolder(kGuidA)) + L"setup.log"));
    EXPECT_TRUE(
        m_machine.Load()->Registry().Find(
            L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\A") !=
        nullptr);
}

TEST_F(ScannerRemovalTest, ScannersWithoutAKnownSetupProgramAreNotFound) {
    // B's ModifyPath has no quotes; C has no GUID; D is not listed.
    Install(Entry(kGuidA, QuotedSetup(kGuidA)) +
                Entry(kGuidB, DoubledBackslashes(SetupFolder(kGuidB)) + "setup.exe -runfromtemp"),
            Program(kGuidA, "0"));
    const auto run = m_machine.Run(L"/s /t \"Scanner B,Scanner C,Scanner D\"");
    EXPECT_EQ(Result(L"Scanner B"), L"4");
    EXPECT_EQ(Result(L"Scanner C"), L"4");
    EXPECT_EQ(Result(L"Scanner D"), L"4");
    EXPECT_TRUE(Starts(run).empty());
}

TEST_F(ScannerRemovalTest, SetupProgramThatFailsToStartOrWritesNoLog) {
    Install(Entry(kGuidA, QuotedSetup(kGuidA)) + Entry(kGuidB, QuotedSetup(kGuidB)),
            "\"" + DoubledBackslashes(DoubledBackslashes(SetupFolder(kGuidA))) +
                "setup.exe\": {\"failToStart\": true}, \"" +
                DoubledBackslashes(DoubledBackslashes(SetupFolder(kGuidB))) +
                "setup.exe\": {\"runMs\": 100}");
    m_machine.Run(L"/s /t \"Scanner A,Scanner B\"");
    EXPECT_EQ(Result(L"Scanner A"), L"1");
    EXPECT_EQ(Result(L"Scanner B"), L"1");
}

TEST_F(ScannerRemovalTest, SetupPathIsTheTextBetweenTheOuterQuotes) {
    Install(Entry(kGuidA, QuotedSetup(kGuidA)), "");
    const auto sim = m_machine.Load();
    CUninstallerController app(sim->Platform());
    EXPECT_EQ(LookUpSetupPath(app, text::FromUtf8(kGuidA)),
              text::FromUtf8(SetupFolder(kGuidA)) + L"setup.exe");
    EXPECT_EQ(LookUpSetupPath(app, text::FromUtf8(kGuidB)), L"");
}

}  // namespace
}  // namespace norvane
