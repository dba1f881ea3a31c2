// The external programs a run started, as its journal records them.
#pragma once

#include <string>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::testing {

// Each "CreateProcess" entry of the run, with the journal's doubled quotes made single again so
// that a command line can be looked for as the program composed it.
inline std::vector<std::wstring> ProcessStarts(const RunResult& run) {
    std::vector<std::wstring> starts;
    for (const auto& entry : run.journal) {
        if (!entry.starts_with(L"CreateProcess"))
            continue;
        std::wstring single;
        for (std::size_t i = 0; i < entry.size(); ++i) {
            single += entry[i];
            if (entry[i] == L'"' && i + 1 < entry.size() && entry[i + 1] == L'"')
                ++i;
        }
        starts.push_back(single);
    }
    return starts;
}

}  // namespace norvane::testing
