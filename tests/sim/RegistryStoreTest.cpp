#include "platform/sim/RegistryStore.h"

#include <gtest/gtest.h>

#include "platform/sim/Journal.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimRegistry.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
using platform::RegAccess;
using platform::RegType;
using platform::RegValue;
using platform::RootKey;

std::vector<std::wstring> Names(const std::vector<const RegKey*>& keys) {
    std::vector<std::wstring> names;
    for (const RegKey* key : keys)
        names.push_back(key->name);
    return names;
}

TEST(RegistryStore, RootNamesAndTheirShortForms) {
    RegistryStore store;
    RegKey* key = store.Create(L"HKLM\\SOFTWARE\\Corvida");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(store.Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida"), key);
    EXPECT_EQ(store.Find(L"hkey_local_machine\\software\\CORVIDA"), key);

    RegKey* clsid = store.Create(L"HKCR\\CLSID");
    EXPECT_EQ(store.Find(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID"), clsid);
    EXPECT_EQ(store.Find(L"HKEY_CLASSES_ROOT\\clsid"), clsid);

    store.Create(L"HKCU\\Printers");
    store.Create(L"HKU\\.DEFAULT");
    EXPECT_NE(store.Find(L"HKEY_CURRENT_USER\\Printers"), nullptr);
    EXPECT_NE(store.Find(L"HKEY_USERS\\.DEFAULT"), nullptr);
    EXPECT_EQ(store.Find(L"HKLM\\Printers"), nullptr);

    EXPECT_NE(store.Find(L"HKLM"), nullptr);
    EXPECT_EQ(store.Find(L"HKEY_CURRENT_CONFIG\\System"), nullptr);
    EXPECT_EQ(store.Create(L"HKEY_NOWHERE\\X"), nullptr);
    EXPECT_EQ(RegistryStore::CheckPath(L"HKEY_NOWHERE\\X"), win::kInvalidHandle);
    EXPECT_EQ(RegistryStore::CheckPath(L"HKLMX"), win::kInvalidHandle);
}

TEST(RegistryStore, KeepsTheFirstSpellingOfAName) {
    RegistryStore store;
    bool created = false;
    store.Create(L"HKLM\\Software\\Corvida", &created);
    EXPECT_TRUE(created);
    RegKey* again = store.Create(L"HKLM\\SOFTWARE\\CORVIDA", &created);
    EXPECT_FALSE(created);
    EXPECT_EQ(again->name, L"Corvida");
    EXPECT_EQ(store.Find(L"HKLM")->subkeys.begin()->second->name, L"Software");
}

TEST(RegistryStore, BackslashesAsRegOpenKeyExTakesThem) {
    RegistryStore store;
    RegKey* key = store.Create(L"HKLM\\SOFTWARE\\Corvida");
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida\\"), key);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida\\\\"), key);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\\\Corvida"), key);
    EXPECT_EQ(store.Find(L"HKLM\\"), store.Find(L"HKLM"));

    // A subkey path may not begin with a backslash, but HKEY_CLASSES_ROOT takes one.
    EXPECT_EQ(RegistryStore::CheckPath(L"HKLM\\\\SOFTWARE"), win::kBadPathname);
    EXPECT_EQ(store.Find(L"HKLM\\\\SOFTWARE\\Corvida"), nullptr);
    EXPECT_EQ(store.Create(L"HKCU\\\\Software"), nullptr);
    EXPECT_EQ(store.Find(L"HKCU\\Software"), nullptr);
    RegKey* clsid = store.Create(L"HKCR\\CLSID");
    EXPECT_EQ(RegistryStore::CheckPath(L"HKCR\\\\CLSID"), win::kSuccess);
    EXPECT_EQ(store.Find(L"HKCR\\\\CLSID"), clsid);
}

TEST(RegistryStore, DeleteAsRegDeleteKey) {
    RegistryStore store;
    store.Create(L"HKLM\\SOFTWARE\\Corvida\\Tools");
    EXPECT_EQ(store.Delete(L"HKLM\\SOFTWARE\\Corvida"), win::kAccessDenied);
    EXPECT_EQ(store.Delete(L"HKLM\\SOFTWARE\\Missing"), win::kFileNotFound);
    EXPECT_EQ(store.Delete(L"HKLM\\SOFTWARE\\Missing\\Deeper"), win::kFileNotFound);
    EXPECT_EQ(store.Delete(L"HKLM\\\\SOFTWARE"), win::kBadPathname);
    EXPECT_EQ(store.Delete(L"HKEY_NOWHERE\\SOFTWARE"), win::kInvalidHandle);
    EXPECT_EQ(store.Delete(L"HKLM"), win::kAccessDenied);
    EXPECT_EQ(store.Delete(L"HKLM\\"), win::kAccessDenied);

    EXPECT_EQ(store.Delete(L"hklm\\software\\corvida\\tools\\"), win::kSuccess);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida\\Tools"), nullptr);
    EXPECT_EQ(store.Delete(L"HKLM\\SOFTWARE\\Corvida"), win::kSuccess);
    EXPECT_NE(store.Find(L"HKLM\\SOFTWARE"), nullptr);
}

TEST(RegistryStore, DeleteTreeTakesEverythingBelow) {
    RegistryStore store;
    store.Create(L"HKCR\\CLSID\\{1}\\InprocServer32");
    store.Create(L"HKLM\\SOFTWARE\\Other");
    EXPECT_EQ(store.DeleteTree(L"HKLM\\SOFTWARE\\Classes"), win::kSuccess);
    EXPECT_EQ(store.Find(L"HKCR\\CLSID"), nullptr);
    EXPECT_NE(store.Find(L"HKLM\\SOFTWARE\\Other"), nullptr);
    EXPECT_EQ(store.DeleteTree(L"HKLM\\SOFTWARE\\Classes"), win::kFileNotFound);
    // HKEY_CLASSES_ROOT is a root to whoever names it, though stored below HKEY_LOCAL_MACHINE.
    store.Create(L"HKCR\\CLSID");
    EXPECT_EQ(store.DeleteTree(L"HKCR"), win::kAccessDenied);
    EXPECT_EQ(store.DeleteTree(L"HKEY_CURRENT_USER"), win::kAccessDenied);
    EXPECT_NE(store.Find(L"HKCR\\CLSID"), nullptr);
}

TEST(RegistryStore, ValuesByNameWithoutRegardToCase) {
    RegKey key;
    key.SetValue(L"Driver", RegValue::String(L"a.dll"));
    key.SetValue(L"", RegValue::String(L"default"));
    key.SetValue(L"Version", RegValue::Dword(3));
    ASSERT_NE(key.FindValue(L"DRIVER"), nullptr);
    EXPECT_EQ(key.FindValue(L"driver")->AsString(), L"a.dll");
    EXPECT_EQ(key.FindValue(L"")->AsString(), L"default");
    EXPECT_EQ(key.FindValue(L"Missing"), nullptr);

    // Setting again keeps the value's place and first spelling.
    key.SetValue(L"DRIVER", RegValue::String(L"b.dll"));
    ASSERT_EQ(key.values.size(), 3u);
    EXPECT_EQ(key.values[0].first, L"Driver");
    EXPECT_EQ(key.values[0].second.AsString(), L"b.dll");

    EXPECT_TRUE(key.DeleteValue(L"driver"));
    EXPECT_FALSE(key.DeleteValue(L"driver"));
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_EQ(key.values[0].first, L"");
}

TEST(RegistryStore, SubkeysInTheOrderWindowsEnumeratesThem) {
    RegistryStore store;
    for (const wchar_t* name : {L"Zeta", L"A_B", L"beta", L"AB", L"alpha", L"a[1]"}) {
        store.Create(std::wstring(L"HKLM\\SOFTWARE\\") + name);
    }
    // Windows compares upper-cased names: "_" (0x5F) and "[" (0x5B) come after the letters.
    EXPECT_EQ(Names(store.Find(L"HKLM\\SOFTWARE")->SubkeysInEnumOrder()),
              (std::vector<std::wstring>{L"AB", L"alpha", L"a[1]", L"A_B", L"beta", L"Zeta"}));
}

// The Registry service, checked call by call against what Windows returns.
class SimRegistryTest : public ::testing::Test {
protected:
    SimRegistryTest() {
        store.Create(L"HKLM\\SOFTWARE\\Corvida\\Tools");
        store.Create(L"HKLM\\SOFTWARE\\Corvida\\Drivers");
        RegKey* key = store.Find(L"HKLM\\SOFTWARE\\Corvida");
        key->SetValue(L"Path", RegValue::String(L"C:\\Corvida"));
        key->SetValue(L"Count", RegValue::Dword(2));
        key->SetValue(L"", RegValue::String(L"default"));
    }

    // The journal's lines without their time stamps.
    std::vector<std::wstring> Journaled() const {
        std::vector<std::wstring> lines;
        for (const auto& entry : journal.Entries()) {
            lines.push_back(entry.substr(entry.find(L' ', entry.find(L' ') + 1) + 1));
        }
        return lines;
    }

    RegistryStore store;
    SimClock clock{{2024, 5, 6, 7, 8, 9, 0}};
    Journal journal{"unused-journal.log", clock};
    std::vector<std::wstring> readOnlyKeys;
    SimRegistry registry{store, readOnlyKeys, journal};
};

TEST_F(SimRegistryTest, OpenKey) {
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida", RegAccess::Read),
              win::kSuccess);
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"software\\corvida\\", RegAccess::AllAccess),
              win::kSuccess);
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"", RegAccess::Read), win::kSuccess);
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"SOFTWARE\\Missing", RegAccess::Read),
              win::kFileNotFound);
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"\\SOFTWARE", RegAccess::Read),
              win::kBadPathname);
    EXPECT_EQ(registry.OpenKey(RootKey::CurrentUser, L"SOFTWARE\\Corvida", RegAccess::Read),
              win::kFileNotFound);
    store.Create(L"HKCR\\CLSID");
    EXPECT_EQ(registry.OpenKey(RootKey::ClassesRoot, L"\\CLSID", RegAccess::Read), win::kSuccess);
    EXPECT_TRUE(journal.Entries().empty());
}

