// The work list a removal leaves when it is cut off: any name reads back as it was written, a cut
// value never yields a cut name, and a damaged or hostile list takes nothing outside the package.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "harness/DemoMachine.h"
#include "harness/MachineInventory.h"
#include "harness/TestMachine.h"
#include "removal/WorkList.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::TestMachine;

// Names with every character but the null, the fields' own letters and the count's among them.
TEST(WorkListTest, NamesReadBackWholeAndACutValueNeverYieldsACutName) {
    std::wstring every;
    for (wchar_t c = 1; c < 0xD800; c += 97)
        every += c;
    WorkList list;
    list.saveSettings = true;
    list.printers = {every, L"Z2", L"D"};
    const int kDrivers = 3000;
    for (int i = 0; i < kDrivers; ++i) {
        const std::wstring n = std::to_wstring(i);
        list.drivers.push_back({L"D" + every + n, L"F" + n, L"H\\" + n, i % 2 ? L"" : L"M" + n,
                                i % 2 ? L"" : L"C:\\m" + n, L"Z" + n, L"oem" + n + L".inf"});
    }
    const std::vector<std::wstring> strings = EncodeWorkList(list);
    std::size_t characters = 1;
    for (const auto& item : strings)
        characters += item.size() + 1;
    EXPECT_LE(characters, kWorkListBound);
    ASSERT_GT(list.leftOut, 0u) << "the drivers were meant to overflow the bound";

    const ReadWorkListResult whole = DecodeWorkList(strings);
    EXPECT_EQ(whole.problems, std::vector<std::wstring>{});
    EXPECT_TRUE(whole.list.saveSettings);
    EXPECT_EQ(whole.list.printers, list.printers);
    ASSERT_EQ(whole.list.drivers.size() + list.leftOut, list.drivers.size());
    for (std::size_t i = 0; i < whole.list.drivers.size(); ++i)
        ASSERT_EQ(whole.list.drivers[i], list.drivers[i]) << i;

    // Cut inside each of the last strings, and inside the printers: what is read is whole items
    // of the list, never a driver or printer with a cut field, and the cut is said.
    std::vector<std::size_t> cuts{3, 4, 5};
    for (std::size_t drop = 1; drop <= 9; ++drop)
        cuts.push_back(strings.size() - drop);
    for (const std::size_t size : cuts) {
        for (const std::size_t keep : {std::size_t{1}, strings[size - 1].size() / 2}) {
            std::vector<std::wstring> cut(strings.begin(), strings.begin() + size);
            cut.back().resize(keep);
            const ReadWorkListResult read = DecodeWorkList(cut);
            EXPECT_FALSE(read.problems.empty());
            ASSERT_LE(read.list.printers.size(), list.printers.size());
            for (std::size_t i = 0; i < read.list.printers.size(); ++i)
                ASSERT_EQ(read.list.printers[i], list.printers[i]) << size << " " << keep;
            for (std::size_t i = 0; i < read.list.drivers.size(); ++i)
                ASSERT_EQ(read.list.drivers[i], list.drivers[i]) << size << " " << keep;
        }
    }
}

constexpr wchar_t kMakerKey[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida";
constexpr wchar_t kCommand[] = L"/s /x Corvida Model A,Corvida Model B";
// The cut: every driver is gone, with its package, and no leftover yet.
constexpr std::uint64_t kCut = 33;
constexpr wchar_t kLeftover[] = L"C:\\ProgramData\\Corvida\\Drv\\CVMB";

std::vector<std::wstring> Stored(TestMachine& m) {
    auto machine = m.Load();
    const sim::RegKey* key = machine->Registry().Find(kMakerKey);
    const platform::RegValue* value = key ? key->FindValue(L"NorvaneWorkList") : nullptr;
    return value ? value->AsMultiString() : std::vector<std::wstring>{};
}

void Store(TestMachine& m, const platform::RegValue& value) {
    auto machine = m.Load();
    machine->Registry().Create(kMakerKey)->SetValue(L"NorvaneWorkList", value);
    ASSERT_FALSE(machine->Save());
}

struct Damaged {
    const char* why;
    // The stored list as the row leaves it.
    std::function<platform::RegValue(std::vector<std::wstring>)> damage;
    bool finishesTheRest;  // the list's other items are still finished
    int exitCode;          // with "/e": what was finished counts as the run's own
};

// Ahead of the list's own records: one for a driver of the package that names what Windows
// owns (the first record of a name counts, the list's own is then one too many), and a driver and
// a printer that are not the package's.
std::vector<std::wstring> Hostile(std::vector<std::wstring> list) {
    const std::vector<std::wstring> records = {
        L"DCorvida Model A",
        L"FMicrosoft",
        L"HUSBPRINT\\3",
        L"MStandard TCP/IP Port",
        L"mC:\\Windows\\System32\\tcpmon.dll",
        L"Pwinprint",
        L"DMicrosoft Print To PDF",
        L"RMicrosoft Print to PDF",
    };
    list.insert(list.begin() + 2, records.begin(), records.end());
    list.back() = L"Z" + std::to_wstring(list.size() - 1);
    return list;
}

TEST(WorkListTest, ADamagedOrHostileListTakesNothingOutsideThePackage) {
    const Damaged table[] = {
        {"cut short: the count is gone and the last name is cut",
         [](std::vector<std::wstring> list) {
             list.pop_back();
             list.back().resize(list.back().size() / 2);
             return platform::RegValue::MultiString(list);
         },
         true, 0},
        {"names outside the package",
         [](auto list) { return platform::RegValue::MultiString(Hostile(list)); }, true, 1},
        {"a list from an older format",
         [](std::vector<std::wstring> list) {
             list.front() = L"Norvane work list 0";
             return platform::RegValue::MultiString(list);
         },
         false, 2},
        {"an empty list", [](auto) { return platform::RegValue::MultiString({}); }, false, 2},
        {"not a list of strings",
         [](auto) { return platform::RegValue::String(L"Corvida Model A"); }, false, 2},
    };
    TestMachine whole;
    testing::CopyDemo(whole);
    whole.WriteFile(L"C:\\ProgramData\\Microsoft\\Windows.dat", "Windows' own");
    const std::set<std::wstring> before = testing::Inventory(whole);
    whole.Run(kCommand);
    const std::vector<std::wstring> package = testing::Removed(before, testing::Inventory(whole));
    const std::set<std::wstring> packageSet(package.begin(), package.end());

    for (const Damaged& row : table) {
        SCOPED_TRACE(row.why);
        TestMachine m;
        testing::CopyDemo(m);
        m.WriteFile(L"C:\\ProgramData\\Microsoft\\Windows.dat", "Windows' own");
        ASSERT_TRUE(m.RunCutOff(kCommand, kCut));
        ASSERT_TRUE(m.Exists(kLeftover));
        const std::vector<std::wstring> stored = Stored(m);
        ASSERT_FALSE(stored.empty());
        Store(m, row.damage(stored));
        const auto run = m.Run(std::wstring(L"/e ") + kCommand);

        for (const auto& path : testing::Removed(before, testing::Inventory(m)))
            EXPECT_TRUE(packageSet.contains(path)) << "outside the package: " << text::ToUtf8(path);
        EXPECT_NE(m.Ini(run.logFile, L"ResumedResult", L"Skipped1"), L"<missing>");
        EXPECT_EQ(Stored(m), std::vector<std::wstring>{}) << "the list outlived the run";
        EXPECT_EQ(m.Exists(kLeftover), !row.finishesTheRest);
        EXPECT_EQ(run.exitCode, row.exitCode);
    }
}

}  // namespace
}  // namespace norvane
