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
#include "platform/sim/Machine.h"
#include "removal/Cleanup.h"
#include "removal/LeftoverPaths.h"
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
        // Names Windows reads otherwise than they are written: "3." is "3", "CON" a device.
        {L"USBPRINT\\Model A.", L""},
        {L"USBPRINT\\3.", L""},
        {L"USBPRINT\\PCC.", L""},
        {L"USBPRINT\\3 ", L""},
        {L"USBPRINT\\CON", L""},
        {L"USBPRINT\\nul.txt", L""},
        {L"USBPRINT\\a:b", L""},
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
        {L"CV*A_UI.DLL", L""},     {L"......UI.DLL", L""},       {L"A.. .._UI.DLL", L""},
        {L"CVMA._UI.DLL", L""},    {L"Drv._UI.DLL", L""},        {L"COM1_UI.DLL", L""},
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

// What the damaged removal took beyond the intact one's: nothing, whatever the damage.
std::vector<std::wstring> Beyond(const std::vector<std::wstring>& intact,
                                 const std::vector<std::wstring>& damaged) {
    std::vector<std::wstring> beyond;
    for (const auto& item : damaged) {
        if (!std::binary_search(intact.begin(), intact.end(), item))
            beyond.push_back(item);
    }
    return beyond;
}

constexpr wchar_t kPrint[] = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";

// What a series command removes on the demo machine, from its config.ini.
std::set<std::wstring> DriversOf(const std::wstring& command, const std::wstring& modelBPs) {
    std::set<std::wstring> drivers;
    if (command.find(L"Model A") != std::wstring::npos)
        drivers.insert({L"Corvida Model A", L"Corvida Model A PS", L"Corvida Model A Fax"});
    if (command.find(L"Model B") != std::wstring::npos)
        drivers.insert({L"Corvida Model B", modelBPs});
    return drivers;
}

// Windows' own places as Windows lays them out, each given a planted file so that its removal
// shows, and the Local Port monitor's file.
constexpr const wchar_t* kWindowsPlaces[] = {L"C:\\Windows",
                                             L"C:\\Windows\\System32",
                                             L"C:\\Windows\\Temp",
                                             L"C:\\Windows\\System32\\spool",
                                             L"C:\\Windows\\System32\\spool\\drivers",
                                             L"C:\\Windows\\System32\\spool\\drivers\\x64",
                                             L"C:\\Windows\\System32\\spool\\drivers\\x64\\3",
                                             L"C:\\Windows\\System32\\spool\\drivers\\x64\\PCC",
                                             L"C:\\Windows\\System32\\spool\\drivers\\W32X86",
                                             L"C:\\Windows\\System32\\spool\\prtprocs\\x64",
                                             L"C:\\ProgramData",
                                             L"C:\\ProgramData\\Microsoft",
                                             L"C:\\ProgramData\\Corvida",
                                             L"C:\\ProgramData\\Corvida\\Drv"};

void PlantCanaries(TestMachine& m) {
    for (const wchar_t* folder : kWindowsPlaces)
        m.WriteFile(std::wstring(folder) + L"\\canary.txt", "Windows' own");
    m.WriteFile(L"C:\\Windows\\System32\\localspl.dll", "the Local Port monitor");
}

