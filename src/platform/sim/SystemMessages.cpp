#include "platform/sim/SystemMessages.h"

#include <map>

namespace norvane::sim {

std::wstring SystemMessage(platform::WinError code) {
    static const std::map<platform::WinError, const wchar_t*> kMessages = {
        {0, L"The operation completed successfully."},
        {1, L"Incorrect function."},
        {2, L"The system cannot find the file specified."},
        {3, L"The system cannot find the path specified."},
        {5, L"Access is denied."},
        {6, L"The handle is invalid."},
        {8, L"Not enough memory resources are available to process this command."},
        {13, L"The data is invalid."},
        {18, L"There are no more files."},
        {32, L"The process cannot access the file because it is being used by another process."},
        {80, L"The file exists."},
        {87, L"The parameter is incorrect."},
        {120, L"This function is not supported on this system."},
        {122, L"The data area passed to a system call is too small."},
        {123, L"The filename, directory name, or volume label syntax is incorrect."},
        {126, L"The specified module could not be found."},
        {145, L"The directory is not empty."},
        {161, L"The specified path is invalid."},
        {183, L"Cannot create a file when that file already exists."},
        {193, L"%1 is not a valid Win32 application."},
        {234, L"More data is available."},
        {259, L"No more data is available."},
        {267, L"The directory name is invalid."},
        {1018, L"Illegal operation attempted on a registry key that has been marked for deletion."},
        {1722, L"The RPC server is unavailable."},
        {1797, L"The printer driver is unknown."},
        {1798, L"The print processor is unknown."},
        {1801, L"The printer name is invalid."},
        {1805, L"The environment specified is invalid."},
        {1905, L"The specified printer has been deleted."},
        {3000, L"The specified print monitor is unknown."},
        {3001, L"The specified printer driver is currently in use."},
        {3008, L"The specified print monitor is currently in use."},
    };
    const auto found = kMessages.find(code);
    return found == kMessages.end() ? std::wstring() : std::wstring(found->second) + L"\r\n";
}

}  // namespace norvane::sim
