// Holds a file open without sharing it, as a program that has the file in use does, so that a
// Wine test can see a deletion refused with a sharing violation:
//   hold_file.exe FILE READY STOP
// It makes READY once the file is held and lets go when STOP appears (or after two minutes).
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 1;
    const HANDLE held = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 2;
    const HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE)
        CloseHandle(ready);
    for (int waited = 0; waited < 1200 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES;
         ++waited)
        Sleep(100);
    CloseHandle(held);
    return 0;
}
