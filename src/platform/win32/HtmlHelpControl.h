// The HTML Help control (hhctrl.ocx), loaded on the first help request and kept loaded while the
// program runs: the help window it opens lives on after HtmlHelpW returns, and its window
// procedure is in that library.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/WinApi.h"

namespace norvane::win32 {

// HtmlHelpW (the control's export with ordinal 15) with no owner, the file, HH_HELP_CONTEXT and
// the context number. The control is System32's hhctrl.ocx. Returns the
// help window, or null when the control or its entry point is missing or the call fails.
HWND HtmlHelpContext(const std::wstring& path, std::uint32_t context);

}  // namespace norvane::win32
