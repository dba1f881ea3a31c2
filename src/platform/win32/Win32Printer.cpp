#include "platform/win32/Win32Printer.h"

#include <algorithm>
#include <cstddef>

#include "platform/win32/LastError.h"
#include "platform/win32/SpoolerInfo.h"

namespace norvane::win32 {

using platform::WinError;

WinError Win32Printer::Control(std::uint32_t command) {
    return ErrorOf(SetPrinterW(m_handle.Get(), 0, nullptr, command));
}

WinError Win32Printer::Delete() {
    return ErrorOf(DeletePrinter(m_handle.Get()));
}

WinError Win32Printer::DocumentProperties(std::vector<std::uint8_t>& devmode) {
    devmode.clear();
    // Asked with no buffers, the driver answers with the size of its whole DEVMODE, public and
    // private parts; a negative answer is a failure.
    const LONG size = DocumentPropertiesW(nullptr, m_handle.Get(), nullptr, nullptr, nullptr, 0);
    if (size <= 0)
        return LastError();
    devmode.resize(static_cast<std::size_t>(size));
    if (DocumentPropertiesW(nullptr, m_handle.Get(), nullptr,
                            reinterpret_cast<DEVMODEW*>(devmode.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK) {
        devmode.clear();
        return LastError();
    }
    return platform::win::kSuccess;
}

WinError Win32Printer::MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                               std::vector<std::uint8_t>& out) {
    out.clear();
    const LONG size = DocumentPropertiesW(nullptr, m_handle.Get(), nullptr, nullptr, nullptr, 0);
    if (size <= 0)
        return LastError();
    // The driver writes a DEVMODE of its own size; the input's size is room enough too, should
    // the driver keep the private part it was given.
    std::vector<std::uint8_t> input = in;
    out.assign(std::max(static_cast<std::size_t>(size), in.size()), 0);
    if (DocumentPropertiesW(
            nullptr, m_handle.Get(), nullptr, reinterpret_cast<DEVMODEW*>(out.data()),
            reinterpret_cast<DEVMODEW*>(input.data()), DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
        out.clear();
        return LastError();
    }
    // What the driver wrote: its public part and the private part that follows.
    const auto* devmode = reinterpret_cast<const DEVMODEW*>(out.data());
    const std::size_t written = std::size_t{devmode->dmSize} + devmode->dmDriverExtra;
    if (written < offsetof(DEVMODEW, dmFields) || written > out.size()) {
        out.clear();
        return ERROR_INVALID_DATA;
    }
    out.resize(written);
    return platform::win::kSuccess;
}

WinError Win32Printer::SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) {
    std::vector<std::uint8_t> copy = devmode;
    PRINTER_INFO_8W info{reinterpret_cast<DEVMODEW*>(copy.data())};
    return ErrorOf(SetPrinterW(m_handle.Get(), 8, reinterpret_cast<BYTE*>(&info), 0));
}

WinError Win32Printer::GetDriver(const std::wstring& environment, platform::DriverInfo3& info) {
    SpoolerBuffer buffer;
    const WinError error = CallSized(
        [&](BYTE* data, DWORD size, DWORD* needed) {
            return GetPrinterDriverW(m_handle.Get(), OptionalText(environment), 3, data, size,
                                     needed);
        },
        1, buffer);
    if (error)
        return error;
    const auto* driver = buffer.As<DRIVER_INFO_3W>();
    if (!driver)
        return ERROR_INVALID_DATA;  // a size query that succeeds leaves no structure to read
    info = ConvertDriver(*driver);
    return platform::win::kSuccess;
}

}  // namespace norvane::win32
