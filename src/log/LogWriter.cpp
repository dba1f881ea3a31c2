#include "log/LogWriter.h"

#include <cstdio>

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

// Each header line is formatted into a buffer of this many characters.
constexpr std::size_t kFormatBuffer = 4096;

std::wstring Format(const char* format, int a, int b, int c) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return text::FromUtf8(buffer);
}

}  // namespace

bool IsAbsoluteLogPath(const std::wstring& fileName) {
    if (fileName.size() <= 3)
        return true;
    const bool unc = fileName[0] == L'\\' && fileName[1] == L'\\';
    return unc || fileName[1] == L':';
}

int CLogWriter::Open(const std::wstring& fileName) {
    m_bOpen = 0;
    std::wstring path = fileName;
    if (!IsAbsoluteLogPath(fileName)) {
        const std::wstring module = m_platform.system.ModuleFileName();
        path = module.substr(0, module.rfind(L'\\') + 1) + fileName;
    }
    // A path cut to the buffer would name another file: nothing is made for it.
    if (path.size() >= path::kMaxPath)
        return 0;
    m_szFileName = path;

    // Every folder from the drive down; those that exist, or cannot be made, are passed over.
    for (std::size_t i = 1; i < m_szFileName.size(); ++i) {
        if (m_szFileName[i] == L'\\' || m_szFileName[i] == L'/') {
            (void)m_platform.files.CreateDirectory(m_szFileName.substr(0, i));
        }
    }
    if (m_platform.files.WriteFile(m_szFileName, {}, false))
        return 0;
    m_bOpen = 1;
    return 1;
}

void CLogWriter::Write(const std::wstring& line) {
    if (!m_bOpen)
        return;
    // A text-mode stream: every line break, the text's own ones too, goes out as CR LF, the text
    // in the ANSI code page.
    std::vector<std::uint8_t> bytes;
    for (const char c : text::ToCp1252(text::Bounded(line, kFormatBuffer)) + "\n") {
        if (c == '\n')
            bytes.push_back('\r');
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    (void)m_platform.files.WriteFile(m_szFileName, bytes, true);
}

void CLogWriter::WriteHeader() {
    if (!m_bOpen)
        return;
    Write(L"; Norvane.log");
    Write(
        L";This log file records the results of deleting drivers of printer or scanner by "
        L"Halvex.\n");
    Close();

    platform::Profile& profile = m_platform.profile;
    const platform::LocalTime now = m_platform.clock.Now();
    (void)profile.WriteString(L"Date", L"LogDate",
                              Format("%04d-%02d-%02d", now.year, now.month, now.day).c_str(),
                              m_szFileName);
    (void)profile.WriteString(L"Date", L"LogTime",
                              Format("%02d:%02d:%02d", now.hour, now.minute, now.second).c_str(),
                              m_szFileName);

    std::uint32_t ms = 0, ls = 0;
    std::wstring version;
    if (m_platform.system.FileVersion(m_platform.system.ModuleFileName(), ms, ls) == 0) {
        // The minor version keeps only its low 8 bits, as the log has always shown it.
        version = Format("%d.%d.%d", static_cast<int>(ms >> 16), static_cast<int>(ms & 0xFF),
                         static_cast<int>(ls >> 16));
    }
    (void)profile.WriteString(L"Application", L"Name", L"Halvex", m_szFileName);
    (void)profile.WriteString(L"Application", L"Version", version.c_str(), m_szFileName);
    (void)profile.WriteString(L"Application", L"Company", L"Corvida", m_szFileName);
    char lang[16];
    std::snprintf(lang, sizeof lang, "0x%04x", m_platform.system.SystemDefaultLangId() & 0x3FF);
    (void)profile.WriteString(L"Application", L"Lang", text::FromUtf8(lang).c_str(), m_szFileName);
}

}  // namespace norvane
