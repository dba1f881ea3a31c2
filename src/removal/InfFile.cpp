#include "removal/InfFile.h"

namespace norvane {
namespace {

// One line being read: the fields so far and the one being built. White space at either end of
// a field goes, unless it stood inside quotes.
class LineReader {
public:
    void Add(wchar_t c, bool quoted) {
        if (!quoted && m_field.empty() && text::IsSpace(c))
            return;
        m_field += c;
        if (quoted || !text::IsSpace(c))
            m_kept = m_field.size();
    }
    void EndField() {
        m_fields.push_back(m_field.substr(0, m_kept));
        m_field.clear();
        m_kept = 0;
    }
    void EndKey() {
        EndField();
        m_key = std::move(m_fields.back());
        m_fields.pop_back();
    }
    bool HasKey() const { return m_key.has_value(); }
    bool Empty() const { return !m_key && m_fields.empty() && m_field.empty(); }
    InfFile::Line Finish() {
        EndField();
        return {std::move(m_key), std::move(m_fields)};
    }

private:
    std::optional<std::wstring> m_key;
    std::vector<std::wstring> m_fields;
    std::wstring m_field;
    std::size_t m_kept = 0;
};

// Whether only white space or a comment follows `at` on its line.
bool LineEndsAfter(const std::wstring& text, std::size_t at) {
    for (; at < text.size() && text[at] != L'\n'; ++at) {
        if (text[at] == L';')
            return true;
        if (!text::IsSpace(text[at]))
            return false;
    }
    return true;
}

std::size_t NextLine(const std::wstring& text, std::size_t at) {
    const std::size_t end = text.find(L'\n', at);
    return end == std::wstring::npos ? text.size() : end + 1;
}

}  // namespace

InfFile InfFile::Read(platform::Platform& platform, const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    if (platform.files.ReadFile(path, bytes) != platform::win::kSuccess)
        return {};
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return Parse(text::FromUtf16Le(bytes.data() + 2, bytes.size() - 2));
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return Parse(text::FromUtf8(
            std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3)));
    return Parse(platform.system.FromAnsiCodePage(bytes));
}

InfFile InfFile::Parse(const std::wstring& text) {
    InfFile inf;
    std::vector<Line>* section = nullptr;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && text::IsSpace(text[at]))
            ++at;
        if (at < text.size() && text[at] == L'[') {
            const std::size_t close = text.find_first_of(L"]\n", at);
            if (close != std::wstring::npos && text[close] == L']')
                section = &inf.m_sections[text::Trim(text.substr(at + 1, close - at - 1))];
            at = NextLine(text, at);
            continue;
        }
        LineReader line;
        bool quoted = false;
        for (; at < text.size() && text[at] != L'\n'; ++at) {
            const wchar_t c = text[at];
            if (quoted) {
                if (c != L'"')
                    line.Add(c, true);
                else if (at + 1 < text.size() && text[at + 1] == L'"')
                    line.Add(text[++at], true);
                else
                    quoted = false;
            } else if (c == L'"') {
                quoted = true;
            } else if (c == L';') {
                at = NextLine(text, at) - 1;
                break;
            } else if (c == L',') {
                line.EndField();
            } else if (c == L'=' && !line.HasKey()) {
                line.EndKey();
            } else if (c == L'\\' && LineEndsAfter(text, at + 1)) {
                at = NextLine(text, at) - 1;  // the line goes on in the next one
                if (at + 1 >= text.size())
                    break;
            } else if (c != L'\r') {
                line.Add(c, false);
            }
        }
        if (section && !line.Empty())
            section->push_back(line.Finish());
        at = at < text.size() ? at + 1 : at;
    }
    return inf;
}

const std::vector<InfFile::Line>* InfFile::Section(const std::wstring& name) const {
    const auto found = m_sections.find(name);
    return found == m_sections.end() ? nullptr : &found->second;
}

std::vector<std::vector<std::wstring>> InfFile::Values(const std::wstring& section,
                                                       const std::wstring& key) const {
    std::vector<std::vector<std::wstring>> values;
    if (const auto* lines = Section(section)) {
        for (const Line& line : *lines) {
            if (!line.key || !text::EqualsNoCase(*line.key, key))
                continue;
            std::vector<std::wstring> fields;
            for (const auto& field : line.fields)
                fields.push_back(Substituted(field));
            values.push_back(std::move(fields));
        }
    }
    return values;
}

std::wstring InfFile::Value(const std::wstring& section, const std::wstring& key) const {
    const auto values = Values(section, key);
    return values.empty() || values[0].empty() ? L"" : values[0][0];
}

std::wstring InfFile::Substituted(const std::wstring& field) const {
    std::wstring out;
    std::size_t at = 0;
    while (at < field.size()) {
        const std::size_t open = field.find(L'%', at);
        const std::size_t close =
            open == std::wstring::npos ? std::wstring::npos : field.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            out += field.substr(at);
            break;
        }
        out += field.substr(at, open - at);
        const std::wstring token = field.substr(open + 1, close - open - 1);
        std::optional<std::wstring> value;
        if (token.empty()) {
            value = L"%";
        } else if (const auto* strings = Section(L"Strings")) {
            for (const Line& line : *strings) {
                if (line.key && text::EqualsNoCase(*line.key, token) && !line.fields.empty()) {
                    value = line.fields[0];
                    break;
                }
            }
        }
        out += value ? *value : field.substr(open, close - open + 1);
        at = close + 1;
    }
    return out;
}

}  // namespace norvane
