// The text of the regedit export format ("Windows Registry Editor Version 5.00") as the simulated
// machine writes it and the capture of a PC writes it: one key and its values at a time.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace norvane::platform {

inline constexpr std::wstring_view kRegFileHeader = L"Windows Registry Editor Version 5.00";

using RegValues = std::vector<std::pair<std::wstring, RegValue>>;

// Appends "\r\n[path]\r\n" and one line per value, sorted by name with A-Z folded (the default
// value "@" first); long hex data is broken as regedit breaks it.
void AppendRegKey(std::wstring& out, const std::wstring& path, const RegValues& values);

}  // namespace norvane::platform
