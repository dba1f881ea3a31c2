// machine.json of a capture: the facts the simulator takes from outside the registry and the
// drive, and a note of when, where and by which version the capture was made.
#pragma once

#include <string>
#include <vector>

#include "capture/CaptureWriter.h"
#include "platform/Platform.h"

namespace norvane::capture {

struct CaptureNote {
    std::wstring time;  // "YYYY-MM-DDThh:mm:ss", the PC's local time
    std::wstring computer;
    std::wstring version;  // of the capture program
};

// "YYYY-MM-DDThh:mm:ss".
std::wstring StampOf(const platform::LocalTime& time);

// The text of machine.json: the running program, its file version, the Windows and common
// application-data folders, locale, language, code page, OS version, computer name, the
// administrator state (CheckTokenMembership: an unelevated administrator counts as none), the
// jobs queued per local printer, and the note with what could not be read.
std::string MachineFacts(platform::Platform& platform, const std::wstring& programPath,
                         const CaptureNote& note, CaptureCounts& counts);

}  // namespace norvane::capture
