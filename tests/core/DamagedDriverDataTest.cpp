// Driver data that a careless package or a broken install leaves: hardware IDs, file names and
// registry values that would make a path built from them name a folder outside the package's.
// Whatever such data says, a removal takes away nothing that a removal of the intact package
// would not take away.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "harness/CaseStride.h"
#include "harness/DemoMachine.h"
#include "harness/MachineInventory.h"
#include "harness/TestMachine.h"
#include "inventory/Records.h"
#include "removal/Cleanup.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

namespace fs = std::filesystem;
using testing::ApplyDamage;
using testing::CopyDemo;
using testing::Damage;
using testing::Inventory;
using testing::RandomDamage;
using testing::Removed;
using testing::TestMachine;

TEST(PathGuardTest, OnlyPlainNamesMakePathsInsideTheirFolder) {
    const std::wstring windows = L"C:\\Windows";
    const std::wstring x64 = L"C:\\Windows\\system32\\spool\\drivers\\x64";
    struct Case {
        std::wstring hardwareId, spoolFolder;
    } cases[] = {
        // Real hardware IDs keep working as they always did.
        {L"USBPRINT\\Corvida-Model_A7E21", x64 + L"\\Corvida_Model_A7E21\\"},
        {L"LPTENUM\\CorvidaLB-7", x64 + L"\\CorvidaLB_7\\"},
        {L"WSDPRINT\\CorvidaModelA", x64 + L"\\CorvidaModelA\\"},
        {L"USBPRINT\\Corvida\\Model-A\\", x64 + L"\\Corvida\\Model_A\\"},
        {L"USBPRINT\\Model A.", x64 + L"\\Model A.\\"},
        {L"LPTENUM\\A-B\\", x64 + L"\\A_B\\"},
        {L"microsoftmicrosoft_print_to_pdf", L""},  // no backslash: never the whole x64 folder
        // Damaged ones name no folder at all.
        {L"USBPRINT", L""},
        {L"USBPRINT\\", L""},
        {L"USBPRINT\\.", L""},
        {L"USBPRINT\\..", L""},
        {L"USBPRINT\\. .", L""},
        {L"USBPRINT\\ ", L""},
        {L"USBPRINT\\..\\..\\..\\..\\Temp", L""},
        {L"USBPRINT\\Model\\..\\..", L""},
        {L"USBPRINT\\Model\\\\A", L""},
        {L"USBPRINT\\\\Model", L""},
        {L"USBPRINT\\C:\\Temp", L""},
        {L"USBPRINT\\Model/../..", L""},
        {L"USBPRINT\\Mo*del", L""},
        {L"USBPRINT\\Model\tA", L""},
        // The spooler's own folders beside the model folders are never a model's.
        {L"USBPRINT\\3", L""},
        {L"USBPRINT\\4\\x", L""},
        {L"USBPRINT\\pcc", L""},
        {L"USBPRINT\\" + std::wstring(300, L'M'), L""},  // cut, it would name another folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpoolFolderFor(windows, c.hardwareId), c.spoolFolder) << c.hardwareId;
    EXPECT_EQ(SpoolFolderFor(L"", L"USBPRINT\\Model"), L"");

    EXPECT_EQ(path::FileInside(L"C:\\Windows\\system32", L"cvlangmon.dll", 300),
              L"C:\\Windows\\system32\\cvlangmon.dll");
    EXPECT_EQ(path::FileInside(L"C:\\p\\x64", L"CVAPP", 300, L".DLL"), L"C:\\p\\x64\\CVAPP.DLL");
    for (const wchar_t* bad : {L"", L".", L"..", L"...", L" ", L"..\\..\\explorer.exe",
                               L"C:\\Windows\\explorer.exe", L"spool/drivers", L"a:b", L"a?"}) {
        EXPECT_EQ(path::FileInside(L"C:\\Windows\\system32", bad, 300), L"") << bad;
    }
}

TEST(PathGuardTest, AFamilyCodeThatIsNoFolderNameIsNoCode) {
    struct Case {
        const wchar_t* configFile;
        const wchar_t* code;
    } cases[] = {
        {L"CVMA_UI.DLL", L"CVMA"}, {L"CVMAPSUI.DLL", L"CVMAPS"}, {L"...._UI.DLL", L""},
        {L".. ._UI.DLL", L""},     {L"    _UI.DLL", L""},        {L"C:\\x\\.._UI.DLL", L""},
        {L"CV*A_UI.DLL", L""},     {L"......UI.DLL", L""},       {L"A.. .._UI.DLL", L"A.. .."},
    };
    for (const Case& c : cases) {
        CDriverData driver(L"Model", {}, L"", L"", c.configFile);
        EXPECT_EQ(driver.FamilyCode(), c.code) << c.configFile;
    }
}

// What the command removes from a copy of the demo machine, with the damage applied.
std::vector<std::wstring> RemoveFromDemo(const std::wstring& commandLine,
                                         const std::vector<Damage>& damage,
                                         const std::string& driverName = "Corvida Model B PS") {
    TestMachine m;
    CopyDemo(m, driverName);
    ApplyDamage(m, damage);
    const auto before = Inventory(m);
    m.Run(commandLine);
    return Removed(before, Inventory(m));
}

struct Removals {
    std::vector<std::wstring> intact, damaged;
};

Removals RemoveIntactAndDamaged(const std::wstring& commandLine, const std::vector<Damage>& damage,
                                const std::string& driverName = "Corvida Model B PS") {
    return {RemoveFromDemo(commandLine, {}, driverName),
            RemoveFromDemo(commandLine, damage, driverName)};
}

// What the damaged removal took beyond the intact one's: nothing, whatever the damage.
std::vector<std::wstring> Beyond(const Removals& removals) {
    std::vector<std::wstring> beyond;
    for (const auto& item : removals.damaged) {
        if (!std::binary_search(removals.intact.begin(), removals.intact.end(), item))
            beyond.push_back(item);
    }
    return beyond;
}

TEST(DamagedDriverDataTest, FoundOnTheDemoMachineTheyTakeNothingElse) {
    const std::wstring modelBPs = std::wstring(testing::kDemoDriversKey) + L"Corvida Model B PS";
    const std::wstring x64 = L"c:\\windows\\system32\\spool\\drivers\\x64";
    const std::vector<Damage> cases[] = {
        {{modelBPs, L"HardwareID", L"USBPRINT\\"}},
        {{modelBPs, L"HardwareID", L"USBPRINT\\."}},
        {{modelBPs, L"HardwareID", L"USBPRINT\\..\\..\\..\\..\\Temp"}},
        {{modelBPs, L"Configuration File", L"...._UI.DLL"}},
    };
    for (const auto& damage : cases) {
        SCOPED_TRACE(damage[0].data);
        const Removals removals = RemoveIntactAndDamaged(L"/s /d Corvida Model B PS", damage);
        EXPECT_EQ(Beyond(removals), std::vector<std::wstring>{});
        for (const std::wstring& kept :
             {x64, x64 + L"\\3", x64 + L"\\3\\mxdwdrv.dll", std::wstring(L"c:\\windows\\temp"),
              std::wstring(L"c:\\programdata\\corvida")}) {
            EXPECT_FALSE(std::binary_search(removals.damaged.begin(), removals.damaged.end(), kept))
                << kept;
        }
        // The driver itself still goes.
        EXPECT_TRUE(std::binary_search(removals.damaged.begin(), removals.damaged.end(),
                                       text::LowerAscii(modelBPs)));
    }
}

// Random damage to every kind of driver data the cleanup builds paths from, a few hundred
// machines, each removed by one of the ways a caller designates drivers.
TEST(DamagedDriverDataTest, RandomDamageTakesNothingAnIntactRemovalWouldNot) {
    const std::vector<std::string> oddNames = {"Corvida Model B PS",  "Corvida=Model B PS",
                                               "[Corvida Model B PS", ";Corvida Model B PS",
                                               "Corvida Model B PS.", " Corvida Model B PS ..",
                                               "Corvida Model B PS]"};
    const std::vector<std::wstring> commands = {L"/s /x Corvida Model A", L"/s /x Corvida Model B",
                                                L"/s /x Corvida Model A,Corvida Model B"};
    std::map<std::pair<std::wstring, std::string>, std::vector<std::wstring>> intact;
    std::mt19937 random(20261208);
    auto pick = [&](const auto& list) { return list[random() % list.size()]; };
    for (int n = 0; n < 200; ++n) {
        const std::vector<Damage> damage = RandomDamage(random);
        const std::string name = pick(oddNames);
        const std::wstring command = pick(commands);
        if (n % testing::CaseStride() != 0)
            continue;  // drawn all the same, so that case n is the same machine at any stride
        SCOPED_TRACE("case " + std::to_string(n) + ", driver \"" + name + "\", " +
                     text::ToUtf8(command));
        auto& intactRemovals = intact[{command, name}];
        if (intactRemovals.empty())
            intactRemovals = RemoveFromDemo(command, {}, name);
        EXPECT_EQ(Beyond({intactRemovals, RemoveFromDemo(command, damage, name)}),
                  std::vector<std::wstring>{});
    }
}

}  // namespace
}  // namespace norvane
