// The capture of a PC's printing state (capture/), over simulated machines: a removal replayed on
// the capture does what it does on the machine captured, and the capture changes nothing there.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "capture/CaptureFiles.h"
#include "capture/CaptureProgram.h"
#include "capture/CaptureWriter.h"
#include "harness/CaseStride.h"
#include "harness/DemoMachine.h"
#include "harness/TestMachine.h"
#include "platform/preview/PreviewFileSystem.h"
#include "platform/preview/PreviewRegistry.h"
#include "support/Text.h"

namespace norvane {
namespace {

namespace fs = std::filesystem;
using testing::TestMachine;

// Every file of a folder with its bytes, links followed as the simulated drive follows them.
std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::ostringstream bytes;
            bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            files[fs::relative(entry.path(), folder)] = bytes.str();
        }
    }
    return files;
}

// The machine's registry and files as the capture sees them, through the preview layer, which
// records every change instead of making it (the capture must make none): one key the user may
// not open, and one file another program holds open without sharing it.
class DeniedKey final : public preview::PreviewRegistry {
public:
    DeniedKey(platform::Registry& machine, preview::ChangeList& changes, std::wstring key)
        : PreviewRegistry(machine, changes), m_key(std::move(key)) {}

    using WinError = platform::WinError;
    using RootKey = platform::RootKey;
    WinError OpenKey(RootKey root, const std::wstring& path, platform::RegAccess access) override {
        return Denied(path) ? kDenied : PreviewRegistry::OpenKey(root, path, access);
    }
    WinError EnumKey(RootKey root, const std::wstring& path, std::uint32_t index,
                     std::wstring& name) override {
        return Denied(path) ? kDenied : PreviewRegistry::EnumKey(root, path, index, name);
    }
    WinError QueryValue(RootKey root, const std::wstring& path, const std::wstring& name,
                        std::uint32_t maxBytes, platform::RegValue& value) override {
        return Denied(path) ? kDenied
                            : PreviewRegistry::QueryValue(root, path, name, maxBytes, value);
    }
    WinError EnumValue(RootKey root, const std::wstring& path, std::uint32_t index,
                       std::wstring& name, platform::RegValue& value) override {
        return Denied(path) ? kDenied : PreviewRegistry::EnumValue(root, path, index, name, value);
    }

private:
    static constexpr WinError kDenied = platform::win::kAccessDenied;
    bool Denied(const std::wstring& path) const { return text::EqualsNoCase(path, m_key); }
    std::wstring m_key;
};

class LockedFile final : public preview::PreviewFileSystem {
public:
    LockedFile(platform::FileSystem& machine, preview::ChangeList& changes, std::wstring file)
        : PreviewFileSystem(machine, changes, L""), m_file(std::move(file)) {}

    platform::WinError ReadFile(const std::wstring& path,
                                std::vector<std::uint8_t>& bytes) override {
        return text::EqualsNoCase(path, m_file) ? platform::win::kSharingViolation
                                                : PreviewFileSystem::ReadFile(path, bytes);
    }

private:
    std::wstring m_file;
};

struct Captured {
    int status = 0;
    std::vector<std::wstring> lines, errors;
};

// norvane-machine capture: the machine loaded and never saved, and no change asked of it.
Captured Capture(TestMachine& machine, const fs::path& folder,
                 std::vector<std::wstring> switches = {}, const std::wstring& deniedKey = L"",
                 const std::wstring& lockedFile = L"") {
    Captured out;
    auto loaded = machine.Load();
    platform::Platform& services = loaded->Platform();
    preview::ChangeList changes;
    DeniedKey registry(services.registry, changes, deniedKey);
    LockedFile files(services.files, changes, lockedFile);
    platform::Platform guarded{
        services.spooler,  registry,        services.profile,   files,          services.processes,
        services.security, services.system, services.resources, services.clock, services.ui};
    out.status =
        capture::RunCapture(guarded, services.system.ModuleFileName(), L"9.9.9",
                            text::FromUtf8(folder.string()), switches, out.lines, out.errors);
    EXPECT_EQ(changes.Entries(), std::vector<std::wstring>{});
    return out;
}

