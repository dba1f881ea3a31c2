#include "log/LogFile.h"

#include "support/Text.h"

namespace norvane {
namespace {

bool StartsWithByteOrderMark(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= 2 &&
           ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

// A missing log becomes an empty Unicode file, which the profile writer fills in UTF-16LE too.
void MakeUnicode(platform::Platform& platform, const std::wstring& logFile) {
    std::vector<std::uint8_t> bytes;
    const platform::WinError error = platform.files.ReadFile(logFile, bytes);
    if ((error != platform::win::kSuccess && error != platform::win::kFileNotFound) ||
        StartsWithByteOrderMark(bytes)) {
        return;
    }
    std::vector<std::uint8_t> unicode{0xFF, 0xFE};
    const auto units = text::ToUtf16Le(platform.system.FromAnsiCodePage(bytes));
    unicode.insert(unicode.end(), units.begin(), units.end());
    platform.files.WriteFile(logFile, unicode, false);
}

}  // namespace

platform::WinError WriteLogString(platform::Platform& platform, const wchar_t* section,
                                  const wchar_t* key, const wchar_t* value,
                                  const std::wstring& logFile) {
    for (const wchar_t* text : {section, key, value}) {
        if (text && !platform.system.AnsiCodePageHolds(text)) {
            MakeUnicode(platform, logFile);
            break;
        }
    }
    return platform.profile.WriteString(section, key, value, logFile);
}

}  // namespace norvane