// The oracle, worked out from the machine before the run and from Windows' layout, never from
// the program: Windows' own places and their planted files, and every file that a driver,
// monitor or print processor which the command does not remove names. Lower-cased paths.
std::set<std::wstring> MustStay(TestMachine& m, const std::set<std::wstring>& removedDrivers) {
    const std::wstring sys = L"c:\\windows\\system32";
    std::set<std::wstring> stay = {L"c:\\windows\\inf"};
    for (const wchar_t* folder : kWindowsPlaces) {
        stay.insert(text::LowerAscii(folder));
        stay.insert(text::LowerAscii(folder) + L"\\canary.txt");
    }
    auto machine = m.Load();
    const auto& registry = machine->Registry();
    const bool monitorGoes = removedDrivers.contains(L"Corvida Model A");
    for (const auto* monitor :
         registry.Find(std::wstring(kPrint) + L"\\Monitors")->SubkeysInEnumOrder()) {
        const auto* file = monitor->FindValue(L"Driver");
        if (file && !(monitorGoes && monitor->name == L"Corvida Model A LangMon"))
            stay.insert(sys + L"\\" + text::LowerAscii(file->AsString()));
    }
    for (const auto& [environment, folder] :
         {std::pair{L"Windows x64", L"x64"}, std::pair{L"Windows NT x86", L"w32x86"}}) {
        const std::wstring key = std::wstring(kPrint) + L"\\Environments\\" + environment;
        for (const auto* driver :
             registry.Find(key + L"\\Drivers\\Version-3")->SubkeysInEnumOrder()) {
            if (removedDrivers.contains(driver->name))
                continue;
            std::vector<std::wstring> files;
            for (const wchar_t* value :
                 {L"Driver", L"Data File", L"Configuration File", L"Help File"}) {
                if (const auto* named = driver->FindValue(value))
                    files.push_back(named->AsString());
            }
            if (const auto* dependent = driver->FindValue(L"Dependent Files"))
                for (const auto& file : dependent->AsMultiString())
                    files.push_back(file);
            for (const auto& file : files) {
                if (path::IsPlainName(file))
                    stay.insert(sys + L"\\spool\\drivers\\" + folder + L"\\3\\" +
                                text::LowerAscii(file));
            }
        }
        for (const auto* processor :
             registry.Find(key + L"\\Print Processors")->SubkeysInEnumOrder()) {
            const auto* file = processor->FindValue(L"Driver");
            if (file && !(monitorGoes && processor->name == L"CVAPP"))
                stay.insert(sys + L"\\spool\\prtprocs\\" + folder + L"\\" +
                            text::LowerAscii(file->AsString()));
        }
    }
    return stay;
}

// A run held to the oracle: what it removed, and what it took that the oracle keeps.
struct HeldRun {
    std::vector<std::wstring> removed, taken;
};

HeldRun RunHeldToTheOracle(TestMachine& m, const std::wstring& command,
                           const std::wstring& modelBPs = L"Corvida Model B PS") {
    PlantCanaries(m);
    const auto stay = MustStay(m, DriversOf(command, modelBPs));
    const auto before = Inventory(m);
    m.Run(command);
    const auto after = Inventory(m);
    HeldRun run{Removed(before, after), {}};
    for (const auto& item : stay) {
        if (before.contains(item) && !after.contains(item))
            run.taken.push_back(item);
    }
    return run;
}

