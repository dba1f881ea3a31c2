// Norvane.log as the log was written before sections went to the profile functions together: its
// header as it stands, then every key of every section in the order the log holds them, each with
// a WriteLogString of its own. A removal's log that reads back the same after this was written
// byte for byte as those one-by-one writes leave it. The bench's names are ASCII, so the log is
// read as such; one that is not (a byte over 0x7F, a UTF-16 log) is not checked.
#pragma once

#include <cstddef>
#include <string>

#include "harness/TestMachine.h"

namespace norvane::bench {

struct KeyByKeyCheck {
    bool checked = false;  // false for a log this check cannot read
    bool same = false;
    std::size_t bytes = 0, sections = 0, keys = 0;
    double seconds = 0;  // the one-by-one writes
};

// Writes `replay` from `log`, both Windows paths on the loaded machine, and compares the two.
KeyByKeyCheck WriteKeyByKey(testing::TestMachine& files, sim::Machine& machine,
                            const std::wstring& log, const std::wstring& replay);

}  // namespace norvane::bench
