#include "capture/CaptureFiles.h"

#include <unordered_map>
#include <unordered_set>

#include "inventory/Records.h"
#include "platform/SpoolerRefusals.h"
#include "removal/Cleanup.h"
#include "removal/DriverPackages.h"
#include "removal/InfFile.h"
#include "removal/LeftoverPaths.h"
#include "support/WinPath.h"

namespace norvane::capture {
namespace {

namespace win = platform::win;
using platform::RootKey;

constexpr std::size_t kPathCapacity = 32767;

enum class Contents { Whole, Placeholder };

bool EndsWith(const std::wstring& path, std::wstring_view extension) {
    return path.size() >= extension.size() &&
           text::EqualsNoCase(std::wstring_view(path).substr(path.size() - extension.size()),
                              extension);
}

// A driver's capability file, which the program reads, goes whole, but only from the spooler's
// drivers folder, where a driver's files lie: a driver that names a file elsewhere (a user's
// document) must not carry it off the PC.
Contents DriverFileContents(const std::wstring& path, const std::wstring& driversFolder) {
    return EndsWith(path, L".CAP") && path::IsAtOrBelow(path::ComparablePath(path),
                                                        path::ComparablePath(driversFolder))
               ? Contents::Whole
               : Contents::Placeholder;
}

class FileCapture {
public:
    FileCapture(platform::Platform& platform, CaptureWriter& writer,
                const std::wstring& outputFolder)
        : m_platform(platform), m_writer(writer), m_output(path::ComparablePath(outputFolder)) {}

    // A folder and everything below it. A junction is kept as a folder and not followed: what
    // it leads to lies elsewhere on the drive, and a cycle would never end.
    void Tree(const std::wstring& root, Contents contents) {
        if (root.empty() || m_writer.Holds(root))
            return;
        std::vector<std::wstring> pending{Stored(root)};
        while (!pending.empty()) {
            const std::wstring folder = std::move(pending.back());
            pending.pop_back();
            if (!m_writer.Folder(folder))
                continue;
            std::vector<platform::FindEntry> entries;
            const auto found = m_platform.files.Find(folder + L"\\*", entries);
            if (found != win::kSuccess && found != win::kFileNotFound) {
                Unread(L"folder", folder, found);
                continue;
            }
            for (const auto& entry : entries) {
                if (entry.name == L"." || entry.name == L"..")
                    continue;
                const std::wstring inside = path::FileInside(folder, entry.name, kPathCapacity);
                if (inside.empty()) {
                    m_writer.Counts().unread.push_back(L"name " + folder + L"\\" + entry.name +
                                                       L": not a plain name");
                } else if (!(entry.attributes & platform::kFileAttributeDirectory)) {
                    // The programs themselves are never run by a replay: their names and sizes
                    // are enough, and their megabytes stay on the PC.
                    File(inside, EndsWith(inside, L".exe") ? Contents::Placeholder : contents);
                } else if (entry.attributes & platform::kFileAttributeReparsePoint) {
                    (void)m_writer.Folder(inside);
                } else if (m_output.empty() ||
                           !path::IsAtOrBelow(path::ComparablePath(inside), m_output)) {
                    pending.push_back(inside);
                }
            }
        }
    }

    // A path the machine names: a file, a folder (captured below it), or nothing.
    void Named(const std::wstring& path, Contents contents) {
        if (path.empty() || m_writer.Holds(path))
            return;
        if (!path::IsCanonicalPath(path)) {
            m_writer.Counts().unread.push_back(L"path " + path + L": not a plain path");
            return;
        }
        std::uint32_t attributes = 0;
        const auto got = m_platform.files.GetAttributes(path, attributes);
        if (got == win::kFileNotFound || got == win::kPathNotFound)
            return;
        if (got != win::kSuccess)
            Unread(L"file", path, got);
        else if (attributes & platform::kFileAttributeDirectory)
            Tree(path, Contents::Placeholder);
        else
            File(Stored(path), contents);
    }

    // A folder the removal asks about, made when it exists.
    void FolderOnly(const std::wstring& path) {
        if (!path.empty() && m_platform.files.PathIsDirectory(path))
            (void)m_writer.Folder(Stored(path));
    }

private:
    // A canonical path with each name spelled as the drive stores it (its folder's listing
    // gives it), so that the replay's journal names what the PC's would: the spooler names the
    // files it deletes as they lie in their folder. A name the listing lacks stays as written.
    // Each folder is listed once, however many of its files are named.
    std::wstring Stored(const std::wstring& path) {
        if (!path::IsCanonicalPath(path))
            return path;
        std::wstring stored = path.substr(0, 2);
        for (const auto& name : text::Split(path.substr(3), L'\\')) {
            if (name.empty())
                continue;
            const std::wstring written = stored + L"\\" + name;
            const std::wstring key = path::ComparablePath(written);
            if (!m_spelling.contains(key) && m_listed.insert(path::ComparablePath(stored)).second) {
                std::vector<platform::FindEntry> entries;
                (void)m_platform.files.Find(stored + L"\\*", entries);
                for (const auto& entry : entries) {
                    const std::wstring inside = stored + L"\\" + entry.name;
                    m_spelling.emplace(path::ComparablePath(inside), inside);
                }
            }
            const auto known = m_spelling.find(key);
            stored = known == m_spelling.end() ? written : known->second;
        }
        return path.ends_with(L'\\') ? stored + L"\\" : stored;
    }