// A run's journal and log without the log's date and time, which differ from run to run.
std::vector<std::wstring> Timeless(TestMachine& m, const testing::RunResult& run) {
    std::vector<std::wstring> lines;
    for (const auto& entry : run.journal) {
        if (entry.find(L"[Date]") == std::wstring::npos)
            lines.push_back(entry);
    }
    std::istringstream log(m.ReadFile(run.logFile));
    for (std::string line; std::getline(log, line);) {
        if (!line.starts_with("LogDate=") && !line.starts_with("LogTime="))
            lines.push_back(L"log: " + text::FromUtf8(line));
    }
    return lines;
}

// The demo machine, and machines with random damage to their driver data and an odd driver name
// (those the damage tables remove from), each captured, then the same silent removal run on the
// machine and on its capture: the same journal, the same log. The uninstallers are not captured,
// so the removal leaves the utilities alone (no /u).
TEST(CaptureTest, ARemovalOnTheCaptureDoesWhatItDoesOnTheMachine) {
    const std::vector<std::string> names = {"Corvida Model B PS", "Corvida=Model B PS",
                                            "Corvida Model B PS.", "[Corvida Model B PS"};
    const std::vector<std::wstring> commands = {L"/s /x Corvida Model A", L"/s /x Corvida Model B",
                                                L"/s /x Corvida Model A,Corvida Model B /n",
                                                L"/s /x Corvida Model A,Corvida Model B"};
    std::mt19937 random(20261210);
    for (int n = 0; n < 16; ++n) {
        const auto damage = n < 4 ? std::vector<testing::Damage>{} : testing::RandomDamage(random);
        const std::string name = names[random() % names.size()];
        const std::wstring command = commands[n % commands.size()];
        if (n % testing::CaseStride() != 0)
            continue;
        SCOPED_TRACE("case " + std::to_string(n) + ", " + name + ", " + text::ToUtf8(command));
        TestMachine original, replay;
        testing::CopyDemo(original, name);
        testing::ApplyDamage(original, damage);
        const auto before = Snapshot(original.Folder());
        const fs::path folder = replay.Folder().string() + "-capture";
        const Captured captured = Capture(original, folder);
        ASSERT_EQ(captured.status, capture::kCaptured);
        EXPECT_EQ(Snapshot(original.Folder()), before);
        replay.CopyFrom(folder);
        fs::remove_all(folder);
        const auto there = original.Run(command);
        const auto here = replay.Run(command);
        EXPECT_EQ(Timeless(replay, here), Timeless(original, there));
    }
}

}  // namespace
}  // namespace norvane