// Hostile but plausible spellings, each in the field it goes into: the run keeps everything
// outside the package, logs what it would not take, and still takes the rest of the package.
TEST(DamagedDriverDataTest, HostileSpellingsKeepEverythingOutsideThePackage) {
    const std::wstring modelA = std::wstring(testing::kDemoDriversKey) + L"Corvida Model A";
    const std::wstring modelBPs = std::wstring(testing::kDemoDriversKey) + L"Corvida Model B PS";
    const std::wstring allA = L"/s /x Corvida Model A", justBPs = L"/s /d Corvida Model B PS";
    struct Row {
        Damage damage;
        std::wstring command;
        std::wstring logged;  // the path the log names as left, for a refusal
    };
    const Row rows[] = {
        {{modelBPs, L"HardwareID", L"USBPRINT\\3."}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\PCC."}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\3 "}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\3. ."}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\3"}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\.."}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\CON"}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\a:b"}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\\\\\?\\C:\\"}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\C:/Windows"}, justBPs, L""},
        {{modelBPs, L"HardwareID", L"USBPRINT\\..\\..\\..\\..\\Temp"}, justBPs, L""},
        {{modelBPs, L"Configuration File", L"Microsoft_UI.DLL"},
         justBPs,
         L"C:\\ProgramData\\Microsoft\\"},
        {{modelBPs, L"Configuration File", L"Corvida_UI.DLL"},
         justBPs,
         L"C:\\ProgramData\\Corvida\\"},
        {{modelBPs, L"Configuration File", L"Drv._UI.DLL"}, justBPs, L""},
        {{modelBPs, L"Configuration File", L"CVMA._UI.DLL"}, justBPs, L""},
        {{modelBPs, L"Configuration File", L"CVMA_UI.DLL"},
         justBPs,
         L"C:\\ProgramData\\Corvida\\Drv\\CVMA\\"},
        {{modelBPs, L"Configuration File", L"nul.txt_UI.DLL"}, justBPs, L""},
        {{testing::kDemoMonitorKey, L"Driver", L"localspl.dll"},
         allA,
         L"C:\\Windows\\system32\\localspl.dll"},
        {{modelA, L"Print Processor", L"WINPRINT "}, allA, L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.damage.value + L" = " + row.damage.data);
        TestMachine m;
        CopyDemo(m);
        ApplyDamage(m, {row.damage});
        const HeldRun run = RunHeldToTheOracle(m, row.command);
        EXPECT_EQ(run.taken, std::vector<std::wstring>{});
        const std::wstring driver =
            row.command == allA ? L"Corvida Model A" : L"Corvida Model B PS";
        if (!row.logged.empty()) {
            EXPECT_EQ(
                m.Ini(L"C:\\Program Files\\Halvex\\Norvane\\Norvane.log", driver.c_str(), L"F1"),
                row.logged);
        }
        // The driver itself still goes.
        EXPECT_TRUE(
            std::binary_search(run.removed.begin(), run.removed.end(),
                               text::LowerAscii(std::wstring(testing::kDemoDriversKey) + driver)));
    }
}

// A maker's folder name that climbs out of the common application-data folder names no folder;
// the dependent file that would make "Temp" the family code takes nothing from the Windows folder.
TEST(DamagedDriverDataTest, AMakerFolderOutsideItsPlaceIsNoFolder) {
    TestMachine m;
    CopyDemo(m);
    const std::wstring config = L"C:\\Program Files\\Halvex\\Norvane\\config.ini";
    std::string ini = m.ReadFile(config);
    ini.replace(ini.find("OEMFOLDERNAME=\\Corvida"), 22, "OEMFOLDERNAME=\\..\\Windows");
    m.WriteFile(config, ini);
    {
        auto machine = m.Load();
        machine->Registry()
            .Find(std::wstring(testing::kDemoDriversKey) + L"Corvida Model B PS")
            ->SetValue(L"Dependent Files", platform::RegValue::MultiString({L"Temp.DLL"}));
        EXPECT_FALSE(machine->Save());
    }
    EXPECT_EQ(RunHeldToTheOracle(m, L"/s /d Corvida Model B PS").taken,
              std::vector<std::wstring>{});
}

// A junction or link inside a data folder goes as a link: what it leads to stays. A data folder
// that is itself a junction goes as one; one reached through a junction is not taken at all.
TEST(DamagedDriverDataTest, LinksGoAsLinksAndTheirTargetsStay) {
    const auto link = [](TestMachine& m, const wchar_t* at, const char* target) {
        fs::remove_all(m.HostPath(at));
        fs::create_directory_symlink(target, m.HostPath(at));
    };
    TestMachine m;
    CopyDemo(m);
    m.WriteFile(L"C:\\Users\\Public\\Documents\\report.txt", "someone's work");
    link(m, L"C:\\ProgramData\\Corvida\\Drv\\CVMB\\Temp", "../../../../Windows/Temp");
    link(m, L"C:\\ProgramData\\CVMBPS", "../Users/Public/Documents");
    link(m, L"C:\\ProgramData\\Corvida\\CVFX", "../../Windows/System32");
    EXPECT_EQ(RunHeldToTheOracle(m, L"/s /x Corvida Model A,Corvida Model B").taken,
              std::vector<std::wstring>{});
    EXPECT_FALSE(m.Exists(L"C:\\ProgramData\\Corvida\\Drv\\CVMB"));
    for (const wchar_t* gone : {L"C:\\ProgramData\\CVMBPS", L"C:\\ProgramData\\Corvida\\CVFX"})
        EXPECT_FALSE(fs::is_symlink(m.HostPath(gone))) << text::ToUtf8(gone);
    EXPECT_TRUE(m.Exists(L"C:\\Users\\Public\\Documents\\report.txt"));

    TestMachine through;
    CopyDemo(through);
    fs::create_directories(through.HostPath(L"C:\\Vendor"));
    fs::rename(through.HostPath(L"C:\\ProgramData\\Corvida\\Drv"),
               through.HostPath(L"C:\\Vendor\\Drv"));
    link(through, L"C:\\ProgramData\\Corvida\\Drv", "../../Vendor/Drv");
    through.Run(L"/s /d Corvida Model B");
    EXPECT_TRUE(through.Exists(L"C:\\Vendor\\Drv\\CVMB\\Forms.dat"));
    EXPECT_EQ(
        through.Ini(L"C:\\Program Files\\Halvex\\Norvane\\Norvane.log", L"Corvida Model B", L"F1"),
        L"C:\\ProgramData\\Corvida\\Drv\\CVMB\\");
}

