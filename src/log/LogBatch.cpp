#include "log/LogBatch.h"

#include "support/Text.h"

namespace norvane {

void LogBatch::Write(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) {
    // Names the profile functions take for one section go to one.
    const std::wstring id = text::LowerAscii(text::Trim(section));
    auto [it, added] = m_index.emplace(id, m_sections.size());
    if (added)
        m_sections.push_back({section, {}});
    m_sections[it->second].entries.push_back({key, value});
}

void LogBatch::WriteEach(const wchar_t* section, const std::vector<std::wstring>& names,
                         std::uint32_t code, const wchar_t* noneMessage) {
    for (const auto& name : names)
        Write(section, name, std::to_wstring(code));
    if (names.empty() && noneMessage)
        Write(section, L"ErrMsg", noneMessage);
}

void LogBatch::WriteSavedPrinters(const std::vector<CSavedPrinterInfo>& savedPrinters) {
    for (const auto& saved : savedPrinters) {
        const std::wstring& name =
            saved.sectionName.empty() ? saved.printerName : saved.sectionName;
        const std::wstring section = L"PrinterInfo " + name;
        // A name the section header cannot keep goes whole into a value, in quotes, which the
        // profile functions take off again with nothing else: blanks at its ends stay.
        if (name != saved.printerName)
            Write(section, L"Name", L"\"" + saved.printerName + L"\"");
        Write(section, L"PortName", saved.portName);
        Write(section, L"DriverName", saved.driverName);
        Write(section, L"ShareName", saved.shareName);
        Write(section, L"Default", saved.defaultFlag);
        Write(section, L"DEVMODE", saved.devmodeFile);
        // The file this run wrote for this printer, by which a restore knows it for the printer's
        // own; DEVMODE names the same file, for the callers that read it.
        if (!saved.devmodeFile.empty())
            Write(section, L"SettingsFile", saved.devmodeFile);
    }
}

std::wstring ErrorText(platform::Platform& platform, std::uint32_t code) {
    return std::to_wstring(static_cast<std::int32_t>(code)) + L":" +
           platform.system.ErrorMessage(code);
}

}  // namespace norvane
