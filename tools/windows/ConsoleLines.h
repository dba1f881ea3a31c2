// The console programs' output: each line to the console as it is, or as UTF-8 when the output
// goes to a file or a pipe.
#pragma once

#include <string>
#include <vector>

namespace norvane::win32 {

// `lines` to standard output, then `errors` to standard error.
void PrintLines(const std::vector<std::wstring>& lines, const std::vector<std::wstring>& errors);

}  // namespace norvane::win32