// The run after a restart believes a put-off monitor or print processor only where the registry
// still says the same of it, and deletes its file only when the spooler let the name go: the maker
// key is anyone's to write. What it refuses stays and is logged under the name.
TEST(DamagedDriverDataTest, TheRestartedRunChecksWhatWasPutOff) {
    TestMachine m;
    CopyDemo(m);
    PlantCanaries(m);
    m.WriteFile(L"C:\\Windows\\System32\\kernel32.dll", "Windows' own");
    const auto monitorHeld = [&](bool held) {
        auto machine = m.Load();
        if (held)
            machine->Config().faults.monitors[L"Corvida Model A LangMon"] = 3008;
        else
            machine->Config().faults.monitors.clear();
        EXPECT_FALSE(machine->Save());
    };
    monitorHeld(true);
    m.Run(L"/s /x Corvida Model A");
    EXPECT_TRUE(m.Exists(L"C:\\Windows\\System32\\cvlangmon.dll"));
    {
        auto machine = m.Load();
        sim::RegKey* maker =
            machine->Registry().Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Halvex");
        ASSERT_TRUE(maker);
        const std::wstring sys = L"C:\\Windows\\system32\\";
        maker->SetValue(L"Norvane", platform::RegValue::String(
                                        maker->FindValue(L"Norvane")->AsString() + L"Local Port-" +
                                        sys + L"localspl.dll;Fake-" + sys + L"kernel32.dll;"));
        maker->SetValue(L"PrintProcessor",
                        platform::RegValue::String(L"winprint-" + sys +
                                                   L"spool\\prtprocs\\x64\\winprint.dll;"));
        EXPECT_FALSE(machine->Save());
    }
    monitorHeld(false);
    m.Reboot();
    EXPECT_FALSE(m.Exists(L"C:\\Windows\\System32\\cvlangmon.dll"));
    for (const wchar_t* kept :
         {L"C:\\Windows\\System32\\localspl.dll", L"C:\\Windows\\System32\\kernel32.dll",
          L"C:\\Windows\\System32\\spool\\prtprocs\\x64\\winprint.dll"})
        EXPECT_TRUE(m.Exists(kept)) << text::ToUtf8(kept);
    const std::wstring log = L"C:\\Program Files\\Halvex\\Norvane\\Norvane.log";
    for (const wchar_t* refused : {L"Local Port", L"Fake", L"winprint"})
        EXPECT_NE(m.Ini(log, refused, L"F1"), L"<missing>") << text::ToUtf8(refused);
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
        TestMachine m;
        CopyDemo(m, name);
        ApplyDamage(m, damage);
        const HeldRun run = RunHeldToTheOracle(m, command, text::FromUtf8(name));
        EXPECT_EQ(run.taken, std::vector<std::wstring>{});
        EXPECT_EQ(Beyond(intactRemovals, run.removed), std::vector<std::wstring>{});
    }
}

}  // namespace
}  // namespace norvane
