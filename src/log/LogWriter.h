// The writer of Norvane.log's first lines. Everything after the header is written with the
// private-profile writer, which keeps the file in the ANSI code page.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace norvane {

class CLogWriter {
public:
    explicit CLogWriter(platform::Platform& platform) : m_platform(platform) {}

    // Makes the file anew, creating its folders first. A name that is neither drive-absolute
    // ("C:...") nor UNC ("\\server\...") is relative to the program folder. Returns 1 when the
    // file is open.
    int Open(const std::wstring& fileName);
    // Writes one line (the text and a line break) and flushes. Nothing when not open.
    void Write(const std::wstring& line);
    // The two comment lines and the [Date] and [Application] sections.
    void WriteHeader();
    void Close() { m_bOpen = 0; }

    const std::wstring& FileName() const { return m_szFileName; }

private:
    platform::Platform& m_platform;
    int m_bOpen = 0;
    std::wstring m_szFileName;  // at most 259 characters
};

// Whether the log writer takes a name as it is rather than relative to the program folder.
bool IsAbsoluteLogPath(const std::wstring& fileName);

}  // namespace norvane
