// Windows path texts: joining and naming, as the program builds its paths.
#pragma once

#include <string>

namespace norvane::path {

bool IsSeparator(wchar_t c);
// folder + "\" + name, with exactly one separator whichever way the folder ends.
std::wstring Join(const std::wstring& folder, const std::wstring& name);
// A file name made from any text: each character Windows does not allow in a file name
// (\ / : * ? " < > | and control characters) becomes "_".
std::wstring SafeFileName(const std::wstring& text);

}  // namespace norvane::path