TEST_F(SimRegistryTest, KeyNameAsStored) {
    std::wstring name;
    EXPECT_EQ(registry.KeyName(RootKey::LocalMachine, L"software\\CORVIDA", name), win::kSuccess);
    EXPECT_EQ(name, L"Corvida");
    EXPECT_EQ(registry.KeyName(RootKey::LocalMachine, L"SOFTWARE\\Missing", name),
              win::kFileNotFound);
}

TEST_F(SimRegistryTest, CreateKeyJournalsOnlyWhatItCreated) {
    bool created = false;
    EXPECT_EQ(
        registry.CreateKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida\\New\\Deeper", &created),
        win::kSuccess);
    EXPECT_TRUE(created);
    EXPECT_NE(store.Find(L"HKLM\\SOFTWARE\\Corvida\\New\\Deeper"), nullptr);
    EXPECT_EQ(registry.CreateKey(RootKey::LocalMachine, L"SOFTWARE\\CORVIDA\\NEW", &created),
              win::kSuccess);
    EXPECT_FALSE(created);
    EXPECT_EQ(registry.CreateKey(RootKey::LocalMachine, L"\\SOFTWARE\\X", &created),
              win::kBadPathname);
    EXPECT_EQ(registry.CreateKey(RootKey::CurrentUser, L"Software\\Corvida", nullptr),
              win::kSuccess);
    EXPECT_EQ(Journaled(), (std::vector<std::wstring>{
                               L"RegCreateKey HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\New\\Deeper",
                               L"RegCreateKey HKEY_LOCAL_MACHINE\\\\SOFTWARE\\X -> 161",
                               L"RegCreateKey HKEY_CURRENT_USER\\Software\\Corvida"}));
}

