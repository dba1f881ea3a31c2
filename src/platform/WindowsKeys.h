// Where Windows keeps the state the program reads outside the spooler's own key: the simulated
// machine keeps it there too, and a capture of a PC copies it from there.
#pragma once

namespace norvane::platform {

// Below HKEY_LOCAL_MACHINE: the local ports, one value each (the Local Port monitor's).
inline constexpr wchar_t kLocalPortsPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
// Below HKEY_LOCAL_MACHINE: the USB printers, one subkey per device, the port in
// "#\Device Parameters" "Port Name".
inline constexpr wchar_t kUsbPrintersPath[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
// Below HKEY_LOCAL_MACHINE: the file operations left for the next start of Windows.
inline constexpr wchar_t kSessionManagerPath[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr wchar_t kPendingRenamesValue[] = L"PendingFileRenameOperations";
// Below HKEY_CURRENT_USER: the user's printer connections, and the key whose "Device" value is
// the default printer.
inline constexpr wchar_t kConnectionsPath[] = L"Printers\\Connections";
inline constexpr wchar_t kUserWindowsPath[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
inline constexpr wchar_t kDefaultPrinterValue[] = L"Device";

}  // namespace norvane::platform
