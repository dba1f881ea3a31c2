// What a simulated machine holds, item by item, to compare a machine before and after runs.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::testing {

// Every file, folder, registry key and value of a machine by lower-cased path ("c:\...", a key's
// full name, "<key> = <value name>" for a value), with a file's bytes or a value's type and
// bytes (empty for a folder or a key).
using MachineState = std::map<std::wstring, std::string>;
MachineState State(TestMachine& m);

// The paths of State, without the contents.
std::set<std::wstring> Inventory(TestMachine& m);

// What `before` holds and `after` does not.
std::vector<std::wstring> Removed(const std::set<std::wstring>& before,
                                  const std::set<std::wstring>& after);

}  // namespace norvane::testing
