#include "platform/trace/TraceLine.h"

#include <cstdio>

#include "support/Text.h"

namespace norvane::trace {
namespace {

constexpr std::wstring_view kEnd = L"]LOG]!>";

std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            line += L' ';
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else if (text.compare(i, kEnd.size(), kEnd) == 0) {
            line += L"]LOG]!&gt;";
            i += kEnd.size() - 1;
        } else {
            line += text[i];
        }
    }
    return line;
}

}  // namespace

std::string TraceLine(const std::wstring& text, LineType type, const platform::LocalTime& time,
                      std::int32_t bias, std::uint32_t thread) {
    char fields[192];
    std::snprintf(fields, sizeof fields,
                  "<time=\"%02d:%02d:%02d.%03d%+04d\" date=\"%02d-%02d-%04d\" "
                  "component=\"Norvane\" context=\"\" type=\"%d\" thread=\"%u\" file=\"\">\r\n",
                  time.hour, time.minute, time.second, time.millisecond, static_cast<int>(bias),
                  time.month, time.day, time.year, static_cast<int>(type),
                  static_cast<unsigned>(thread));
    return "<![LOG[" + text::ToUtf8(OneLine(text)) + "]LOG]!>" + fields;
}

}  // namespace norvane::trace
