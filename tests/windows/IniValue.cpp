// Prints one value of an INI file as kernel32's GetPrivateProfileStringW reads it, in UTF-8, so
// that a Wine test can read Norvane.log as a calling installer would:
//   ini_value.exe FILE SECTION KEY
// Exit status 2 when the key is missing.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 1;
    wchar_t value[1024];
    GetPrivateProfileStringW(argv[2], argv[3], L"\x01", value, 1024, argv[1]);
    if (value[0] == L'\x01')
        return 2;
    const int size = WideCharToMultiByte(CP_UTF8, 0, value, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, -1, text.data(), size, nullptr, nullptr);
    text += '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
    return 0;
}
