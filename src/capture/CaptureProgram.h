// The capture run both programs share (NorvaneCapture.exe on Windows, `norvane-machine capture`
// over a simulated machine): "[FOLDER] [/x SERIES | /d NAMES | /all]", the refusal of a folder
// that is not empty, the capture, and the summary lines. It reads through the seam only and
// changes nothing on the machine.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace norvane::capture {

// Exit statuses.
inline constexpr int kCaptured = 0;    // written; what could not be read is listed
inline constexpr int kUsage = 1;       // the arguments are not understood
inline constexpr int kNotEmpty = 3;    // FOLDER exists and is not an empty folder
inline constexpr int kNotWritten = 4;  // FOLDER or a file in it could not be written

// `programPath` is the running Norvane.exe whose folder holds config.ini; `version` the capture
// program's. `namedFolder` is the host folder a caller names apart from the switches (the Linux
// runner's DEST, whose path begins with a slash as a switch does); without it the first argument
// that is no switch names it. Lines for standard output in `lines`, for standard error in `errors`.
int RunCapture(platform::Platform& platform, const std::wstring& programPath,
               const std::wstring& version, const std::optional<std::wstring>& namedFolder,
               const std::vector<std::wstring>& arguments, std::vector<std::wstring>& lines,
               std::vector<std::wstring>& errors);

}  // namespace norvane::capture