namespace norvane {
namespace {

constexpr wchar_t kModelAKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Corvida Model A";

// What the capture refuses, and what it records and goes past: a folder that is not empty or
// not a folder is left as it was; a name from the machine that Windows would read otherwise is
// listed as not read, and nothing is written for it, inside the folder or outside it.
TEST(CaptureTest, RefusesWhatItMustAndRecordsWhatItCannotRead) {
    struct Row {
        const char* what;
        std::function<void(TestMachine&, const fs::path&)> prepare;
        std::vector<std::wstring> switches;
        int status;
        std::vector<std::wstring> unread;  // the summary's lines that must be there
        std::wstring deniedKey = L"", lockedFile = L"";
    };
    const std::vector<Row> rows = {
        {"a folder holding a file",
         [](TestMachine&, const fs::path& folder) {
             fs::create_directories(folder);
             std::ofstream(folder / "notes.txt") << "kept";
         },
         {},
         capture::kNotEmpty,
         {}},
        {"a file",
         [](TestMachine&, const fs::path& folder) { std::ofstream(folder) << "kept"; },
         {},
         capture::kNotEmpty,
         {}},
        {"an unknown switch", [](TestMachine&, const fs::path&) {}, {L"/q"}, capture::kUsage, {}},
        {"two choices",
         [](TestMachine&, const fs::path&) {},
         {L"/all", L"/d", L"Corvida Model A"},
         capture::kUsage,
         {}},
        {"hostile names",
         [](TestMachine& m, const fs::path&) {
             testing::ApplyDamage(m, {{std::wstring(testing::kDemoDriversKey) + L"Corvida Model A",
                                       L"Data File", L"..\\..\\..\\..\\..\\escaped.txt"}});
             m.WriteFile(L"C:\\Program Files\\Halvex\\Norvane\\ISS\\CON", "a device's name");
         },
         {L"/all"},
         capture::kCaptured,
         {L"  path ..\\..\\..\\..\\..\\escaped.txt: not a plain path",
          L"  name C:\\Program Files\\Halvex\\Norvane\\ISS\\CON: not a plain name"}},
        {"a key it may not open and a file held open",
         [](TestMachine&, const fs::path&) {},
         {},
         capture::kCaptured,
         {L"  key HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"
          L"Corvida Model B: error 5",
          L"  file C:\\Program Files\\Halvex\\Norvane\\ISS\\StatusMonitor.iss: error 32"},
         L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Corvida Model B",
         L"C:\\Program Files\\Halvex\\Norvane\\ISS\\StatusMonitor.iss"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TestMachine m;
        testing::CopyDemo(m);
        const fs::path folder = m.Folder().string() + "-capture";
        row.prepare(m, folder);
        const auto before = fs::exists(folder) && fs::is_directory(folder)
                                ? Snapshot(folder)
                                : decltype(Snapshot(folder)){};
        const Captured captured = Capture(m, folder, row.switches, row.deniedKey, row.lockedFile);
        EXPECT_EQ(captured.status, row.status);
        for (const auto& line : row.unread)
            EXPECT_NE(std::find(captured.lines.begin(), captured.lines.end(), line),
                      captured.lines.end())
                << text::ToUtf8(line);
        if (row.status == capture::kCaptured) {
            EXPECT_EQ(captured.errors, std::vector<std::wstring>{});
            EXPECT_FALSE(fs::exists(folder / "escaped.txt"));
            EXPECT_FALSE(fs::exists(fs::path(m.Folder()).parent_path() / "escaped.txt"));
            EXPECT_TRUE(fs::exists(folder / "machine.json"));
            // What could not be read is neither in the capture nor an empty stand-in for it.
            if (!row.deniedKey.empty()) {
                std::ifstream reg(folder / "registry.reg", std::ios::binary);
                const std::string text{std::istreambuf_iterator<char>(reg), {}};
                EXPECT_EQ(text.find("Printers\\Corvida Model B]"), std::string::npos);
                EXPECT_FALSE(fs::exists(folder / "drive_c/Program Files/Halvex/Norvane/ISS/"
                                                 "StatusMonitor.iss"));
            }
        } else if (fs::is_directory(folder)) {
            EXPECT_EQ(Snapshot(folder), before);
            EXPECT_FALSE(captured.errors.empty());
        }
        fs::remove_all(folder);
    }
    // Without a folder named apart, a switch the program does not know is no folder's name.
    TestMachine m;
    testing::CopyDemo(m);
    auto loaded = m.Load();
    std::vector<std::wstring> lines, errors;
    EXPECT_EQ(capture::RunCapture(loaded->Platform(), loaded->Platform().system.ModuleFileName(),
                                  L"9.9.9", std::nullopt, {L"-q"}, lines, errors),
              capture::kUsage);
    EXPECT_FALSE(fs::exists("-q"));
}

// machine.json's facts come back as the simulator reads them, a name with quotes and
// backslashes included; a printer's DEVMODE keeps its size and header and loses its settings, its
// driver-private data its values, and a capability file a driver names outside the drivers folder
// (a user's file) all but its size.
TEST(CaptureTest, TheFactsReadBackAndTheSettingsStayBehind) {
    TestMachine m, replay;
    testing::CopyDemo(m);
    testing::PatchJson(
        m, R"({"computerName": "FRONT \"DESK\"\\2\t\u00c4", "jobs": {"Corvida Model B": 3},
                              "threadLocale": 1041, "osMajorVersion": 6, "administrator": false})");
    const std::wstring userFile = L"C:\\Users\\Public\\Documents\\private.CAP";
    m.WriteFile(userFile, "[SEC_CAPABILITY]");
    testing::ApplyDamage(
        m, {{std::wstring(testing::kDemoDriversKey) + L"Corvida Model B", L"Data File", userFile}});
    const std::wstring driverData = std::wstring(kModelAKey) + L"\\PrinterDriverData";
    {
        auto machine = m.Load();
        machine->Registry()
            .Create(driverData)
            ->SetValue(L"AccountCode", platform::RegValue::String(L"4711"));
        ASSERT_FALSE(machine->Save());
    }
    const fs::path folder = replay.Folder().string() + "-capture";
    ASSERT_EQ(Capture(m, folder).status, capture::kCaptured);
    replay.CopyFrom(folder);
    fs::remove_all(folder);
    EXPECT_EQ(replay.ReadFile(userFile), std::string(16, '\0'));
    auto original = m.Load();
    auto captured = replay.Load();
    ASSERT_NE(captured, nullptr);
    const sim::MachineConfig& facts = captured->Config();
    EXPECT_EQ(facts.computerName, L"FRONT \"DESK\"\\2\t\u00c4");
    EXPECT_EQ(facts.jobs.at(L"Corvida Model B"), 3u);
    EXPECT_EQ(facts.threadLocale, 1041u);
    EXPECT_EQ(facts.osMajorVersion, 6u);
    EXPECT_EQ(facts.administrator, sim::AdministratorToken::None);
    EXPECT_EQ(facts.program, original->Config().program);
    EXPECT_EQ(facts.fileVersion, original->Config().fileVersion);

    ASSERT_NE(captured->Registry().Find(driverData), nullptr);
    EXPECT_EQ(captured->Registry().Find(driverData)->FindValue(L"AccountCode"), nullptr);
    const auto& kept = original->Registry().Find(kModelAKey)->FindValue(L"Default DevMode")->data;
    const auto& written =
        captured->Registry().Find(kModelAKey)->FindValue(L"Default DevMode")->data;
    ASSERT_EQ(written.size(), kept.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.begin() + 72, written.begin()));
    EXPECT_EQ(std::count(written.begin() + 72, written.end(), 0), written.size() - 72);
    EXPECT_NE(std::count(kept.begin() + 72, kept.end(), 0), kept.size() - 72);
}

// Only a path Windows takes as written on the C: drive becomes a file of the capture: a name from
// the machine that Windows reads otherwise never reaches past drive_c/. Folders met in another
// letter case are one folder, and a placeholder stands for a file of any size without its bytes.
TEST(CaptureTest, TheWriterKeepsToPlainPathsOnTheDrive) {
    TestMachine scratch;
    const fs::path root = scratch.Folder() / "scope", folder = root / "capture";
    fs::create_directories(folder);
    capture::CaptureWriter writer(folder);
    struct Row {
        const wchar_t* path;
        bool written;
    };
    // Which names Windows takes as written is WinPathTest's; here, that the writer asks it, and
    // keeps to drive C:.
    const Row rows[] = {
        {L"C:\\Data\\a.txt", true},
        {L"c:\\DATA\\b.txt", true},
        {L"C:\\Data\\..\\..\\x.txt", false},
        {L"D:\\x.txt", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(text::ToUtf8(row.path));
        EXPECT_EQ(writer.Placeholder(row.path, 3), row.written);
        EXPECT_EQ(writer.Holds(row.path), row.written);
    }
    EXPECT_EQ(writer.Counts().unread.size(), 2u);
    EXPECT_TRUE(writer.Counts().unwritten.empty());
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files.push_back(fs::relative(entry.path(), root));
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files,
              (std::vector<fs::path>{"capture", "capture/drive_c", "capture/drive_c/Data",
                                     "capture/drive_c/Data/a.txt", "capture/drive_c/Data/b.txt"}));
    const std::uint64_t big = (std::uint64_t{1} << 32) + 1;
    ASSERT_TRUE(writer.Placeholder(L"C:\\Data\\big.bin", big));
    EXPECT_EQ(fs::file_size(folder / "drive_c/Data/big.bin"), big);
    EXPECT_EQ(writer.Counts().placeholderBytes, 2 * 3 + big);
}

// A capture written inside the program folder (the default folder, where it is started from
// there) is not copied into itself.
TEST(CaptureTest, TheCaptureLeavesItsOwnFolderOut) {
    TestMachine m, scratch;
    testing::CopyDemo(m);
    const std::wstring output = std::wstring(testing::kProgramFolder) + L"NorvaneCapture-PC";
    m.WriteFile(output + L"\\registry.reg", "a capture under way");
    auto machine = m.Load();
    platform::Platform& platform = machine->Platform();
    const PackageConfig config(platform.profile,
                               std::wstring(testing::kProgramFolder) + L"config.ini");
    capture::CaptureWriter writer(scratch.Folder() / "capture");
    capture::CaptureFiles(platform, config, platform.system.ModuleFileName(), std::nullopt, output,
                          writer);
    EXPECT_TRUE(writer.Holds(std::wstring(testing::kProgramFolder) + L"config.ini"));
    EXPECT_FALSE(writer.Holds(output));
    EXPECT_FALSE(writer.Holds(output + L"\\registry.reg"));
}

}  // namespace
}  // namespace norvane
