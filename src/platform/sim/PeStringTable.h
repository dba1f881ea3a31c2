// The string tables of a resource DLL as the linker lays them out (the language libraries the
// Windows build makes with windres), so that a machine captured from a PC, whose program folder
// holds the real libraries, loads the same texts as one that holds their resource scripts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace norvane::sim {

// Reads every RT_STRING block of a PE image (32- or 64-bit), each block's first language as
// LoadStringW finds it in a library of one language: string `(block - 1) * 16 + i` is the block's
// i-th counted string; empty strings are not entries (an image without string tables loads,
// as Windows loads it, with none). Every offset is checked against the file,
// so a damaged or hostile image is refused with a message, never read past its end.
std::optional<std::string> ReadPeStringTable(const std::vector<std::uint8_t>& bytes,
                                             std::map<std::uint32_t, std::wstring>& strings);

}  // namespace norvane::sim
