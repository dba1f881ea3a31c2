#include "platform/sim/RegFile.h"

#include "platform/RegText.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace norvane::sim {
namespace {

namespace win = platform::win;
using platform::RegType;
using platform::RegValue;
using platform::WinError;

// The older format, whose text and hex(1), hex(2) and hex(7) strings are in the ANSI code page.
constexpr std::wstring_view kHeaderAnsi = L"REGEDIT4";

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::size_t SkipBlanks(std::wstring_view line, std::size_t at) {
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

// Whether nothing but blanks and perhaps a comment follows.
bool OnlyComment(std::wstring_view rest) {
    const std::size_t at = SkipBlanks(rest, 0);
    return at == rest.size() || rest[at] == L';';
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The file's lines, decoded from UTF-16LE with BOM, UTF-8 with or without BOM, or, for a
// REGEDIT4 file without BOM, the ANSI code page.
std::vector<std::wstring> DecodeLines(const std::vector<std::uint8_t>& bytes, bool& ansi) {
    ansi = false;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        return SplitLines(text::FromUtf16Le(bytes.data() + 2, bytes.size() - 2));
    }
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const bool bom = raw.starts_with("\xEF\xBB\xBF");
    if (bom)
        raw.remove_prefix(3);
    auto lines = SplitLines(text::FromUtf8(raw));
    ansi = text::Trim(lines.front()) == kHeaderAnsi;
    if (ansi && !bom)
        lines = SplitLines(text::FromCp1252(raw));
    return lines;
}

class Reader {
public:
    Reader(std::vector<std::wstring> lines, bool ansi, RegistryStore& store)
        : m_lines(std::move(lines)), m_ansi(ansi), m_store(store) {}

    std::optional<RegFileError> Run() {
        const std::wstring header = text::Trim(m_lines.front());
        if (header != platform::kRegFileHeader && header != kHeaderAnsi) {
            return RegFileError{1,
                                "the first line must be \"Windows Registry Editor Version "
                                "5.00\" or \"REGEDIT4\""};
        }
        for (m_at = 1; m_at < m_lines.size(); ++m_at) {
            const std::wstring line = text::TrimLeft(m_lines[m_at]);
            if (line.empty() || line[0] == L';')
                continue;
            bool ok = false;
            if (line[0] == L'[') {
                ok = KeyLine(line);
            } else if (line[0] == L'@' || line[0] == L'"') {
                ok = ValueLine(line);
            } else {
                ok = Fail("a line must be a [key], a value or a ; comment");
            }
            if (!ok)
                return RegFileError{m_at + 1, m_error};
        }
        return std::nullopt;
    }

private:
    bool Fail(std::string message) {
        m_error = std::move(message);
        return false;
    }

    // "[path]" opens the key, creating it; "[-path]" deletes it with everything under it.
    bool KeyLine(const std::wstring& line) {
        const std::size_t close = line.rfind(L']');
        if (close == std::wstring::npos)
            return Fail("a key line must end with ]");
        if (!text::Trim(std::wstring_view(line).substr(close + 1)).empty()) {
            return Fail("text after the ] of a key line");
        }
        const std::wstring path = line.substr(1, close - 1);
        if (path.starts_with(L'-')) {
            m_key = nullptr;
            const WinError error = m_store.DeleteTree(path.substr(1));
            // Deleting a key that is not there is no error, as regedit sees it.
            return error == win::kFileNotFound || KeyError(error, path.substr(1));
        }
        if (RegistryStore::Depth(path) > RegistryStore::kMaxDepth) {
            return Fail("the key lies more than " + std::to_string(RegistryStore::kMaxDepth) +
                        " levels deep, deeper than Windows keeps keys");
        }
        m_key = m_store.Create(path);
        return m_key || KeyError(RegistryStore::CheckPath(path), path);
    }

    bool KeyError(WinError error, const std::wstring& path) {
        const std::string quoted = " \"" + text::ToUtf8(path) + "\"";
        switch (error) {
            case win::kSuccess:
                return true;
            case win::kInvalidHandle:
                return Fail("unknown root key in" + quoted);
            case win::kBadPathname:
                return Fail("a backslash right after the root key in" + quoted);
            case win::kAccessDenied:
                return Fail("a root key cannot be deleted:" + quoted);
            default:
                return Fail("cannot use the key" + quoted);
        }
    }

    // @=data or "name"=data, where data is -, "text", dword:, hex: or hex(N):.
    bool ValueLine(const std::wstring& line) {
        if (!m_key)
            return Fail("value line outside a key");
        std::wstring name;
        std::size_t at = 1;
        if (line[0] == L'"' && !Unquote(line, at, name))
            return false;
        at = SkipBlanks(line, at);
        if (at == line.size() || line[at] != L'=')
            return Fail("expected = after the value name");
        const std::wstring data = text::TrimLeft(std::wstring_view(line).substr(at + 1));
        if (data.starts_with(L'-') && OnlyComment(std::wstring_view(data).substr(1))) {
            m_key->DeleteValue(name);
            return true;
        }
        RegValue value;
        if (!Data(data, value))
            return false;
        m_key->SetValue(name, std::move(value));
        return true;
    }

    bool Data(const std::wstring& data, RegValue& value) {
        if (data.starts_with(L'"')) {
            std::wstring textValue;
            std::size_t at = 1;
            if (!Unquote(data, at, textValue))
                return false;
            if (!OnlyComment(std::wstring_view(data).substr(at))) {
                return Fail("text after the closing quote");
            }
            value = RegValue::String(textValue);
            return true;
        }
        if (data.starts_with(L"dword:"))
            return Dword(std::wstring_view(data).substr(6), value);
        if (data.starts_with(L"hex:")) {
            value.type = RegType::Binary;
            return Hex(data.substr(4), value);
        }
        if (data.starts_with(L"hex(")) {
            const std::size_t close = data.find(L"):", 4);
            std::uint32_t type = 0;
            if (close == std::wstring::npos || !ParseHexNumber(data.substr(4, close - 4), type)) {
                return Fail("malformed hex(N): type");
            }
            value.type = static_cast<RegType>(type);
            return Hex(data.substr(close + 2), value);
        }
        return Fail("unknown value type (expected \"text\", dword:, hex: or hex(N):)");
    }

    // Reads a quoted text from just after its opening quote, undoing \\ \" \n and \r; `at` ends
    // just after the closing quote.
    bool Unquote(const std::wstring& line, std::size_t& at, std::wstring& out) {
        for (; at < line.size(); ++at) {
            const wchar_t c = line[at];
            if (c == L'"') {
                ++at;
                return true;
            }
            if (c != L'\\') {
                out.push_back(c);
                continue;
            }
            if (++at == line.size())
                break;
            switch (line[at]) {
                case L'\\':
                case L'"':
                    out.push_back(line[at]);
                    break;
                case L'n':
                    out.push_back(L'\n');
                    break;
                case L'r':
                    out.push_back(L'\r');
                    break;
                default:
                    return Fail("unknown escape \\" + text::ToUtf8(line.substr(at, 1)) +
                                " in a quoted text (a backslash is written \\\\)");
            }
        }
        return Fail("a quoted text without its closing quote");
    }

    static bool ParseHexNumber(std::wstring_view digits, std::uint32_t& number) {
        if (digits.empty() || digits.size() > 8)
            return false;
        number = 0;
        for (wchar_t c : digits) {
            const int digit = HexDigit(c);
            if (digit < 0)
                return false;
            number = number << 4 | static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    bool Dword(std::wstring_view data, RegValue& value) {
        const std::size_t start = SkipBlanks(data, 0);
        std::size_t end = start;
        while (end < data.size() && HexDigit(data[end]) >= 0)
            ++end;
        std::uint32_t number = 0;
        if (!ParseHexNumber(data.substr(start, end - start), number) ||
            !OnlyComment(data.substr(end))) {
            return Fail("malformed dword (expected dword: and 1 to 8 hex digits)");
        }
        value = RegValue::Dword(number);
        return true;
    }

    // Comma-separated bytes; a "\" at the end of a line continues them on the next line that is
    // not blank or a comment.
    bool Hex(std::wstring chunk, RegValue& value) {
        const std::size_t first = m_at;
        for (;;) {
            bool continued = false;
            if (!HexBytes(chunk, value.data, continued)) {
                return Fail(
                    "malformed hex data (expected bytes such as 0a,ff separated by commas)");
            }
            if (!continued)
                break;
            do {
                if (++m_at == m_lines.size()) {
                    m_at = first;
                    return Fail("the file ends inside the continued hex data of this value");
                }
                chunk = text::TrimLeft(m_lines[m_at]);
            } while (chunk.empty() || chunk[0] == L';');
            if (HexDigit(chunk[0]) < 0)
                return Fail("expected the continued hex data of the value above");
        }
        // A REGEDIT4 file gives the strings of these types in the ANSI code page.
        if (m_ansi && (value.type == RegType::Sz || value.type == RegType::ExpandSz ||
                       value.type == RegType::MultiSz)) {
            value.data = text::ToUtf16Le(
                text::FromCp1252(std::string(value.data.begin(), value.data.end())));
        }
        return true;
    }

    static bool HexBytes(std::wstring_view chunk, std::vector<std::uint8_t>& bytes,
                         bool& continued) {
        std::size_t at = 0;
        for (;;) {
            at = SkipBlanks(chunk, at);
            if (at == chunk.size() || chunk[at] == L';')
                return true;
            if (chunk[at] == L'\\') {
                continued = true;
                return OnlyComment(chunk.substr(at + 1));
            }
            std::size_t end = at;
            while (end < chunk.size() && end - at < 3 && HexDigit(chunk[end]) >= 0)
                ++end;
            std::uint32_t byte = 0;
            if (end - at > 2 || !ParseHexNumber(chunk.substr(at, end - at), byte))
                return false;
            bytes.push_back(static_cast<std::uint8_t>(byte));
            at = SkipBlanks(chunk, end);
            if (at == chunk.size() || chunk[at] == L';')
                return true;
            if (chunk[at] != L',')
                return false;
            ++at;
        }
    }

    std::vector<std::wstring> m_lines;
    bool m_ansi;
    RegistryStore& m_store;
    std::size_t m_at = 0;
    RegKey* m_key = nullptr;
    std::string m_error;
};

// Every key below a root, parents first and siblings in enumeration order. The walk keeps its
// own stack and one path that grows and shrinks with it, so a deep tree costs neither call
// depth nor a copy of its path per level.
void WriteSubtree(std::wstring& out, const RegKey& root) {
    struct Level {
        std::vector<const RegKey*> subkeys;
        std::size_t next;
        std::size_t pathLength;
    };
    std::wstring path = root.name;
    std::vector<Level> levels{{root.SubkeysInEnumOrder(), 0, path.size()}};
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.subkeys.size()) {
            levels.pop_back();
            continue;
        }
        const RegKey& key = *level.subkeys[level.next++];
        path.resize(level.pathLength);
        path += L'\\';
        path += key.name;
        platform::AppendRegKey(out, path, key.values);
        levels.push_back({key.SubkeysInEnumOrder(), 0, path.size()});
    }
}

}  // namespace

std::optional<RegFileError> ReadRegFile(const std::vector<std::uint8_t>& bytes,
                                        RegistryStore& store) {
    bool ansi = false;
    auto lines = DecodeLines(bytes, ansi);
    return Reader(std::move(lines), ansi, store).Run();
}

std::string WriteRegFile(const RegistryStore& store) {
    // As regedit exports: the header, then each key after a blank line, and a blank line at the
    // end; lines end with CR LF. A root key is listed only when it holds values itself.
    std::wstring out = std::wstring(platform::kRegFileHeader) + L"\r\n";
    for (const auto& [name, root] : store.Roots()) {
        if (!root->values.empty())
            platform::AppendRegKey(out, root->name, root->values);
        WriteSubtree(out, *root);
    }
    out += L"\r\n";
    return text::ToUtf8(out);
}

}  // namespace norvane::sim
