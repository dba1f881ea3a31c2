// The simulated machine's ANSI code page: how its profile files and MultiByteToWideChar and
// WideCharToMultiByte with CP_ACP convert text. A character the code page lacks becomes "?",
// Windows' default character, so a name that does not fit is visibly changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace norvane::sim {

class AnsiCodePage {
public:
    // The code pages a machine may have: Windows-1252 (Western) and 932 (Japanese).
    static bool IsSupported(std::uint32_t number) { return number == 1252 || number == 932; }

    explicit AnsiCodePage(std::uint32_t number) : m_number(number) {}

    std::string Encode(std::wstring_view text) const;
    // A byte sequence that is no character of the code page becomes U+FFFD.
    std::wstring Decode(std::string_view bytes) const;
    // Whether the text comes back unchanged from the code page: every character has its own.
    bool Holds(std::wstring_view text) const { return Decode(Encode(text)) == text; }

private:
    std::string IconvName() const;

    std::uint32_t m_number;
};

}  // namespace norvane::sim
