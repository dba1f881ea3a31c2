#include "platform/sim/AnsiCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/Text.h"

namespace norvane::sim {
namespace {

// Windows-1252 keeps its own table (text::ToCp1252): Windows maps the five bytes that the
// standard leaves undefined to the control characters of the same value, where iconv fails. The
// others go through glibc's iconv, whose CP932, CP936, CP949 and CP950 are Microsoft's tables; a
// byte another single-byte code page leaves undefined is read as U+FFFD there.
constexpr char kWide[] = "WCHAR_T";

struct Converter {
    iconv_t handle;
    Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~Converter() {
        if (handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
};

// Converts all of `in`; where a unit cannot be converted, `replacement` goes out and the input
// moves on by `skip` bytes.
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, std::size_t skip) {
    Converter converter(to, from);
    std::string out;
    char* source = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[256];
    while (left > 0) {
        char* target = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(converter.handle, &source, &left, &target, &room);
        out.append(buffer, static_cast<std::size_t>(target - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            const std::size_t step = std::min(skip, left);
            source += step;
            left -= step;
        }
    }
    return out;
}

}  // namespace

std::string AnsiCodePage::IconvName() const {
    return m_number == 65001 ? "UTF-8" : "CP" + std::to_string(m_number);
}

std::string AnsiCodePage::Encode(std::wstring_view text) const {
    if (m_number == 1252)
        return text::ToCp1252(text);
    return Convert(IconvName().c_str(), kWide,
                   {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)}, "?",
                   sizeof(wchar_t));
}

std::wstring AnsiCodePage::Decode(std::string_view bytes) const {
    if (m_number == 1252)
        return text::FromCp1252(bytes);
    const wchar_t replacement = 0xFFFD;
    const std::string wide =
        Convert(kWide, IconvName().c_str(), bytes,
                {reinterpret_cast<const char*>(&replacement), sizeof replacement}, 1);
    std::wstring out(wide.size() / sizeof(wchar_t), L'\0');
    std::memcpy(out.data(), wide.data(), out.size() * sizeof(wchar_t));
    return out;
}

}  // namespace norvane::sim
