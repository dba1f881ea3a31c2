// Writing Norvane.log after its header: sections, keys and values through the private-profile
// writer.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace norvane {

// WritePrivateProfileStringW into the log. The profile functions keep a file without a
// byte-order mark in the ANSI code page, where a character the code page lacks becomes "?": the
// name could not be found again, and names that differ only there would share one section. So
// before such a text goes in, the log is turned into UTF-16LE with a byte-order mark (its content
// unchanged), which the profile functions keep as it is. A log whose texts all fit stays ANSI.
platform::WinError WriteLogString(platform::Platform& platform, const wchar_t* section,
                                  const wchar_t* key, const wchar_t* value,
                                  const std::wstring& logFile);

}  // namespace norvane
