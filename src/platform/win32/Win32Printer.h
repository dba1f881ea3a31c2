// An open printer: the handle OpenPrinterW gave, closed with ClosePrinter when the object goes.
#pragma once

#include "platform/Spooler.h"
#include "platform/win32/Handles.h"

namespace norvane::win32 {

class Win32Printer final : public platform::Printer {
public:
    explicit Win32Printer(UniquePrinter handle) : m_handle(std::move(handle)) {}

    platform::WinError Control(std::uint32_t command) override;
    platform::WinError Delete() override;
    platform::WinError DocumentProperties(std::vector<std::uint8_t>& devmode) override;
    platform::WinError GetDriver(const std::wstring& environment,
                                 platform::DriverInfo3& info) override;
    platform::WinError MergeDocumentProperties(const std::vector<std::uint8_t>& in,
                                               std::vector<std::uint8_t>& out) override;
    platform::WinError SetDefaultDevMode(const std::vector<std::uint8_t>& devmode) override;

private:
    UniquePrinter m_handle;
};

}  // namespace norvane::win32
