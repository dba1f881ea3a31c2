// Text conversions and comparisons shared by the core and the simulated machine.
//
// Strings are std::wstring everywhere. On Windows wchar_t is a UTF-16 code unit; on Linux it is a
// whole code point. Functions that must order or count as Windows does (by UTF-16 code units) say
// so in their names and do it explicitly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norvane::text {

// UTF-8 <-> wide. Malformed input becomes U+FFFD rather than being dropped.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

// UTF-16LE bytes (no BOM) <-> wide. Unpaired surrogates become U+FFFD.
std::wstring FromUtf16Le(const std::uint8_t* bytes, std::size_t size);
std::vector<std::uint8_t> ToUtf16Le(std::wstring_view text);

// Windows-1252, the ANSI code page of the simulated machine. Characters it cannot hold become
// "?", as WideCharToMultiByte does with its default character.
std::wstring FromCp1252(std::string_view bytes);
std::string ToCp1252(std::wstring_view text);

// Length and ordinal order in UTF-16 code units, as Windows counts and sorts.
std::size_t Utf16Length(std::wstring_view text);
int CompareUtf16(std::wstring_view a, std::wstring_view b);
struct Utf16Less {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return CompareUtf16(a, b) < 0;
    }
};

// The program's own case rule: only A to Z fold.
wchar_t FoldAscii(wchar_t c);
std::wstring LowerAscii(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// The file system's case rule, as far as this program's names go: ASCII and Latin-1 letters fold.
wchar_t FoldName(wchar_t c);
std::wstring FoldedName(std::wstring_view name);
// Ordinal comparison after folding A to Z; usable as a map order.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return CompareNoCase(a, b) < 0;
    }
};

// White space as the C run time's iswspace sees it in the "C" locale (space, \t \n \v \f \r).
bool IsSpace(wchar_t c);
std::wstring Trim(std::wstring_view text);
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);

// Splits at every separator, keeping empty pieces.
std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator);

// Copies text into a buffer of `capacity` characters including the terminator, as a fixed
// Windows buffer would hold it: longer text is cut, never written past the bound.
std::wstring Bounded(std::wstring_view text, std::size_t capacity);
// A list whose entries each end with `separator`, bounded as Bounded bounds text but by whole
// entries: an entry that would not fit is left out with every one after it, never cut, since a
// cut entry names something else. A last entry without its separator gets one; empty ones go.
std::wstring BoundedList(std::wstring_view list, wchar_t separator, std::size_t capacity);

// Decimal text of a number, as "%d" and "%u" give it.
std::wstring Decimal(long long value);

}  // namespace norvane::text
