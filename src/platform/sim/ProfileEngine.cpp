#include "platform/sim/ProfileEngine.h"

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/sim/AnsiCodePage.h"
#include "support/Text.h"

// The engine reads a file the way Windows does (as Wine implements it, the reference this engine
// is checked against): the file is parsed into sections of lines, and any change rewrites the
// whole file from them, so blank lines go and white space around names and "=" is dropped.
//
// Counts are in wchar_t. On Linux a character outside the Basic Multilingual Plane is one wchar_t
// where Windows counts two UTF-16 units; profile files hold none in practice, so no attempt is
// made to count them as two.

namespace norvane::sim {
namespace {

namespace fs = std::filesystem;
using platform::WinError;
namespace win = platform::win;

enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// A line of a section: "name=value", or a line without "=" (a comment, a bare word), which has
// no value.
struct Line {
    std::wstring name;
    std::optional<std::wstring> value;

    bool operator==(const Line&) const = default;
};

struct Section {
    std::wstring name;  // empty for the lines before the first header
    std::vector<Line> lines;
};

struct Document {
    Encoding encoding = Encoding::kAnsi;
    std::vector<Section> sections;
};

// Windows also counts ^Z (the DOS end of file) as white space in profile files.
bool IsProfileSpace(wchar_t c) {
    return text::IsSpace(c) || c == 0x1a;
}

std::wstring_view TrimLeft(std::wstring_view s) {
    while (!s.empty() && IsProfileSpace(s.front()))
        s.remove_prefix(1);
    return s;
}
std::wstring_view TrimRight(std::wstring_view s) {
    while (!s.empty() && IsProfileSpace(s.back()))
        s.remove_suffix(1);
    return s;
}
std::wstring_view Trim(std::wstring_view s) {
    return TrimLeft(TrimRight(s));
}

// Names and values are C strings to Windows: whatever follows a null character is lost.
std::wstring UpToNull(std::wstring_view s) {
    return std::wstring(s.substr(0, s.find(L'\0')));
}

std::wstring Decode(const std::string& bytes, const AnsiCodePage& ansi, Encoding& encoding) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        encoding = Encoding::kUtf8;
        return text::FromUtf8(std::string_view(bytes).substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        encoding = Encoding::kUtf16Le;
        return text::FromUtf16Le(data + 2, bytes.size() - 2);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        encoding = Encoding::kUtf16Be;
        std::string swapped = bytes.substr(2);
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        return text::FromUtf16Le(reinterpret_cast<const std::uint8_t*>(swapped.data()),
                                 swapped.size());
    }
    encoding = Encoding::kAnsi;
    return ansi.Decode(bytes);
}

Document Parse(const std::string& bytes, const AnsiCodePage& ansi) {
    Document doc;
    if (bytes.empty())
        return doc;  // an empty file has not even the unnamed head section
    const std::wstring content = Decode(bytes, ansi, doc.encoding);
    doc.sections.emplace_back();

    std::wstring_view rest = content;
    while (!rest.empty()) {
        // A line ends at any run of CR and LF characters.
        const std::size_t end = std::min(rest.find_first_of(L"\r\n"), rest.size());
        std::wstring_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(std::min(rest.find_first_not_of(L"\r\n", end), rest.size()));
        if (line.empty())
            continue;

        if (line.front() == L'[') {
            // The name runs to the last "]"; a "[" line without one is an ordinary line.
            const std::size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos) {
                doc.sections.push_back({UpToNull(Trim(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        std::wstring_view name = line;
        std::optional<std::wstring> value;
        if (const std::size_t equals = line.find(L'='); equals != std::wstring_view::npos) {
            name = TrimRight(line.substr(0, equals));
            value = UpToNull(TrimLeft(line.substr(equals + 1)));
        }
        // Windows keeps a line with an empty name only when the line before it had a name.
        std::vector<Line>& lines = doc.sections.back().lines;
        if (!name.empty() || lines.empty() || !lines.back().name.empty()) {
            lines.push_back({UpToNull(name), std::move(value)});
        }
    }
    return doc;
}

std::string Encode(const Document& doc, const AnsiCodePage& ansi) {
    std::wstring content;
    for (const Section& section : doc.sections) {
        if (!section.name.empty())
            content += L"[" + section.name + L"]\r\n";
        for (const Line& line : section.lines) {
            content += line.name;
            if (line.value)
                content += L"=" + *line.value;
            content += L"\r\n";
        }
    }
    switch (doc.encoding) {
        case Encoding::kAnsi:
            return ansi.Encode(content);
        case Encoding::kUtf8:
            return "\xEF\xBB\xBF" + text::ToUtf8(content);
        case Encoding::kUtf16Le:
        case Encoding::kUtf16Be: {
            const std::vector<std::uint8_t> units = text::ToUtf16Le(content);
            std::string out = doc.encoding == Encoding::kUtf16Le ? "\xFF\xFE" : "\xFE\xFF";
            for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
                const bool swap = doc.encoding == Encoding::kUtf16Be;
                out += static_cast<char>(units[swap ? i + 1 : i]);
                out += static_cast<char>(units[swap ? i : i + 1]);
            }
            return out;
        }
    }
    return {};
}

// ---- The cache --------------------------------------------------------------------------------
//
// Parsed files are kept, like Windows keeps its last profile files. An entry is reused without
// reading the file when its time and size are unchanged and that time was already more than two
// seconds past when the bytes were last read: any later change gives the file a newer time. A file
// younger than that is read again and reparsed only when its bytes differ, since two writes within
// one tick of the file system's clock can leave the same time and size.

struct CacheEntry {
    fs::path path;
    std::uint32_t codePage = 0;  // of the machine whose engine read it
    fs::file_time_type time;
    std::uintmax_t size = 0;
    bool settled = false;
    std::string bytes;
    Document doc;
};

constexpr std::size_t kCachedFiles = 8;
constexpr auto kSettleTime = std::chrono::seconds(2);

std::mutex g_lock;                // one profile call at a time, as Windows serialises them
std::vector<CacheEntry> g_cache;  // most recently used first

bool IsSettled(fs::file_time_type time) {
    return time + kSettleTime < fs::file_time_type::clock::now();
}

CacheEntry& Remember(const fs::path& file, std::uint32_t codePage) {
    auto it = std::find_if(g_cache.begin(), g_cache.end(), [&](const CacheEntry& e) {
        return e.path == file && e.codePage == codePage;
    });
    if (it == g_cache.end()) {
        if (g_cache.size() == kCachedFiles)
            g_cache.pop_back();
        g_cache.insert(g_cache.begin(), CacheEntry{file, codePage, {}, 0, false, {}, {}});
    } else {
        std::rotate(g_cache.begin(), it, it + 1);
    }
    return g_cache.front();
}

void Stamp(CacheEntry& entry) {
    std::error_code ec;
    entry.time = fs::last_write_time(entry.path, ec);
    entry.size = entry.bytes.size();
    entry.settled = !ec && IsSettled(entry.time);
}

const Document& NoFile() {
    static const Document none;
    return none;
}

// Opens `file` as Windows opens a profile file: a missing file is an empty profile, while a
// missing folder or a folder in the file's place is an error. On success `doc` is the parsed file,
// valid until the next call.
WinError Open(const fs::path& file, std::uint32_t codePage, const Document*& doc) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (fs::is_directory(status))
        return win::kAccessDenied;
    if (!fs::exists(status)) {
        if (!fs::is_directory(file.parent_path().empty() ? fs::path(".") : file.parent_path(),
                              ec)) {
            return win::kPathNotFound;
        }
        doc = &NoFile();
        return win::kSuccess;
    }
    const fs::file_time_type time = fs::last_write_time(file, ec);
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec)
        return win::kAccessDenied;

    CacheEntry& entry = Remember(file, codePage);
    if (!(entry.settled && entry.time == time && entry.size == size)) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return win::kAccessDenied;
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (bytes != entry.bytes) {
            entry.doc = Parse(bytes, AnsiCodePage(codePage));
            entry.bytes = std::move(bytes);
        }
        Stamp(entry);
    }
    doc = &entry.doc;
    return win::kSuccess;
}

// Writes the file anew. What is kept is what the bytes read back as, since the file holds less
// than the tree did: trailing white space and characters its encoding cannot hold are lost.
WinError Save(const fs::path& file, std::uint32_t codePage, const Document& doc) {
    const AnsiCodePage ansi(codePage);
    std::string bytes = Encode(doc, ansi);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return win::kAccessDenied;
    CacheEntry& entry = Remember(file, codePage);
    entry.doc = Parse(bytes, ansi);
    entry.bytes = std::move(bytes);
    Stamp(entry);
    return win::kSuccess;
}

// ---- Lookups ----------------------------------------------------------------------------------

template <typename Doc>
auto FirstSection(Doc& doc, std::wstring_view name) -> decltype(&doc.sections.front()) {
    for (auto& section : doc.sections) {
        if (text::EqualsNoCase(section.name, name))
            return &section;
    }
    return nullptr;
}

// The line of `key` in the first section named `section`, names trimmed as Windows trims them
// for a lookup. Later sections of the same name are not searched.
template <typename Doc>
auto FindLine(Doc& doc, std::wstring_view section, std::wstring_view key)
    -> decltype(&doc.sections.front().lines.front()) {
    auto* found = FirstSection(doc, Trim(section));
    if (!found)
        return nullptr;
    const std::wstring_view name = Trim(key);
    for (auto& line : found->lines) {
        if (text::EqualsNoCase(line.name, name))
            return &line;
    }
    return nullptr;
}

// ---- Copying into the caller's buffer ---------------------------------------------------------

std::uint32_t Copy(wchar_t* buffer, std::uint32_t size, std::wstring_view text) {
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), size - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = L'\0';
    return n;
}

// Copies a value or a default, without the quotes around it when it starts and ends with the same
// quote character. Windows copies the closing quote and then overwrites it with a null, which also
// cuts the last character of a value one character too long for the buffer.
std::uint32_t CopyEntry(wchar_t* buffer, std::uint32_t size, std::wstring_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                        value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::uint32_t n = Copy(buffer, size, value);
    if (quoted && size >= value.size() && n > 0)
        buffer[--n] = L'\0';
    return n;
}

// Section names, each ended by a null and the list by one more. A name that does not fit, even
// exactly, is cut to end the list in the buffer, and the count is then size - 2.
std::uint32_t ListSections(const Document& doc, wchar_t* buffer, std::uint32_t size) {
    if (size == 1) {
        buffer[0] = L'\0';
        return 0;
    }
    std::uint32_t at = 0;
    std::uint32_t room = size - 1;
    for (const Section& section : doc.sections) {
        if (section.name.empty())
            continue;
        const auto need = static_cast<std::uint32_t>(section.name.size() + 1);
        if (need >= room) {
            std::copy_n(section.name.data(), room - 1, buffer + at);
            buffer[at + room - 1] = L'\0';
            buffer[at + room] = L'\0';
            return size - 2;
        }
        std::copy_n(section.name.data(), need - 1, buffer + at);
        buffer[at + need - 1] = L'\0';
        at += need;
        room -= need;
    }
    buffer[at] = L'\0';
    return at;
}

// The names of the lines with a value in the first section so named (the name is compared as
// given, untrimmed), comments left out. A cut list counts size - 2.
std::uint32_t ListKeys(const Document& doc, std::wstring_view name, wchar_t* buffer,
                       std::uint32_t size) {
    const Section* section = FirstSection(doc, name);
    if (!section) {
        buffer[0] = L'\0';
        if (size > 1)
            buffer[1] = L'\0';
        return 0;
    }
    std::uint32_t at = 0;
    std::uint32_t room = size;
    for (const Line& line : section->lines) {
        if (room <= 2)
            break;
        if (!line.value || line.name.starts_with(L';'))
            continue;
        const std::uint32_t n = Copy(buffer + at, room - 1, line.name);
        at += n + 1;
        room -= n + 1;
        if (room < 2)
            break;
    }
    buffer[at] = L'\0';
    if (room <= 1) {
        if (at > 0)
            buffer[at - 1] = L'\0';
        return size - 2;
    }
    return size - room;
}

// Windows trims the trailing spaces (only spaces) of a default, but never its first character.
std::wstring_view TrimDefault(std::wstring_view value) {
    while (value.size() > 1 && value.back() == L' ')
        value.remove_suffix(1);
    return value;
}

// RtlUnicodeStringToInteger with base 0: white space, a sign, a "0x", "0o" or "0b" prefix, then
// digits up to the first that does not belong to the base, kept modulo 2^32.
std::uint32_t ParseInteger(std::wstring_view s) {
    while (!s.empty() && s.front() <= L' ')
        s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == L'+' || s.front() == L'-')) {
        negative = s.front() == L'-';
        s.remove_prefix(1);
    }
    std::uint32_t base = 10;
    if (s.size() >= 2 && s[0] == L'0') {
        const std::uint32_t prefixed = s[1] == L'b' ? 2 : s[1] == L'o' ? 8 : s[1] == L'x' ? 16 : 0;
        if (prefixed != 0) {
            base = prefixed;
            s.remove_prefix(2);
        }
    }
    std::uint32_t total = 0;
    for (const wchar_t c : s) {
        std::uint32_t digit = base;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        if (c >= L'A' && c <= L'Z')
            digit = c - L'A' + 10;
        if (c >= L'a' && c <= L'z')
            digit = c - L'a' + 10;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

// ---- Changes ----------------------------------------------------------------------------------

bool DeleteSection(Document& doc, std::wstring_view name) {
    auto it = std::find_if(doc.sections.begin(), doc.sections.end(),
                           [&](const Section& s) { return text::EqualsNoCase(s.name, name); });
    if (it == doc.sections.end())
        return false;
    doc.sections.erase(it);
    return true;
}

// Deletes the first line of that name in any section of that name, names compared as given.
bool DeleteKey(Document& doc, std::wstring_view section, std::wstring_view key) {
    for (Section& s : doc.sections) {
        if (!text::EqualsNoCase(s.name, section))
            continue;
        auto it = std::find_if(s.lines.begin(), s.lines.end(), [&](const Line& line) {
            return text::EqualsNoCase(line.name, key);
        });
        if (it != s.lines.end()) {
            s.lines.erase(it);
            return true;
        }
    }
    return false;
}

// The sections of a document by name, A to Z folded as the lookups compare names, so that a call
// that writes many sections finds each one without a walk through all of them.
class SectionIndex {
public:
    explicit SectionIndex(const Document& doc) { Rebuild(doc); }

    void Rebuild(const Document& doc) {
        m_byName.clear();
        for (std::size_t i = 0; i < doc.sections.size(); ++i)
            m_byName[text::LowerAscii(doc.sections[i].name)].push_back(i);
    }
    // The sections of that name, in file order.
    std::vector<std::size_t> Named(std::wstring_view name) const {
        const auto it = m_byName.find(text::LowerAscii(name));
        return it == m_byName.end() ? std::vector<std::size_t>{} : it->second;
    }
    // The last section of the document is new.
    void Added(const Document& doc) {
        m_byName[text::LowerAscii(doc.sections.back().name)].push_back(doc.sections.size() - 1);
    }

private:
    std::unordered_map<std::wstring, std::vector<std::size_t>> m_byName;
};

// The section a new line goes to: the first of that name, or a new one at the end of the file.
std::size_t SectionForNewLine(Document& doc, SectionIndex& index, std::wstring_view section) {
    const std::vector<std::size_t> named = index.Named(Trim(section));
    if (!named.empty())
        return named.front();
    doc.sections.push_back(Section{std::wstring(TrimLeft(section)), {}});
    index.Added(doc);
    return doc.sections.size() - 1;
}

// Sets the value of the first matching line, or appends the line to the first matching section,
// or appends the section to the file. New names keep what follows their leading white space, and
// the value loses its leading white space. Returns whether anything changed.
bool SetValue(Document& doc, std::wstring_view section, std::wstring_view key,
              std::wstring_view value) {
    value = TrimLeft(value);
    Line* line = FindLine(doc, section, key);
    if (!line) {
        SectionIndex index(doc);
        line = &doc.sections[SectionForNewLine(doc, index, section)].lines.emplace_back(
            Line{std::wstring(TrimLeft(key)), std::nullopt});
    }
    if (line->value == value)
        return false;
    line->value = std::wstring(value);
    return true;
}

// Empties every section of that name (their headers stay), then adds each "name=value" of the
// list to the first one, as a new line even where the name repeats; the section is made only for
// a line to go in. Returns whether anything changed.
bool ReplaceSection(Document& doc, SectionIndex& index, std::wstring_view section,
                    const wchar_t* keysAndValues) {
    bool changed = false;
    for (const std::size_t named : index.Named(section)) {
        if (!doc.sections[named].lines.empty()) {
            doc.sections[named].lines.clear();
            changed = true;
        }
    }
    std::optional<std::size_t> target;
    for (const wchar_t* at = keysAndValues; *at; at += std::wcslen(at) + 1) {
        const std::wstring_view entry(at);
        const std::size_t equals = entry.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        // Each line looks for its section again: one made under a name with trailing white
        // space is not found by the trimmed name, so every line then makes another.
        if (!target || !text::EqualsNoCase(doc.sections[*target].name, Trim(section)))
            target = SectionForNewLine(doc, index, section);
        doc.sections[*target].lines.push_back({std::wstring(TrimLeft(entry.substr(0, equals))),
                                               std::wstring(TrimLeft(entry.substr(equals + 1)))});
        changed = true;
    }
    return changed;
}

// Whether a section reads back from the file as it stands in the tree: its name and lines hold
// no white space that reading trims, no line breaks, no line that reads as a header, and nothing
// the file's encoding lacks. Each write leaves the tree as the file reads back (Save), so only
// then may a write after it go on from the tree without the file being written and read between.
bool ReadsBackAsItStands(const Section& section, Encoding encoding, const AnsiCodePage& ansi) {
    const Document alone{encoding, {Section{}, section}};
    const Document back = Parse(Encode(alone, ansi), ansi);
    return back.sections.size() == 2 && back.sections[1].name == section.name &&
           back.sections[1].lines == section.lines;
}

// Opens the file, changes its document, and writes it anew when `change` says it changed.
template <typename Change>
WinError Edit(const fs::path& file, std::uint32_t codePage, Change change) {
    std::lock_guard lock(g_lock);
    const Document* current = nullptr;
    if (const WinError error = Open(file, codePage, current))
        return error;
    Document doc = *current;
    return change(doc) ? Save(file, codePage, doc) : win::kSuccess;
}

}  // namespace

