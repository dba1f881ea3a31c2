#include "platform/sim/RcStringTable.h"

#include <utility>

#include "support/Text.h"

namespace norvane::sim {
namespace {

// Decodes the bytes line by line, switching code page where a "#pragma code_page(n)" says so.
bool Decode(const std::vector<std::uint8_t>& bytes, std::wstring& out, RcParseError& error) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        out = text::FromUtf16Le(bytes.data() + 2, bytes.size() - 2);
        return true;
    }
    std::size_t start =
        bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    unsigned codePage = start == 3 ? 65001 : 1252;
    std::size_t lineNumber = 1;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n')
            ++end;
        const std::string line(
            bytes.begin() + static_cast<std::ptrdiff_t>(start),
            bytes.begin() + static_cast<std::ptrdiff_t>(std::min(end + 1, bytes.size())));
        out += codePage == 65001 ? text::FromUtf8(line) : text::FromCp1252(line);
        const auto pragma = line.find("#pragma code_page(");
        if (pragma != std::string::npos) {
            const std::string value =
                line.substr(pragma + 18, line.find(')', pragma) - pragma - 18);
            if (value == "65001") {
                codePage = 65001;
            } else if (value == "1252" || value == "DEFAULT") {
                codePage = 1252;
            } else {
                error = {lineNumber, "code page " + value + " is not supported (use 65001)"};
                return false;
            }
        }
        start = end + 1;
        ++lineNumber;
    }
    return true;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}
bool IsWordChar(wchar_t c) {
    return IsDigit(c) || IsLetter(c) || c == L'_' || c == L'#';
}

class Scanner {
public:
    explicit Scanner(const std::wstring& source) : m_s(source) {}

    enum class Kind { End, Word, Number, String, Punct };
    struct Token {
        Kind kind = Kind::End;
        std::wstring text;
        std::size_t line = 0;
    };

    // The next token; End at the end of the script and after a problem (see Problem).
    Token Next() {
        SkipSpaceAndComments();
        Token token{Kind::End, {}, m_line};
        if (m_i >= m_s.size() || m_problem)
            return token;
        const wchar_t c = m_s[m_i];
        if (c == L'"' ||
            ((c == L'L' || c == L'l') && m_i + 1 < m_s.size() && m_s[m_i + 1] == L'"')) {
            if (c != L'"')
                ++m_i;
            token.kind = Kind::String;
            if (!ReadString(token.text)) {
                m_problem = RcParseError{token.line, "unterminated string"};
                token.kind = Kind::End;
            }
            return token;
        }
        if (IsWordChar(c)) {
            token.kind = IsDigit(c) ? Kind::Number : Kind::Word;
            while (m_i < m_s.size() && IsWordChar(m_s[m_i]))
                token.text.push_back(m_s[m_i++]);
            return token;
        }
        token.kind = Kind::Punct;
        token.text.push_back(m_s[m_i++]);
        return token;
    }

    // What made the script unreadable: an unterminated string or comment, with its first line.
    const std::optional<RcParseError>& Problem() const { return m_problem; }

private:
    void SkipSpaceAndComments() {
        while (m_i < m_s.size()) {
            if (m_s[m_i] == L'\n') {
                ++m_line, ++m_i;
            } else if (text::IsSpace(m_s[m_i])) {
                ++m_i;
            } else if (m_s.compare(m_i, 2, L"//") == 0) {
                while (m_i < m_s.size() && m_s[m_i] != L'\n')
                    ++m_i;
            } else if (m_s.compare(m_i, 2, L"/*") == 0) {
                const auto end = m_s.find(L"*/", m_i + 2);
                if (end == std::wstring::npos) {
                    m_problem = RcParseError{m_line, "unterminated comment"};
                    m_i = m_s.size();
                    return;
                }
                for (; m_i < end + 2; ++m_i)
                    m_line += m_s[m_i] == L'\n';
            } else {
                break;
            }
        }
    }

    // An rc string: "" stands for one quote; backslash escapes as the resource compiler reads them.
    bool ReadString(std::wstring& out) {
        ++m_i;  // opening quote
        while (m_i < m_s.size()) {
            const wchar_t c = m_s[m_i++];
            if (c == L'"') {
                if (m_i < m_s.size() && m_s[m_i] == L'"') {
                    out.push_back(L'"');
                    ++m_i;
                    continue;
                }
                return true;
            }
            if (c == L'\n')
                return false;
            if (c == L'\\' && m_i < m_s.size()) {
                const wchar_t e = m_s[m_i++];
                switch (e) {
                    case L'n':
                        out.push_back(L'\n');
                        break;
                    case L'r':
                        out.push_back(L'\r');
                        break;
                    case L't':
                        out.push_back(L'\t');
                        break;
                    case L'a':
                        out.push_back(L'\a');
                        break;
                    case L'0':
                        out.push_back(L'\0');
                        break;
                    default:
                        out.push_back(e);
                        break;  // \\ and \" give the character itself
                }
                continue;
            }
            out.push_back(c);
        }
        return false;
    }

    const std::wstring& m_s;
    std::size_t m_i = 0;
    std::size_t m_line = 1;
    std::optional<RcParseError> m_problem;
};

bool ParseId(const std::wstring& number, std::uint32_t& id) {
    try {
        std::size_t used = 0;
        const unsigned long value = std::stoul(number, &used, 0);
        if (used != number.size() || value > 0xFFFF)
            return false;
        id = static_cast<std::uint32_t>(value);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

std::optional<RcParseError> ReadRcStringTable(const std::vector<std::uint8_t>& bytes,
                                              std::map<std::uint32_t, std::wstring>& strings) {
    RcParseError error;
    std::wstring source;
    if (!Decode(bytes, source, error))
        return error;
    Scanner scanner(source);
    // A token that ends the script early names the scanner's problem rather than what was due.
    const auto fail = [&scanner](std::size_t line, std::string message) {
        return scanner.Problem() ? *scanner.Problem() : RcParseError{line, std::move(message)};
    };
    bool sawTable = false;
    for (auto token = scanner.Next(); token.kind != Scanner::Kind::End; token = scanner.Next()) {
        if (token.kind != Scanner::Kind::Word || !text::EqualsNoCase(token.text, L"STRINGTABLE"))
            continue;
        sawTable = true;
        // Optional statements (LANGUAGE, CHARACTERISTICS...) come before BEGIN or "{".
        do {
            token = scanner.Next();
            if (token.kind == Scanner::Kind::End)
                return fail(token.line, "STRINGTABLE without BEGIN");
        } while (!(token.text == L"{" || text::EqualsNoCase(token.text, L"BEGIN")));
        for (;;) {
            token = scanner.Next();
            if (token.text == L"}" || text::EqualsNoCase(token.text, L"END"))
                break;
            std::uint32_t id = 0;
            if (token.kind != Scanner::Kind::Number || !ParseId(token.text, id)) {
                return fail(token.line, "expected a numeric string ID in STRINGTABLE");
            }
            token = scanner.Next();
            if (token.text == L",")
                token = scanner.Next();
            if (token.kind != Scanner::Kind::String)
                return fail(token.line, "expected a quoted string after ID " + std::to_string(id));
            strings[id] = token.text;
        }
    }
    if (scanner.Problem())
        return scanner.Problem();
    if (!sawTable)
        return RcParseError{0, "no STRINGTABLE"};
    return std::nullopt;
}

}  // namespace norvane::sim