TEST_F(SimRegistryTest, DeleteKey) {
    EXPECT_EQ(registry.DeleteKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida"), win::kAccessDenied);
    EXPECT_EQ(registry.DeleteKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida\\Missing"),
              win::kFileNotFound);
    EXPECT_EQ(registry.DeleteKey(RootKey::LocalMachine, L""), win::kAccessDenied);
    EXPECT_EQ(registry.DeleteKey(RootKey::ClassesRoot, L""), win::kAccessDenied);
    EXPECT_EQ(registry.DeleteKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida\\Tools"),
              win::kSuccess);
    EXPECT_EQ(registry.OpenKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida\\Tools", RegAccess::Read),
              win::kFileNotFound);
    // Refusals are journaled with their errors, and change nothing.
    EXPECT_EQ(Journaled(),
              (std::vector<std::wstring>{
                  L"RegDeleteKey HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida -> 5",
                  L"RegDeleteKey HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Missing -> 2",
                  L"RegDeleteKey HKEY_LOCAL_MACHINE -> 5", L"RegDeleteKey HKEY_CLASSES_ROOT -> 5",
                  L"RegDeleteKey HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\Tools"}));
}

// A key whose security grants only reading: every way of changing it is refused, reading and
// the keys beside it are not.
TEST_F(SimRegistryTest, ReadOnlyKeyIsReadButNeverChanged) {
    readOnlyKeys = {L"HKEY_LOCAL_MACHINE\\software\\CORVIDA"};
    const RootKey hklm = RootKey::LocalMachine;
    const std::wstring key = L"SOFTWARE\\Corvida";
    RegValue value;
    struct Call {
        const char* what;
        platform::WinError error, expected;
    } calls[] = {
        {"open to read", registry.OpenKey(hklm, key, RegAccess::Read), win::kSuccess},
        {"open for all access", registry.OpenKey(hklm, key, RegAccess::AllAccess),
         win::kAccessDenied},
        {"query", registry.QueryValue(hklm, key, L"Path", 100, value), win::kSuccess},
        {"set", registry.SetValue(hklm, key, L"Path", RegValue::String(L"x")), win::kAccessDenied},
        {"delete value", registry.DeleteValue(hklm, key, L"Count"), win::kAccessDenied},
        {"create it", registry.CreateKey(hklm, key, nullptr), win::kAccessDenied},
        {"create below it", registry.CreateKey(hklm, key + L"\\New\\Deeper", nullptr),
         win::kAccessDenied},
        {"delete a subkey first", registry.DeleteKey(hklm, key + L"\\Tools"), win::kSuccess},
        {"delete it", registry.DeleteKey(hklm, key + L"\\Drivers"), win::kSuccess},
        {"delete it, now empty", registry.DeleteKey(hklm, key), win::kAccessDenied},
        {"its parent opens for all", registry.OpenKey(hklm, L"SOFTWARE", RegAccess::AllAccess),
         win::kSuccess},
    };
    for (const Call& call : calls)
        EXPECT_EQ(call.error, call.expected) << call.what;
    EXPECT_EQ(value.AsString(), L"C:\\Corvida");
    EXPECT_NE(store.Find(L"HKLM\\SOFTWARE\\Corvida"), nullptr);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida\\New"), nullptr);
}

TEST_F(SimRegistryTest, EnumKeyInWindowsOrderThenNoMoreItems) {
    store.Create(L"HKLM\\SOFTWARE\\Corvida\\Tool_Old");
    std::vector<std::wstring> names;
    std::wstring name;
    std::uint32_t index = 0;
    platform::WinError error;
    while ((error = registry.EnumKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida", index++, name)) ==
           win::kSuccess) {
        names.push_back(name);
    }
    EXPECT_EQ(error, win::kNoMoreItems);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Drivers", L"Tools", L"Tool_Old"}));
    EXPECT_EQ(registry.EnumKey(RootKey::LocalMachine, L"SOFTWARE\\Missing", 0, name),
              win::kFileNotFound);
    EXPECT_EQ(registry.EnumKey(RootKey::LocalMachine, L"SOFTWARE\\Corvida\\Tools", 0, name),
              win::kNoMoreItems);
}

TEST_F(SimRegistryTest, EnumValueInTheOrderOfSetting) {
    std::vector<std::wstring> names;
    std::wstring name;
    RegValue value;
    for (std::uint32_t i = 0; registry.EnumValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", i,
                                                 name, value) == win::kSuccess;
         ++i) {
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Path", L"Count", L""}));
    EXPECT_EQ(registry.EnumValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", 3, name, value),
              win::kNoMoreItems);
    EXPECT_EQ(registry.EnumValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", 1, name, value),
              win::kSuccess);
    EXPECT_EQ(value.data, RegValue::Dword(2).data);
    EXPECT_EQ(registry.EnumValue(RootKey::LocalMachine, L"SOFTWARE\\Missing", 0, name, value),
              win::kFileNotFound);
}

TEST_F(SimRegistryTest, QueryValueWithABuffer) {
    RegValue value;
    const auto path = RegValue::String(L"C:\\Corvida").data;
    const auto size = static_cast<std::uint32_t>(path.size());
    EXPECT_EQ(
        registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"PATH", size, value),
        win::kSuccess);
    EXPECT_EQ(value.type, RegType::Sz);
    EXPECT_EQ(value.data, path);

    value = {};
    EXPECT_EQ(
        registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"Path", size - 1, value),
        win::kMoreData);
    EXPECT_EQ(value.type, RegType::Sz);
    EXPECT_TRUE(value.data.empty());

    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"", 4096, value),
              win::kSuccess);
    EXPECT_EQ(value.AsString(), L"default");
    EXPECT_EQ(
        registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"Missing", 4096, value),
        win::kFileNotFound);
    EXPECT_EQ(
        registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Missing", L"Path", 4096, value),
        win::kFileNotFound);
    EXPECT_TRUE(journal.Entries().empty());
}

