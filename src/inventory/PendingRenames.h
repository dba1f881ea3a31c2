// The file operations Windows has scheduled for its next start (PendingFileRenameOperations):
// a file named there is still in use and goes, or is replaced, only with the restart.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace norvane {

// 1 when one of the pending operations names a file of that name (name and extension, letter
// case ignored), else 0.
int IsFilePending(platform::Platform& platform, const std::wstring& fileName);

}  // namespace norvane
