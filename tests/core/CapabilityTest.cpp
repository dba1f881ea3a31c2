// The INI accessors and the check of which utilities the printers that stay still need.
#include <gtest/gtest.h>

#include <functional>

#include "extras/CapabilityCheck.h"
#include "extras/UtilityTable.h"
#include "harness/CountingProfile.h"
#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "inventory/IniAcc.h"

namespace norvane {
namespace {

using namespace testing;

constexpr wchar_t kCapFolder[] = L"C:\\Windows\\system32\\spool\\drivers\\x64\\3\\";

const std::string kUtilities =
    "[DelUty]\r\nDelCode=1\r\nU1=Monitor\r\nU2=Center\r\nU3=Book\r\n"
    "[Default.U1]\r\nKEY=UseMonitor\r\nVALUE=1\r\n"
    "[Default.U2]\r\nKEY=UseCenter\r\nVALUE=1\r\n"
    "[Default.U3]\r\nKEY=UseBook\r\nVALUE=\r\n";

std::string Capabilities(const std::string& section, const std::string& body,
                         const std::string& remote = "") {
    std::string cap =
        "[Capability]\r\nVersion=2\r\nCorvidaModel=" + section + "\r\n[" + section + "]\r\n" + body;
    if (!remote.empty())
        cap += "[SEC_CAPABILITY]\r\nNetwork=NET\r\n[NET]\r\nSEC_REMOTE=" + remote + "\r\n";
    return cap;
}

class CapabilityTest : public ::testing::Test {
protected:
    // Model A's capability file needs the monitor; Model B's is what the test writes; Model C has
    // none. `printers` adds the printers that stay.
    void Install(const std::string& modelB,
                 const std::function<void(PrintSetup&)>& printers = nullptr) {
        PrintSetup setup(m_machine);
        setup.Driver(PlainDriver("Model A", "CVMA_UI.DLL", {"CVMA.DLL", "CVMA.CAP"}))
            .Driver(PlainDriver("Model B", "CVMB_UI.DLL", {"CVMB.DLL", "cvmb.cap"}))
            .Driver(PlainDriver("Model C", "CVMC_UI.DLL", {"CVMC.DLL"}));
        if (printers)
            printers(setup);
        setup.Install(ConfigIni({"Model A", "Model B", "Model C"}, {}, kUtilities));
        m_machine.WriteFile(std::wstring(kCapFolder) + L"CVMA.CAP",
                            Capabilities("CVMA", "UseMonitor=1\r\nUseCenter=0\r\n"));
        m_machine.WriteFile(std::wstring(kCapFolder) + L"cvmb.cap", modelB);
        m_sim = m_machine.Load();
        m_app = std::make_unique<CUninstallerController>(m_sim->Platform());
        m_app->g_szModuleDir = L"c:\\program files\\halvex\\norvane\\";
    }

    std::vector<int> InUse() {
        ReadUtilityTable(*m_app, m_app->Config(), *m_app);
        std::vector<int> flags;
        for (std::size_t slot = 0; slot < 3; ++slot)
            flags.push_back(m_app->m_utilityEntries[slot].nInUse);
        return flags;
    }

