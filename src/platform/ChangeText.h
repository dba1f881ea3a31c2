// A change to the machine as the program names it wherever it tells one (the preview's list,
// the trace): the call and what it names, "|" between its arguments, such as
//   DeletePrinterDriverEx Windows x64|Corvida MX-100
// The helpers spell the arguments alike for every layer that names changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace norvane::platform {

std::wstring ChangeText(const std::wstring& call, const std::vector<std::wstring>& arguments);

// "HKEY_LOCAL_MACHINE\<path>", as regedit names a key.
std::wstring FullKeyName(RootKey root, const std::wstring& path);
// The environment's name as the spooler spells it; the empty one is the native (64-bit) one.
std::wstring EnvironmentName(const std::wstring& environment);
// A SetPrinterW level-0 command: PRINTER_CONTROL_PURGE by its name, any other by its number.
std::wstring PrinterControlName(std::uint32_t command);
// A profile call's section or key; a null one (which deletes) as "(null)".
std::wstring OrNull(const wchar_t* text);
// A message box's answer: "OK", "Cancel", "Yes", "No", or its number.
std::wstring ButtonName(int id);

}  // namespace norvane::platform
