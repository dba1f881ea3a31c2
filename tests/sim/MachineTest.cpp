#include "platform/sim/Machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "harness/TestMachine.h"

namespace norvane::sim {
namespace {

std::string LoadError(testing::TestMachine& m) {
    MachineError error;
    EXPECT_EQ(Machine::Load(m.Folder(), {}, error), nullptr);
    return error.ToString().substr(m.Folder().string().size() + 1);
}

TEST(MachineTest, BadMachineNamesTheFileAndLine) {
    testing::TestMachine m;
    m.SetJson("{\n  \"threadLocale\": 1033,\n  \"administrator\": \"maybe\"\n}\n");
    EXPECT_EQ(LoadError(m),
              "machine.json:3: \"administrator\" must be true, false or \"filtered\"");
    m.SetJson("{\n  \"threadLocale\": 1033,\n  \"windowsDir\": \n}\n");
    EXPECT_EQ(LoadError(m).substr(0, 15), "machine.json:4:");
    m.SetJson("{\n \"colour\": {}\n}");
    EXPECT_EQ(LoadError(m), "machine.json:2: \"colour\" is not a setting this machine knows");
    m.SetJson("{}");
    m.SetRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n\"A\"=dword:zz\r\n");
    EXPECT_EQ(LoadError(m).substr(0, 15), "registry.reg:4:");
}

// Values that a damaged or hostile machine.json holds: each is refused with its line, and the
// program never starts on them.
TEST(MachineTest, HostileSettingsAreRefusedWithTheirLine) {
    const struct {
        const char* json;
        const char* error;
    } cases[] = {
        {"{\n \"osMajorVersion\": 1e400\n}",
         "machine.json:2: is not valid JSON: [json.exception.out_of_range.406] number overflow "
         "parsing '1e400'"},
        {"{\"jobs\": {}, \"x\": -1e999}",
         "machine.json:1: is not valid JSON: [json.exception.out_of_range.406] number overflow "
         "parsing '-1e999'"},
        {"{\n \"jobs\": {\"A\": 1,\n  \"B\": 4294967296}}",
         "machine.json:3: \"jobs\" must map printer names to whole numbers from 0 to 4294967295"},
        {"{\"jobs\": {\"A\": -1}}",
         "machine.json:1: \"jobs\" must map printer names to whole numbers from 0 to 4294967295"},
    };
    testing::TestMachine m;
    for (const auto& c : cases) {
        m.SetJson(c.json);
        EXPECT_EQ(LoadError(m), c.error) << c.json;
    }
    // Times that no clock shows.
    for (const char* time : {"2026-02-31T09:15:00", "2025-02-29T09:15:00", "2026-04-31T00:00:00",
                             "-001-03-02T09:15:00", "2026-03-02T-1:15:00", "2026-03-02T09:-5:00",
                             "2026-03-02T09:15:-1", "0000-01-01T00:00:00", "2026-03-00T09:15:00"}) {
        m.SetJson(std::string("{\"localTime\":\n \"") + time + "\"}");
        EXPECT_EQ(LoadError(m),
                  "machine.json:1: \"localTime\" must be a time such as \"2026-03-02T09:15:00\"")
            << time;
    }
    m.SetJson(R"({"localTime": "2024-02-29T23:59:59"})");
    MachineError error;
    EXPECT_NE(Machine::Load(m.Folder(), {}, error), nullptr) << error.ToString();
}

TEST(MachineTest, MissingPartsAreReportedAndNothingIsWritten) {
    testing::TestMachine m;
    std::filesystem::remove_all(m.Folder() / "drive_c");
    EXPECT_EQ(LoadError(m), "drive_c: the C: drive folder is missing");
    std::filesystem::remove(m.Folder() / "machine.json");
    EXPECT_EQ(LoadError(m), "machine.json: cannot be read");
    EXPECT_FALSE(std::filesystem::exists(m.Folder() / "journal.log"));
}

TEST(MachineTest, UnchangedRegistryIsNotRewritten) {
    testing::TestMachine m;
    const std::string original =
        "Windows Registry Editor Version 5.00\r\n\r\n; a comment the program never wrote\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n\"A\"=\"1\"\r\n";
    m.SetRegistry(
        "; a comment the program never "
        "wrote\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n\"A\"=\"1\"\r\n");
    EXPECT_FALSE(m.Load()->Save());
    std::ifstream in(m.Folder() / "registry.reg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);
}

TEST(MachineTest, ChangesAreSavedAndJournaled) {
    testing::TestMachine m;
    m.SetJson(R"({"localTime": "2026-03-02T09:15:00"})");
    {
        auto machine = m.Load();
        auto& registry = machine->Platform().registry;
        ASSERT_EQ(
            registry.CreateKey(platform::RootKey::LocalMachine, L"SOFTWARE\\Corvida", nullptr), 0u);
        machine->Platform().clock.Sleep(1500);
        EXPECT_FALSE(machine->Save());
    }
    auto again = m.Load();
    EXPECT_EQ(again->Platform().registry.OpenKey(platform::RootKey::LocalMachine,
                                                 L"software\\corvida", platform::RegAccess::Read),
              0u);
    std::ifstream in(m.Folder() / "journal.log");
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first.substr(0, 24), "2026-03-02 09:15:00.000 ");
    EXPECT_EQ(second, "2026-03-02 09:15:01.500 Sleep 1500");
}

TEST(MachineTest, FoldersLongerThanWindowsAllowsAreRefused) {
    testing::TestMachine m;
    auto machine = m.Load();
    auto& files = machine->Platform().files;
    // MAX_PATH - 12 characters counting the terminating null: 247 without it.
    const std::wstring longest = L"C:\\" + std::wstring(244, L'a');
    EXPECT_EQ(files.CreateDirectory(longest), 0u);
    EXPECT_EQ(files.CreateDirectory(longest + L"\\b"), platform::win::kFilenameExcedRange);
    EXPECT_EQ(files.CreateDirectory(L"C:\\" + std::wstring(245, L'a')),
              platform::win::kFilenameExcedRange);
    EXPECT_FALSE(files.PathIsDirectory(longest + L"\\b"));
}

// A save that cannot write a file says which one and leaves it as it was; the next save that
// can write it writes everything.
TEST(MachineTest, FailedSaveNamesTheFileAndKeepsItWhole) {
    const struct {
        const char* blocked;  // made a folder, where the save writes
        const char* file;
        const char* error;
    } cases[] = {
        {"registry.reg.saving", "registry.reg", "registry.reg: cannot be written"},
        {"machine.json.saving", "machine.json", "machine.json: cannot be written"},
        {"journal.log", "journal.log", "journal.log: cannot be appended to"},
    };
    const auto read = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const auto& c : cases) {
        testing::TestMachine m;
        m.SetJson(R"({"jobs": {"Office": 2}})");
        const std::string before = read(m.Folder() / c.file);
        auto machine = m.Load();
        ASSERT_EQ(machine->Platform().registry.CreateKey(platform::RootKey::LocalMachine,
                                                         L"SOFTWARE\\Corvida", nullptr),
                  0u);
        machine->Config().jobs.clear();
        std::filesystem::create_directory(m.Folder() / c.blocked);
        const auto failed = machine->Save();
        ASSERT_TRUE(failed) << c.file;
        EXPECT_EQ(failed->ToString().substr(m.Folder().string().size() + 1), c.error);
        if (std::filesystem::is_regular_file(m.Folder() / c.file)) {
            EXPECT_EQ(read(m.Folder() / c.file), before) << c.file;
        }

        std::filesystem::remove(m.Folder() / c.blocked);
        EXPECT_FALSE(machine->Save()) << c.file;
        EXPECT_NE(read(m.Folder() / "registry.reg").find("Corvida"), std::string::npos);
        EXPECT_EQ(read(m.Folder() / "machine.json").find("Office"), std::string::npos);
        EXPECT_NE(read(m.Folder() / "journal.log").find("RegCreateKey"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(m.Folder() / "registry.reg.saving"));
        EXPECT_FALSE(std::filesystem::exists(m.Folder() / "machine.json.saving"));
    }
}

TEST(MachineTest, FilesMatchWithoutRegardToCase) {
    testing::TestMachine m;
    m.WriteFile(L"C:\\Windows\\INF\\oem3.inf", "x");
    m.WriteFile(L"C:\\Windows\\INF\\OEM12.INF", "x");
    m.WriteFile(L"C:\\Windows\\INF\\machine.inf", "x");
    auto machine = m.Load();
    auto& files = machine->Platform().files;
    std::vector<platform::FindEntry> found;
    ASSERT_EQ(files.Find(L"c:\\windows\\inf\\OEM*.inf", found), 0u);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, L"OEM12.INF");
    EXPECT_EQ(files.Find(L"C:\\Windows\\inf\\none*.inf", found), platform::win::kFileNotFound);
    ASSERT_EQ(files.CreateDirectory(L"C:\\Empty"), 0u);
    EXPECT_EQ(files.Find(L"C:\\Empty\\*", found), 0u);  // "." and ".." are there
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(files.PathFileExists(L"C:/WINDOWS/inf/Oem3.INF"));
    EXPECT_TRUE(files.PathIsDirectory(L"C:\\windows\\inf\\"));
    EXPECT_EQ(files.CreateDirectory(L"C:\\Windows\\Inf"), platform::win::kAlreadyExists);
    EXPECT_EQ(files.CreateDirectory(L"C:\\No\\Such"), platform::win::kPathNotFound);
    EXPECT_EQ(files.RemoveDirectory(L"C:\\Windows\\inf"), platform::win::kDirNotEmpty);
    EXPECT_EQ(files.DeleteFile(L"C:\\Windows\\inf\\OEM3.inf"), 0u);
    EXPECT_EQ(files.DeleteFile(L"C:\\Windows\\inf\\OEM3.inf"), platform::win::kFileNotFound);
    EXPECT_EQ(files.DeleteFile(L"\\\\server\\share\\x"), platform::win::kPathNotFound);
}

}  // namespace
}  // namespace norvane::sim
