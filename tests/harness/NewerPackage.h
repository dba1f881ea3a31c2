// A newer driver package installed on a test machine: drivers of an older package, taken from a
// machine that still has them, installed again under new names (both environments, with their
// keys' values and their files), as a package that renamed its models would install them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::testing {

// For each (old, new) name: the driver `old` of `source` installed on `machine` as `new`.
void InstallNewerPackage(TestMachine& machine, const std::filesystem::path& source,
                         const std::vector<std::pair<std::wstring, std::wstring>>& renamed);

}  // namespace norvane::testing
