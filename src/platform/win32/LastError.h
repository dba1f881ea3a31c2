// The error code of a Win32 call that has just failed.
#pragma once

#include "platform/WinError.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

// GetLastError() after a failed call. A few functions fail without setting a code; the seam
// reads 0 as success, so such a failure is reported as ERROR_GEN_FAILURE rather than hidden.
inline platform::WinError LastError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

// The code of a BOOL-returning call: 0 when it succeeded.
inline platform::WinError ErrorOf(BOOL succeeded) {
    return succeeded ? platform::win::kSuccess : LastError();
}

}  // namespace norvane::win32
