// Windows' list of file operations left for its next start: the Session Manager's
// PendingFileRenameOperations, which MoveFileExW with MOVEFILE_DELAY_UNTIL_REBOOT appends to.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/WindowsKeys.h"

namespace norvane::sim {

// Under HKEY_LOCAL_MACHINE.
inline constexpr const auto& kSessionManagerKey = platform::kSessionManagerPath;
using platform::kPendingRenamesValue;

// One pair of the list.
struct PendingRename {
    std::wstring source;
    std::wstring target;   // empty: the source is deleted
    bool replace = false;  // "!" before the target: an existing target is replaced
};

// The pairs of a PendingFileRenameOperations value (REG_MULTI_SZ, where an empty target is an
// empty string inside the list), with the "\??\" prefixes stripped.
std::vector<PendingRename> ReadPendingRenames(const platform::RegValue& value);

// The value after MoveFileExW(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): the pair "\??\<path>" and
// an empty target appended to `existing` (null when there is no value yet).
platform::RegValue WithPendingDeletion(const platform::RegValue* existing,
                                       const std::wstring& path);

}  // namespace norvane::sim
