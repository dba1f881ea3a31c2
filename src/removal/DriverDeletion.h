// Deleting one printer driver from the spooler, 64-bit and then its 32-bit twin, retrying while
// the spooler still holds its files.
#pragma once

#include <string>

#include "inventory/Config.h"
#include "log/RunContext.h"
#include "platform/WinError.h"

namespace norvane {

class CDriverData;

// 0 when the native (64-bit) driver was deleted, whatever became of the 32-bit one; otherwise
// the error of the last failed attempt. The retry budget is config.ini's [Timeout] Second.
platform::WinError DeleteDriver(RunContext& context, const PackageConfig& config,
                                const CDriverData& driver);

// The leading decimal number of a text, with its sign, as _wtoi reads it; 0 when there is none.
int LeadingInteger(const std::wstring& text);

}  // namespace norvane
