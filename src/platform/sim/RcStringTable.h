// The STRINGTABLE blocks of a resource script (.rc): what the simulated machine's language
// libraries hold, read from the same files windres compiles into the real ones.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace norvane::sim {

struct RcParseError {
    std::size_t line = 0;
    std::string message;
};

// Decodes the script (UTF-16LE with BOM, or bytes in the code page its "#pragma code_page" names:
// 65001 or the default 1252) and collects every "<id>, "text"" entry of its string tables. A
// script without any STRINGTABLE is an error: it holds no strings to load.
std::optional<RcParseError> ReadRcStringTable(const std::vector<std::uint8_t>& bytes,
                                              std::map<std::uint32_t, std::wstring>& strings);

}  // namespace norvane::sim
