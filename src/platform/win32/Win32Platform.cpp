#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32Security.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32Ui.h"

namespace norvane::win32 {

struct Win32Platform::Services {
    Win32Clock clock;
    Win32Spooler spooler;
    Win32Registry registry;
    Win32Profile profile{clock};
    Win32FileSystem files;
    Win32Resources resources;
    Win32Ui ui{resources};
    // After the dialogs, whose keyboard a wait keeps working.
    Win32Processes processes{ui.Dialogs()};
    Win32Security security;
    Win32SystemInfo system;
    platform::Platform platform{spooler,  registry, profile,   files, processes,
                                security, system,   resources, clock, ui};
};

Win32Platform::Win32Platform() : m_services(std::make_unique<Services>()) {}

Win32Platform::~Win32Platform() = default;

platform::Platform& Win32Platform::Get() {
    return m_services->platform;
}

}  // namespace norvane::win32
