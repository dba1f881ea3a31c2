// Deleting one printer driver from the spooler, 64-bit and then its 32-bit twin, retrying while
// the spooler still holds its files.
#pragma once

#include <string>

#include "platform/WinError.h"

namespace norvane {

class CUninstallerController;
class CDriverData;

// 0 when the native (64-bit) driver was deleted, whatever became of the 32-bit one; otherwise
// the error of the last failed attempt.
platform::WinError DeleteDriver(CUninstallerController& app, const CDriverData& driver);

// The leading decimal number of a text, with its sign, as _wtoi reads it; 0 when there is none.
int LeadingInteger(const std::wstring& text);

}  // namespace norvane
