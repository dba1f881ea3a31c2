// The machine a runner uses when none is named.
#pragma once

#include <filesystem>

namespace norvane::tools {

// $NORVANE_MACHINE, else the demo machine copied once to the user's data (it says where). Messages
// begin with `program`; false when the copy fails.
bool DefaultMachine(const char* program, std::filesystem::path& folder);

}  // namespace norvane::tools
