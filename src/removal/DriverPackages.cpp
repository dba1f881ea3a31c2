#include "removal/DriverPackages.h"

#include <algorithm>

#include "removal/Cleanup.h"
#include "support/Text.h"

namespace norvane {
namespace {

constexpr std::uint32_t kPnputilWaitMs = 100;

// A section's lines, none when the file lacks it.
const std::vector<InfFile::Line>& LinesOf(const InfFile& inf, const std::wstring& section) {
    static const std::vector<InfFile::Line> none;
    const auto* lines = inf.Section(section);
    return lines ? *lines : none;
}

// Whether a [Manufacturer] decoration names models for 64-bit x86 Windows: "NTamd64", alone or
// followed by OS version, product type, suite and build parts ("NTamd64.10.0...14393").
bool ForX64(const std::wstring& decoration) {
    const std::wstring lower = text::LowerAscii(decoration);
    return lower == L"ntamd64" || lower.starts_with(L"ntamd64.");
}

// The digits of a number in text, up to the first other character; -1 when it starts with none.
long long LeadingNumber(const std::wstring& text, std::size_t from = 0) {
    long long value = -1;
    for (std::size_t i = from; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min<long long>((value < 0 ? 0 : value) * 10 + (text[i] - L'0'), 1LL << 40);
    return value;
}

// DriverVer=mm/dd/yyyy[,w.x.y.z] as one comparable rank: the date as yyyymmdd, then the four
// version parts. What cannot be read counts as 0, older than any date or version written.
std::array<long long, 5> Rank(const InfFile& inf) {
    std::array<long long, 5> rank{};
    const auto values = inf.Values(L"Version", L"DriverVer");
    if (values.empty() || values[0].empty())
        return rank;
    const auto date = text::Split(values[0][0], L'/');
    if (date.size() == 3) {
        const long long month = LeadingNumber(text::Trim(date[0]));
        const long long day = LeadingNumber(text::Trim(date[1]));
        const long long year = LeadingNumber(text::Trim(date[2]));
        if (month > 0 && day > 0 && year > 0)
            rank[0] = year * 10000 + month * 100 + day;
    }
    if (values[0].size() > 1) {
        const auto parts = text::Split(values[0][1], L'.');
        for (std::size_t i = 0; i < parts.size() && i < 4; ++i)
            rank[i + 1] = std::max(0LL, LeadingNumber(text::Trim(parts[i])));
    }
    return rank;
}

// The install section Windows uses on 64-bit x86 Windows: the most specific that exists.
std::wstring DecoratedSection(const InfFile& inf, const std::wstring& section) {
    for (const wchar_t* decoration : {L".NTamd64", L".NT"}) {
        if (inf.Section(section + decoration))
            return section + decoration;
    }
    return section;
}

// "name,file.dll" of a PrintProcessor= or LanguageMonitor= line, whether written as one quoted
// field or as two: the name.
std::wstring DirectiveName(const std::vector<std::wstring>& fields) {
    std::wstring joined;
    for (std::size_t i = 0; i < fields.size(); ++i)
        joined += (i ? L"," : L"") + fields[i];
    return text::Trim(joined.substr(0, joined.find(L',')));
}

// The files the install section's CopyFiles lines copy: "@file" names one, any other field a
// file list section whose lines each begin with the file's name as installed.
void AddCopiedFiles(const InfFile& inf, const std::wstring& section,
                    std::vector<std::wstring>& files) {
    for (const auto& fields : inf.Values(section, L"CopyFiles")) {
        for (const auto& field : fields) {
            if (field.starts_with(L'@')) {
                files.push_back(text::Trim(field.substr(1)));
                continue;
            }
            for (const InfFile::Line& line : LinesOf(inf, field)) {
                const std::wstring name =
                    line.key ? *line.key : (line.fields.empty() ? L"" : line.fields[0]);
                if (!name.empty())
                    files.push_back(inf.Substituted(name));
            }
        }
    }
}

}  // namespace

DriverPackages::DriverPackages(platform::Platform& platform) {
    const std::wstring windows = platform.system.WindowsDirectory();
    if (windows.empty())
        return;
    m_infFolder = windows + L"\\inf";
    std::vector<platform::FindEntry> entries;
    (void)platform.files.Find(m_infFolder + L"\\oem*.inf", entries);
    for (const auto& entry : entries) {
        if (entry.attributes & platform::kFileAttributeDirectory)
            continue;
        m_unread.insert(m_packages.size());
        m_packages.push_back(entry.name.substr(0, entry.name.rfind(L'.')));
    }
    m_read.resize(m_packages.size());
}

void DriverPackages::ReadUnread(platform::Platform& run) {
    for (const std::size_t index : m_unread) {
        Package package;
        package.inf = InfFile::Read(run, m_infFolder + L"\\" + m_packages[index] + L".inf");
        const InfFile& inf = package.inf;
        package.provider = inf.Value(L"Version", L"Provider");
        package.rank = Rank(inf);
        for (const InfFile::Line& line : LinesOf(inf, L"Manufacturer")) {
            // "%strkey%=Models,NTamd64,..." or a bare manufacturer name, which is its section's.
            if (line.fields.empty())
                continue;
            const std::wstring& models = line.fields[0];
            std::vector<std::wstring> sections{models};
            for (std::size_t i = 1; i < line.fields.size(); ++i) {
                if (ForX64(line.fields[i]))
                    sections.push_back(models + L"." + line.fields[i]);
            }
            for (const auto& section : sections) {
                for (const auto& [key, fields] : LinesOf(inf, section)) {
                    if (key && !fields.empty() && !fields[0].empty())
                        package.models[text::LowerAscii(inf.Substituted(*key))].push_back(
                            fields[0]);
                }
            }
        }
        for (const auto& [model, sections] : package.models)
            m_declaring[model].insert(index);
        m_read[index] = std::move(package);
    }
    m_unread.clear();
}

std::vector<std::size_t> DriverPackages::MakersDeclaring(const std::wstring& model,
                                                         const std::wstring& maker,
                                                         std::vector<ForeignPackage>& foreign) {
    std::vector<std::size_t> makers;
    foreign.clear();
    const auto declaring = m_declaring.find(text::LowerAscii(model));
    if (declaring == m_declaring.end())
        return makers;
    for (const std::size_t index : declaring->second) {
        const std::wstring& provider = m_read[index]->provider;
        if (text::EqualsNoCase(provider, maker))
            makers.push_back(index);
        else
            foreign.push_back({m_packages[index] + L".inf", provider});
    }
    return makers;
}

int DriverPackages::Check(platform::Platform& run, const std::wstring& driverName,
                          const std::wstring& maker) {
    ReadUnread(run);
    std::optional<std::size_t> best;
    auto newer = [&](std::size_t a, std::size_t b) {
        const auto& ra = m_read[a]->rank;
        const auto& rb = m_read[b]->rank;
        if (ra != rb)
            return ra > rb;
        return LeadingNumber(m_packages[a], 3) > LeadingNumber(m_packages[b], 3);
    };
    for (const std::size_t index : MakersDeclaring(driverName, maker, m_foreign)) {
        if (!best || newer(index, *best))
            best = index;
    }
    if (!best)
        return 0;
    m_matched = *best;
    m_matchedInf = m_packages[m_matched] + L".inf";
    m_matchedPnf = m_packages[m_matched] + L".pnf";
    return 1;
}

ModelInstalls DriverPackages::Installs(platform::Platform& run, const std::wstring& driverName,
                                       const std::wstring& maker) {
    ReadUnread(run);
    ModelInstalls installs;
    std::vector<ForeignPackage> foreign;
    for (const std::size_t index : MakersDeclaring(driverName, maker, foreign)) {
        const Package& package = *m_read[index];
        installs.infs.push_back(m_packages[index] + L".inf");
        for (const auto& name : package.models.at(text::LowerAscii(driverName))) {
            const std::wstring section = DecoratedSection(package.inf, name);
            for (const auto& fields : package.inf.Values(section, L"PrintProcessor"))
                installs.printProcessors.push_back(DirectiveName(fields));
            for (const auto& fields : package.inf.Values(section, L"LanguageMonitor"))
                installs.monitors.push_back(DirectiveName(fields));
            AddCopiedFiles(package.inf, section, installs.files);
        }
    }
    return installs;
}

int DriverPackages::Remove(platform::Platform& run) {
    // What is left of the package, if anything, is read again at the next check.
    if (m_read[m_matched]) {
        for (const auto& [model, sections] : m_read[m_matched]->models)
            m_declaring[model].erase(m_matched);
        m_read[m_matched].reset();
        m_unread.insert(m_matched);
    }
    if (run.system.OsMajorVersion() >= 6) {
        // pnputil removes the package (forcing it even while a device uses it) on its own time;
        // the removal goes on. It is named by its full path: a bare name is searched for in
        // folders such as the current one before System32, and any of them may hold another.
        if (run.processes.ShellExecuteElevated(run.system.SystemDirectory() + L"\\pnputil.exe",
                                               L"-f -d " + m_matchedInf))
            return 1;
        run.clock.Sleep(kPnputilWaitMs);
        return 0;
    }
    int result = 0;
    if (!DeleteFileByRule(run.files, m_infFolder + L"\\" + m_matchedInf))
        result |= 1;
    if (!DeleteFileByRule(run.files, m_infFolder + L"\\" + m_matchedPnf))
        result |= 2;
    return result;
}

}  // namespace norvane
