// Runs the path-spelling table against kernel32's GetFullPathNameW, so that the answers the
// removal's path rule and the simulated drive are held to are Windows' (or Wine's) own.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/PathCases.h"

int main() {
    int failed = 0;
    for (const auto& c : norvane::path_cases::Cases()) {
        wchar_t buffer[1024];
        const DWORD length = GetFullPathNameW(c.path, 1024, buffer, nullptr);
        const std::wstring full = length ? std::wstring(buffer, length) : L"(failed)";
        if (full != c.full) {
            ++failed;
            std::fwprintf(stderr, L"%ls: %ls, table says %ls\n", c.path, full.c_str(), c.full);
        }
    }
    const auto total = norvane::path_cases::Cases().size();
    std::printf("%zu passed, %d failed\n", total - failed, failed);
    return failed ? 1 : 0;
}
