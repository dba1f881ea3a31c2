// What GetFullPathNameW makes of the path spellings that driver data can hold. The same table
// holds path::FullPathName (Linux tests) and kernel32 (tests/windows/PathCasesWindows.cpp, under
// Wine) to one answer, so the removal's rule and the simulated drive resolve names as Windows does.
#pragma once

#include <string>
#include <vector>

namespace norvane::path_cases {

struct Case {
    const wchar_t* path;
    const wchar_t* full;
};

inline const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // A name followed by a separator loses one final dot; the last name every dot and blank.
        {L"C:\\Windows\\System32\\spool\\drivers\\x64\\3.\\",
         L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\"},
        {L"C:\\a\\3.", L"C:\\a\\3"},
        {L"C:\\a\\3 ", L"C:\\a\\3"},
        {L"C:\\a\\3. .", L"C:\\a\\3"},
        {L"C:\\a\\PCC.\\b", L"C:\\a\\PCC\\b"},
        {L"C:\\a\\3. .\\b", L"C:\\a\\3. \\b"},
        {L"C:\\a\\3 \\b", L"C:\\a\\3 \\b"},  // a blank before a separator stays
        {L"C:\\Program Files\\x.", L"C:\\Program Files\\x"},
        // "." and "..", never above the root; "/" and repeated separators.
        {L"C:\\a\\..\\..\\..\\b", L"C:\\b"},
        {L"C:\\ProgramData\\..\\Windows\\Temp\\", L"C:\\Windows\\Temp\\"},
        {L"C:\\a\\.\\b\\.", L"C:\\a\\b"},
        {L"C:\\a\\b\\..", L"C:\\a"},
        {L"C:\\..", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"C:/Windows//System32/", L"C:\\Windows\\System32\\"},
        {L"C:\\a\\\\\\b", L"C:\\a\\b"},
        // A stream is part of the name.
        {L"C:\\a\\b:stream", L"C:\\a\\b:stream"},
        // A last name that is a device is the device (Windows 11 keeps "C:\x\CON" as written; the
        // removal refuses both).
        {L"C:\\x\\CON", L"\\\\.\\CON"},
        {L"C:\\x\\nul.txt", L"\\\\.\\nul"},
        {L"C:\\x\\lpt1", L"\\\\.\\lpt1"},
        {L"C:\\x\\COM0", L"C:\\x\\COM0"},
        {L"C:\\x\\CONSOLE", L"C:\\x\\CONSOLE"},
    };
    return cases;
}

}  // namespace norvane::path_cases
