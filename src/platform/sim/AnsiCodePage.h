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
    // The ANSI code pages Windows gives a system locale: Thai (874), Japanese (932), Simplified
    // Chinese (936), Korean (949), Traditional Chinese (950), 1250 to 1258 (the European, Arabic,
    // Hebrew and Vietnamese ones), and UTF-8 (65001, an option of Windows 10 and later), so that
    // a machine captured from any PC loads.
    static bool IsSupported(std::uint32_t number) {
        return number == 874 || number == 932 || number == 936 || number == 949 || number == 950 ||
               (number >= 1250 && number <= 1258) || number == 65001;
    }

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
