// Reading and writing the regedit export format ("Windows Registry Editor Version 5.00").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/RegistryStore.h"

namespace norvane::sim {

struct RegFileError {
    std::size_t line = 0;  // 1-based; 0 when the error is not tied to a line
    std::string message;
};

// Parses a .reg file as regedit exports it (UTF-16LE with BOM) or as the simulated machine writes
// it (UTF-8, with or without BOM) into `store`. Returns the first error, if any.
std::optional<RegFileError> ReadRegFile(const std::vector<std::uint8_t>& bytes,
                                        RegistryStore& store);

// Writes the whole store as UTF-8 text without BOM, keys sorted without regard to case and values
// sorted by name (the default value first), so that the same registry always gives the same file.
std::string WriteRegFile(const RegistryStore& store);

}  // namespace norvane::sim
