// What the spooler's sized calls have in common: a first call that learns the size, a second
// one into a buffer, and the conversion of the INFO structures it fills to the seam's types.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Spooler.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

// A buffer for the spooler's INFO structures, aligned for the pointers they hold.
class SpoolerBuffer {
public:
    BYTE* Data() { return reinterpret_cast<BYTE*>(m_words.data()); }
    // The first structure of the buffer; null when the call returned nothing.
    template <typename Info>
    const Info* As() const {
        return m_words.empty() ? nullptr : reinterpret_cast<const Info*>(m_words.data());
    }
    void Resize(DWORD bytes) { m_words.assign((bytes + 7) / 8, 0); }

private:
    std::vector<std::uint64_t> m_words;
};

// Calls `call(buffer, size, &needed)` once with no buffer to learn the size and, unless that
// already succeeded (nothing to return), again with a zero-filled buffer of `factor` times that
// size. The result is the Windows error code of the call that decided.
platform::WinError CallSized(const std::function<BOOL(BYTE*, DWORD, DWORD*)>& call, DWORD factor,
                             SpoolerBuffer& buffer);

// The spooler's functions take LPWSTR even for what they only read. An empty environment or
// printer name stands for the spooler's default, which it expects as null.
wchar_t* MutableText(const std::wstring& text);
wchar_t* OptionalText(const std::wstring& text);

platform::DriverInfo6 ConvertDriver(const DRIVER_INFO_6W& info);
platform::DriverInfo3 ConvertDriver(const DRIVER_INFO_3W& info);
platform::PrinterInfo2 ConvertPrinter(const PRINTER_INFO_2W& info);

// Of DRIVER_INFO_8W, the driver's name and the print processor it asks for.
struct DriverPrintProcessor {
    std::wstring driver;
    std::wstring printProcessor;
};
DriverPrintProcessor ConvertDriverPrintProcessor(const DRIVER_INFO_8W& info);

}  // namespace norvane::win32