    TestMachine m_machine;
    std::unique_ptr<sim::Machine> m_sim;
    std::unique_ptr<CUninstallerController> m_app;
};

TEST_F(CapabilityTest, IniAccessorReadsLongValuesWholeAndKeysInOrder) {
    // Lengths about each buffer size, and a million characters, which once took thousands of
    // reads of the whole file: the buffer doubles, so it takes a dozen.
    const struct {
        std::size_t length;
        int reads;
    } cases[] = {{257, 1}, {258, 2}, {259, 2},  {260, 2},  {261, 2},       {518, 3},
                 {519, 3}, {520, 3}, {1038, 4}, {1039, 4}, {1'000'000, 13}};
    std::string file = "[s]\r\nc=1\r\nb=\r\n[long]\r\n";
    for (const auto& c : cases)
        file += std::to_string(c.length) + "=" + std::string(c.length, 'v') + "\r\n";
    m_machine.WriteFile(L"C:\\t.ini", file + "[empty]\r\n");
    const auto sim = m_machine.Load();
    CountingProfile profile(sim->Platform().profile);
    CIniAcc ini(profile);
    ini.SetFile(L"C:\\t.ini");
    for (const auto& c : cases) {
        profile.reads = 0;
        EXPECT_EQ(ini.GetString(L"long", std::to_wstring(c.length)), std::wstring(c.length, L'v'))
            << c.length;
        EXPECT_EQ(profile.reads, c.reads) << c.length;
    }
    EXPECT_EQ(ini.GetString(L"s", L"missing"), L"");
    CmyStringArray keys{L"left over"};
    EXPECT_EQ(ini.GetKeys(L"s", keys), (CmyStringArray{L"c", L"b"}));
    EXPECT_TRUE(ini.GetKeys(L"empty", keys).empty());
    EXPECT_TRUE(ini.GetKeys(L"none", keys).empty());
    // A key list longer than the first buffer comes back whole too.
    std::string many = "[many]\r\n";
    for (int i = 0; i < 100; ++i)
        many += "key" + std::to_string(i) + "=1\r\n";
    m_machine.WriteFile(L"C:\\many.ini", many);
    const auto reloaded = m_machine.Load();
    CIniAcc manyIni(reloaded->Platform().profile);
    manyIni.SetFile(L"C:\\many.ini");
    EXPECT_EQ(manyIni.GetKeys(L"many", keys).size(), 100u);
    EXPECT_EQ(keys.back(), L"key99");
}

TEST_F(CapabilityTest, UtilityIniLiesBelowTheCurrentFolderWithoutASeparator) {
    m_machine.SetJson(R"({"currentDir": "C:\\Work"})");
    const auto sim = m_machine.Load();
    EXPECT_EQ(CIniUtility(sim->Platform().profile, sim->Platform().files).File(),
              L"C:\\WorkUTL_PATH\\INI_ZEMAUTL");
}

TEST_F(CapabilityTest, CapabilityFileIsTheDriversCapEntry) {
    Install(Capabilities("CVMB", "UseCenter=1\r\n"),
            [](PrintSetup& setup) { setup.Printer("A", "Model A").Printer("C", "Model C"); });
    EXPECT_EQ(text::LowerAscii(FindCapabilityFile(*m_app, L"A")),
              text::LowerAscii(std::wstring(kCapFolder) + L"CVMA.CAP"));
    EXPECT_EQ(FindCapabilityFile(*m_app, L"C"), L"");
    EXPECT_EQ(FindCapabilityFile(*m_app, L"No such printer"), L"");
}

TEST_F(CapabilityTest, PrintersThatStayMarkWhatTheyNeed) {
    Install(Capabilities("CVMB", "UseCenter=1\r\nUseBook=yes\r\n"), [](PrintSetup& setup) {
        setup.Printer("A", "Model A").Printer("B", "Model B").Printer("C", "Model C");
    });
    // Model A needs the monitor (UseCenter=0 is not "1"); Model B the center, and the book
    // because its entry has no value and the key is set; Model C has no capability file.
    EXPECT_EQ(InUse(), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(m_app->m_capabilities.printers, (std::vector<std::wstring>{L"A", L"B", L"C"}));
}

TEST_F(CapabilityTest, NothingIsMarkedWithoutPrintersOrForAnotherProvider) {
    Install(Capabilities("CVMB", "UseCenter=1\r\n"));
    EXPECT_EQ(InUse(), (std::vector<int>{0, 0, 0}));

    Install("[Capability]\r\nOtherModel=X\r\n[X]\r\nUseCenter=1\r\n",
            [](PrintSetup& setup) { setup.Printer("B", "Model B"); });
    EXPECT_EQ(InUse(), (std::vector<int>{0, 0, 0}));
}

TEST_F(CapabilityTest, NetworkPrintersTakePartOnlyWhenUsableRemotely) {
    const auto connection = [](PrintSetup& setup) {
        setup.Registry(
            "[HKEY_CURRENT_USER\\Printers\\Connections\\,,srv,Hall B]\r\n"
            "\"Printer Driver\"=\"Model B\"\r\n\"Port\"=\"\\\\\\\\srv\\\\Hall B\"\r\n\r\n");
    };
    Install(Capabilities("CVMB", "UseCenter=1\r\n", "0"), connection);
    EXPECT_EQ(InUse(), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(m_app->m_capabilities.printers.empty());

    Install(Capabilities("CVMB", "UseCenter=1\r\n", "1"), connection);
    EXPECT_EQ(IsRemoteCapable(*m_app, L"\\\\srv\\Hall B"), 1);
    EXPECT_EQ(InUse(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(m_app->m_capabilities.printers, (std::vector<std::wstring>{L"\\\\srv\\Hall B"}));
}

TEST_F(CapabilityTest, LocalPrinterOnANetworkPortNeedsRemoteUse) {
    Install(Capabilities("CVMB", "UseCenter=1\r\n"),
            [](PrintSetup& setup) { setup.Printer("B", "Model B", "\\\\srv\\share"); });
    EXPECT_EQ(InUse(), (std::vector<int>{0, 0, 0}));
}

}  // namespace
}  // namespace norvane
