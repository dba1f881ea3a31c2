#include "platform/ChangeText.h"

#include "platform/Spooler.h"
#include "platform/Ui.h"

namespace norvane::platform {

std::wstring ChangeText(const std::wstring& call, const std::vector<std::wstring>& arguments) {
    std::wstring entry = call;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        entry += (i == 0 ? L" " : L"|") + arguments[i];
    return entry;
}

std::wstring FullKeyName(RootKey root, const std::wstring& path) {
    const wchar_t* name = root == RootKey::ClassesRoot   ? L"HKEY_CLASSES_ROOT"
                          : root == RootKey::CurrentUser ? L"HKEY_CURRENT_USER"
                                                         : L"HKEY_LOCAL_MACHINE";
    return path.empty() ? name : std::wstring(name) + L"\\" + path;
}

std::wstring EnvironmentName(const std::wstring& environment) {
    return environment.empty() ? kEnvironmentX64 : environment;
}

std::wstring PrinterControlName(std::uint32_t command) {
    return command == kPrinterControlPurge ? L"PRINTER_CONTROL_PURGE" : std::to_wstring(command);
}

std::wstring OrNull(const wchar_t* text) {
    return text ? text : L"(null)";
}

std::wstring ButtonName(int id) {
    switch (id) {
        case kIdOk:
            return L"OK";
        case kIdCancel:
            return L"Cancel";
        case kIdYes:
            return L"Yes";
        case kIdNo:
            return L"No";
        default:
            return std::to_wstring(id);
    }
}

}  // namespace norvane::platform
