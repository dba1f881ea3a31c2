// Reading a private-profile value or name list of any length: a read that may have been cut is
// repeated with a larger buffer, as callers of GetPrivateProfileStringW must.
#pragma once

#include <string>
#include <vector>

#include "platform/Profile.h"

namespace norvane::platform {

// The value, whole; with a null key the section's key names, with a null section the section
// names, separated by nulls (without the final terminators).
std::wstring ReadWhole(Profile& profile, const wchar_t* section, const wchar_t* key,
                       const std::wstring& file);
// The key names of `section`, or the section names when it is null, in file order.
std::vector<std::wstring> ReadNames(Profile& profile, const wchar_t* section,
                                    const std::wstring& file);

}  // namespace norvane::platform
