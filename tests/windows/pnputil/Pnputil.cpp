// pnputil.exe as far as Norvane.exe uses it: "-f -d oemN.inf" deletes a published driver package
// from the driver store, here its oemN.inf and oemN.pnf in %WINDIR%\inf. "-f" (delete even while
// a device uses the package) changes nothing, since no device does here. Anything else is refused.
// It exits with 0 when the package is gone and with a Windows error code when it is not.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/Text.h"

namespace {

// A published package's name: "oem", digits, ".inf", and no folder.
bool IsPublishedInf(const std::wstring& name) {
    const std::wstring lower = norvane::text::LowerAscii(name);
    if (!lower.starts_with(L"oem") || !lower.ends_with(L".inf") || lower.size() <= 7)
        return false;
    for (std::size_t i = 3; i + 4 < lower.size(); ++i) {
        if (lower[i] < L'0' || lower[i] > L'9')
            return false;
    }
    return true;
}

DWORD DeletePackage(const std::wstring& inf) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring base = std::wstring(windows) + L"\\inf\\" + inf.substr(0, inf.size() - 4);
    if (!DeleteFileW((base + L".inf").c_str()))
        return GetLastError();
    // The compiled copy goes with it; a package may lack one.
    DeleteFileW((base + L".pnf").c_str());
    return ERROR_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring inf;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (norvane::text::EqualsNoCase(argument, L"-d") && i + 1 < argc) {
            inf = argv[++i];
        } else if (!norvane::text::EqualsNoCase(argument, L"-f")) {
            inf.clear();
            break;
        }
    }
    if (!IsPublishedInf(inf)) {
        std::fputs("usage: pnputil [-f] -d oem<N>.inf\n", stderr);
        return ERROR_INVALID_PARAMETER;
    }
    const DWORD error = DeletePackage(inf);
    std::fprintf(stderr, "pnputil: %ls: %s\n", inf.c_str(), error ? "not deleted" : "deleted");
    return static_cast<int>(error);
}