// A caller that passes an absurd buffer size fails as the allocation would; one that asks for
// the size first gets the whole value, however large, and never needs such a buffer.
TEST_F(SimRegistryTest, ValueOfUnknownSizeIsReadAtTheSizeItHas) {
    const auto large = RegValue::MultiString(std::vector<std::wstring>(300, L"\\??\\C:\\x.dll"));
    ASSERT_EQ(registry.SetValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"List", large),
              win::kSuccess);
    RegValue value;
    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"List", 0xFFFFFFFF,
                                  value),
              win::kNotEnoughMemory);
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValueSize(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"List", size),
              win::kSuccess);
    EXPECT_EQ(size, large.data.size());
    EXPECT_EQ(
        registry.QueryValueOfAnySize(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"List", value),
        win::kSuccess);
    EXPECT_EQ(value.type, RegType::MultiSz);
    EXPECT_EQ(value.data, large.data);
    EXPECT_EQ(registry.QueryValueOfAnySize(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"Missing",
                                           value),
              win::kFileNotFound);
}

TEST_F(SimRegistryTest, SetValueNeedsTheKeyAndJournalsTheData) {
    EXPECT_EQ(registry.SetValue(RootKey::LocalMachine, L"SOFTWARE\\Missing", L"Name",
                                RegValue::String(L"text")),
              win::kFileNotFound);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Missing"), nullptr);

    const wchar_t* key = L"SOFTWARE\\Corvida";
    EXPECT_EQ(registry.SetValue(RootKey::LocalMachine, key, L"Name", RegValue::String(L"text")),
              win::kSuccess);
    registry.SetValue(RootKey::LocalMachine, key, L"Count", RegValue::Dword(0x1234abcd));
    registry.SetValue(RootKey::LocalMachine, key, L"Expand",
                      RegValue::String(L"%SystemRoot%", RegType::ExpandSz));
    registry.SetValue(RootKey::LocalMachine, key, L"List", RegValue::MultiString({L"a", L"b"}));
    registry.SetValue(RootKey::LocalMachine, key, L"DevMode", {RegType::Binary, {1, 2, 3}});
    registry.SetValue(RootKey::LocalMachine, key, L"", RegValue::String(L""));

    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida")->FindValue(L"count")->data,
              RegValue::Dword(0x1234abcd).data);
    const std::wstring prefix = L"RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida ";
    EXPECT_EQ(Journaled(), (std::vector<std::wstring>{
                               L"RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing \"Name\" -> 2",
                               prefix + L"\"Name\" REG_SZ \"text\"",
                               prefix + L"\"Count\" REG_DWORD 0x1234abcd",
                               prefix + L"\"Expand\" REG_EXPAND_SZ \"%SystemRoot%\"",
                               prefix + L"\"List\" REG_MULTI_SZ \"a\" \"b\"",
                               prefix + L"\"DevMode\" REG_BINARY (3 bytes)",
                               prefix + L"\"\" REG_SZ \"\"",
                           }));
}

TEST_F(SimRegistryTest, DeleteValue) {
    EXPECT_EQ(registry.DeleteValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"Missing"),
              win::kFileNotFound);
    EXPECT_EQ(registry.DeleteValue(RootKey::LocalMachine, L"SOFTWARE\\Missing", L"Path"),
              win::kFileNotFound);
    EXPECT_EQ(registry.DeleteValue(RootKey::LocalMachine, L"SOFTWARE\\Corvida", L"path"),
              win::kSuccess);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Corvida")->FindValue(L"Path"), nullptr);
    EXPECT_EQ(Journaled(),
              (std::vector<std::wstring>{
                  L"RegDeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida \"Missing\" -> 2",
                  L"RegDeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing \"Path\" -> 2",
                  L"RegDeleteValue HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida \"path\""}));
}

}  // namespace
}  // namespace norvane::sim
