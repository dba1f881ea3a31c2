// The English system message texts (FormatMessageW, FORMAT_MESSAGE_FROM_SYSTEM) of the error
// codes a removal meets, as Windows words them, each ending with its line break.
#pragma once

#include <string>

#include "platform/WinError.h"

namespace norvane::sim {

// Empty when Windows has no text for the code.
std::wstring SystemMessage(platform::WinError code);

}  // namespace norvane::sim
