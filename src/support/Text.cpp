#include "support/Text.h"

#include <algorithm>

namespace norvane::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 assigns these to 0x80..0x9F; the five holes map to themselves as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// Walks the wide string by code point, whatever the width of wchar_t.
template <typename F>
void ForEachCodePoint(std::wstring_view text, F&& f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                c = kReplacement;
            }
        }
        f(c);
    }
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    });
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            AppendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= static_cast<std::size_t>(extra); ++j) {
            if (i + j >= bytes.size())
                break;
            const auto n = static_cast<unsigned char>(bytes[i + j]);
            if ((n & 0xC0) != 0x80)
                break;
            cp = (cp << 6) | (n & 0x3F);
        }
        if (j <= static_cast<std::size_t>(extra) || cp < min || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            AppendCodePoint(out, kReplacement);
            i += j;
            continue;
        }
        AppendCodePoint(out, cp);
        i += j;
    }
    return out;
}

std::wstring FromUtf16Le(const std::uint8_t* bytes, std::size_t size) {
    std::wstring out;
    out.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        char32_t unit = bytes[i] | (bytes[i + 1] << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < size) {
            const char32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            unit = kReplacement;
        AppendCodePoint(out, unit);
    }
    return out;
}

std::vector<std::uint8_t> ToUtf16Le(std::wstring_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    auto put = [&](char32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    ForEachCodePoint(text, [&](char32_t c) {
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c > 0xFFFF ? kReplacement : c);
        }
    });
    return out;
}

std::wstring FromCp1252(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b <= 0x9F ? static_cast<wchar_t>(kCp1252High[b - 0x80])
                                             : static_cast<wchar_t>(b));
    }
    return out;
}

std::string ToCp1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            return;
        }
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] == c) {
                out.push_back(static_cast<char>(0x80 + i));
                return;
            }
        }
        out.push_back('?');
    });
    return out;
}

std::size_t Utf16Length(std::wstring_view text) {
    std::size_t n = 0;
    ForEachCodePoint(text, [&](char32_t c) { n += c >= 0x10000 ? 2 : 1; });
    return n;
}

int CompareUtf16(std::wstring_view a, std::wstring_view b) {
    // Code points above U+FFFF are surrogate pairs in UTF-16 and sort between U+D7FF and U+E000.
    auto key = [](char32_t c) -> char32_t {
        if (c >= 0x10000)
            return 0xD800 + ((c - 0x10000) >> 10);
        return c;
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t ca = static_cast<char32_t>(a[i]);
        const char32_t cb = static_cast<char32_t>(b[i]);
        if (ca == cb)
            continue;
        const char32_t ka = key(ca), kb = key(cb);
        if (ka != kb)
            return ka < kb ? -1 : 1;
        return ca < cb ? -1 : 1;  // same high surrogate: the low one decides, in code point order
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

wchar_t FoldName(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<wchar_t>(c + 32);
    return c;
}

std::wstring FoldedName(std::wstring_view name) {
    std::wstring out(name);
    for (wchar_t& c : out)
        c = FoldName(c);
    return out;
}

std::wstring LowerAscii(std::wstring_view text) {
    std::wstring out(text);
    std::transform(out.begin(), out.end(), out.begin(), FoldAscii);
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareNoCase(a, b) == 0;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t ca = FoldAscii(a[i]), cb = FoldAscii(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool IsSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

std::wstring TrimLeft(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return std::wstring(text.substr(i));
}

std::wstring TrimRight(std::wstring_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsSpace(text[n - 1]))
        --n;
    return std::wstring(text.substr(0, n));
}

std::wstring Trim(std::wstring_view text) {
    return TrimLeft(TrimRight(text));
}

std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        pieces.emplace_back(
            text.substr(start, at == std::wstring_view::npos ? text.npos : at - start));
        if (at == std::wstring_view::npos)
            break;
        start = at + 1;
    }
    return pieces;
}

std::wstring Bounded(std::wstring_view text, std::size_t capacity) {
    if (capacity == 0)
        return {};
    return std::wstring(text.substr(0, std::min(text.size(), capacity - 1)));
}

std::wstring BoundedList(std::wstring_view list, wchar_t separator, std::size_t capacity) {
    std::wstring bounded;
    while (!list.empty()) {
        const std::size_t end = list.find(separator);
        const std::wstring_view entry = list.substr(0, end);
        if (!entry.empty()) {
            if (bounded.size() + entry.size() + 1 >= capacity)
                break;
            bounded.append(entry).push_back(separator);
        }
        list = end == std::wstring_view::npos ? std::wstring_view() : list.substr(end + 1);
    }
    return bounded;
}

std::wstring Decimal(long long value) {
    return std::to_wstring(value);
}

}  // namespace norvane::text