std::uint32_t ProfileEngine::GetString(const wchar_t* section, const wchar_t* key,
                                       const wchar_t* defaultValue, wchar_t* buffer,
                                       std::uint32_t size, const std::filesystem::path& file) {
    if (!buffer || size == 0)
        return 0;
    const std::wstring_view fallback = defaultValue ? defaultValue : L"";
    std::lock_guard lock(g_lock);
    const Document* doc = nullptr;
    const bool opened = Open(file, m_codePage, doc) == win::kSuccess;

    if (!section)
        return opened ? ListSections(*doc, buffer, size) : 0;
    if (!key) {
        std::uint32_t count = 0;
        if (opened) {
            count = ListKeys(*doc, section, buffer, size);
        } else {
            buffer[0] = L'\0';
        }
        // An empty list, or a buffer too small for one name, gives the default, untrimmed.
        return buffer[0] == L'\0' ? CopyEntry(buffer, size, fallback) : count;
    }
    // A file that cannot be opened gives the default as it is, quotes and all.
    if (!opened)
        return Copy(buffer, size, TrimDefault(fallback));
    const Line* line = FindLine(*doc, section, key);
    return CopyEntry(buffer, size, line && line->value ? *line->value : TrimDefault(fallback));
}

std::uint32_t ProfileEngine::GetInt(const wchar_t* section, const wchar_t* key,
                                    std::int32_t defaultValue, const std::filesystem::path& file) {
    // Windows reads the value into a buffer of 30 characters.
    wchar_t buffer[30];
    if (GetString(section, key, L"", buffer, 30, file) == 0 || buffer[0] == L'\0') {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return ParseInteger(buffer);
}

platform::WinError ProfileEngine::WriteString(const wchar_t* section, const wchar_t* key,
                                              const wchar_t* value,
                                              const std::filesystem::path& file) {
    // Windows fails a null section with this code; its flush request (all three null) fails too.
    if (!section)
        return win::kFileNotFound;
    return Edit(file, m_codePage, [&](Document& doc) {
        return !key     ? DeleteSection(doc, section)
               : !value ? DeleteKey(doc, section, key)
                        : SetValue(doc, section, key, value);
    });
}

platform::WinError ProfileEngine::WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                               const std::filesystem::path& file) {
    // As for the string write: Windows has no answer for a null section.
    if (!section)
        return win::kFileNotFound;
    return Edit(file, m_codePage, [&](Document& doc) {
        SectionIndex index(doc);
        return keysAndValues ? ReplaceSection(doc, index, section, keysAndValues)
                             : DeleteSection(doc, section);
    });
}

platform::WinError ProfileEngine::WriteSections(
    const std::vector<platform::ProfileSection>& sections, const std::filesystem::path& file) {
    const AnsiCodePage ansi(m_codePage);
    return Edit(file, m_codePage, [&](Document& doc) {
        bool changed = false;
        SectionIndex index(doc);
        for (const platform::ProfileSection& section : sections) {
            if (!ReplaceSection(doc, index, section.name, section.List().c_str()))
                continue;
            changed = true;
            // What one write each would have read back before the next.
            const std::vector<std::size_t> written = index.Named(Trim(section.name));
            if (written.empty() ||
                !ReadsBackAsItStands(doc.sections[written.front()], doc.encoding, ansi)) {
                doc = Parse(Encode(doc, ansi), ansi);
                index.Rebuild(doc);
            }
        }
        return changed;
    });
}

}  // namespace norvane::sim
