// A folder of this process's own under the temporary folder, removed at exit: where the
// targets put the files they fuzz, since the readers under test take host paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace norvane::fuzz {

// "<temp>/norvane-fuzz-<pid>/<name>", its folder made on first use.
std::filesystem::path ScratchPath(const char* name);
// Writes the bytes to ScratchPath(name), replacing what it held.
std::filesystem::path WriteScratch(const char* name, const std::uint8_t* data, std::size_t size);

}  // namespace norvane::fuzz
