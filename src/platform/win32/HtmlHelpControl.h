// The HTML Help control (hhctrl.ocx), loaded on the first help request and kept loaded while the
// program runs: the help window it opens lives on after HtmlHelpW returns, and its window
// procedure is in that library.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/WinApi.h"

namespace norvane::win32 {

// The class id under which the HTML Help control registers itself.
inline constexpr wchar_t kHtmlHelpServerKey[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The registered control's path: the default value of kHtmlHelpServerKey under
// HKEY_CLASSES_ROOT (environment variables expanded when it is a REG_EXPAND_SZ); empty when the
// key or the value is missing.
std::wstring RegisteredHtmlHelpServer();

// HtmlHelpW (the control's export with ordinal 15) with no owner, the file, HH_HELP_CONTEXT and
// the context number. The control is the registered one, else "hhctrl.ocx" by name. Returns the
// help window, or null when the control or its entry point is missing or the call fails.
HWND HtmlHelpContext(const std::wstring& path, std::uint32_t context);

}  // namespace norvane::win32
