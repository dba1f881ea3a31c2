// New sections appended to a private-profile file as Windows' writer appends them, so that many
// sections cost one write of the file instead of one whole rewrite each.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Profile.h"
#include "platform/WinError.h"

namespace norvane::win32 {

// The file's bytes. A missing file reads as no bytes; nothing on any other failure.
std::optional<std::string> ReadProfileBytes(const std::wstring& file);

// Appends sections that the file does not hold yet in the bytes the writer gives them. Windows'
// writer never says how it lays out what it writes, so the appender learns it: it is made from
// the file's bytes before and after the writer wrote one section, and only when the file then read
// exactly as before with the section's plain text ("[name]", then "name=value" lines, each ended
// by CR LF, in the file's encoding) added at its end.
class SectionAppend {
public:
    static std::optional<SectionAppend> Learn(const std::wstring& file, const std::string& before,
                                              const std::string& after,
                                              const platform::ProfileSection& written);

    // Adds the section to what Flush appends; false when it must go through the writer instead: a
    // name the file or an earlier section already holds, or a name or value that is not plain text
    // (empty, white space at either end, a control character, a character the file's code page
    // lacks). Either way the section counts as written from then on.
    bool Add(const platform::ProfileSection& section);
    // Appends what was added since the last flush. Another program holding the file open for
    // writing (a sharing violation) is waited for a little, `clock` sleeping between a few tries.
    // When the append fails all the same, its sections are moved to `unwritten`, for the writer to
    // write them one by one, and the append's error is answered.
    platform::WinError Flush(platform::Clock& clock,
                             std::vector<platform::ProfileSection>& unwritten);

private:
    enum class Encoding { kAnsi, kUtf16Le };
    SectionAppend(std::wstring file, Encoding encoding, std::vector<std::wstring> names)
        : m_file(std::move(file)), m_encoding(encoding), m_names(std::move(names)) {}
    static std::optional<Encoding> EncodingOf(const std::string& bytes);
    static std::optional<std::string> Encoded(const std::wstring& text, Encoding encoding);
    platform::WinError Append(const std::string& bytes) const;

    std::wstring m_file;
    Encoding m_encoding;
    std::vector<std::wstring> m_names;  // the sections the file holds
    std::string m_pending;
    std::vector<platform::ProfileSection> m_pendingSections;  // what m_pending holds
};

}  // namespace norvane::win32