    void File(const std::wstring& path, Contents contents) {
        if (contents == Contents::Whole) {
            std::vector<std::uint8_t> bytes;
            const auto read = m_platform.files.ReadFile(path, bytes);
            if (read == win::kSuccess)
                (void)m_writer.Whole(path, bytes);
            else
                Unread(L"file", path, read);
            return;
        }
        std::uint64_t size = 0;
        const auto got = m_platform.files.GetFileSize(path, size);
        if (got == win::kSuccess)
            (void)m_writer.Placeholder(path, size);
        else
            Unread(L"file", path, got);
    }

    void Unread(const wchar_t* what, const std::wstring& path, platform::WinError error) {
        m_writer.Counts().unread.push_back(std::wstring(what) + L" " + path + L": error " +
                                           std::to_wstring(error));
    }

    platform::Platform& m_platform;
    CaptureWriter& m_writer;
    std::wstring m_output;                                      // comparable
    std::unordered_map<std::wstring, std::wstring> m_spelling;  // comparable path -> as stored
    std::unordered_set<std::wstring> m_listed;                  // the folders listed, comparable
};

std::vector<std::wstring> SubkeyNames(platform::Registry& registry, const std::wstring& path) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (std::uint32_t i = 0;
         registry.EnumKey(RootKey::LocalMachine, path, i, name) == win::kSuccess; ++i)
        names.push_back(name);
    return names;
}

}  // namespace

void CaptureFiles(platform::Platform& platform, const PackageConfig& config,
                  const std::wstring& programPath, const ChosenDrivers& chosen,
                  const std::wstring& outputFolder, CaptureWriter& writer) {
    FileCapture files(platform, writer, outputFolder);
    const Places places = Places::Of(platform, config);
    const std::wstring systemDir = platform.system.SystemDirectory();
    const std::wstring driversFolder = path::Join(systemDir, L"spool\\drivers");
    for (const auto& folder : {places.windowsDir, systemDir, places.commonData, places.makerFolder,
                               places.makerFolder.empty() ? L"" : places.makerFolder + L"\\Drv"})
        files.FolderOnly(folder);
    files.Tree(programPath.substr(0, programPath.rfind(L'\\')), Contents::Whole);

    const std::wstring maker = config.Read(L"Common", L"OEMPROVIDER", PackageConfig::kCommonBuffer);
    DriverPackages packages(platform);
    std::set<std::wstring, text::NoCaseLess> wholeInfs;
    for (const wchar_t* environment : {platform::kEnvironmentX64, platform::kEnvironmentX86}) {
        std::vector<platform::DriverInfo6> drivers;
        const auto listed = platform.spooler.EnumDrivers(environment, drivers);
        if (listed != win::kSuccess) {
            writer.Counts().unread.push_back(std::wstring(L"drivers of ") + environment +
                                             L": error " + std::to_wstring(listed));
        }
        for (const auto& driver : drivers) {
            for (const auto* file :
                 {&driver.driverPath, &driver.dataFile, &driver.configFile, &driver.helpFile})
                files.Named(*file, DriverFileContents(*file, driversFolder));
            for (const auto& file : driver.dependentFiles)
                files.Named(file, DriverFileContents(file, driversFolder));
            if (environment != std::wstring(platform::kEnvironmentX64) ||
                (chosen && !chosen->contains(driver.name)))
                continue;
            const CDriverData data(driver.name, driver.dependentFiles, driver.monitorName,
                                   driver.hardwareId, driver.configFile);
            for (const auto& candidate : DataFolderCandidates(places, data.FamilyCode()))
                files.Named(candidate, Contents::Placeholder);
            files.Named(SpoolFolderFor(places.windowsDir, driver.hardwareId),
                        Contents::Placeholder);
            (void)packages.Check(platform, driver.name, maker);
            for (const auto& foreign : packages.Foreign())
                wholeInfs.insert(foreign.inf);
        }
    }

    for (const auto& monitor : SubkeyNames(platform.registry, platform::MonitorsKeyPath()))
        files.Named(MonitorFilePath(platform, places.windowsDir, monitor), Contents::Placeholder);
    for (const auto& [environment, folder] : {std::pair{platform::kEnvironmentX64, L"x64"},
                                              std::pair{platform::kEnvironmentX86, L"w32x86"}}) {
        for (const auto& processor :
             SubkeyNames(platform.registry, platform::PrintProcessorsKeyPath(environment)))
            files.Named(PrintProcessorFile(places.windowsDir, folder, processor),
                        Contents::Placeholder);
    }
    for (const auto& shared : kSharedFiles)
        files.Named(path::Join(systemDir, shared), Contents::Placeholder);

    files.FolderOnly(packages.InfFolder());
    for (const auto& name : packages.Packages()) {
        const std::wstring inf = packages.InfFolder() + L"\\" + name + L".inf";
        const bool whole =
            wholeInfs.contains(name + L".inf") ||
            text::EqualsNoCase(InfFile::Read(platform, inf).Value(L"Version", L"Provider"), maker);
        files.Named(inf, whole ? Contents::Whole : Contents::Placeholder);
        files.Named(packages.InfFolder() + L"\\" + name + L".pnf", Contents::Placeholder);
    }
}

}  // namespace norvane::capture
