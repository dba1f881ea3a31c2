// A setup information (.inf) file read as Windows' setup functions read it, not as an INI file:
// lines without "=" (a file list's entries) count, ";" starts a comment outside quotes, quotes
// are taken off and "" inside them is one quote, a "\" ending a line joins the next, sections of
// one name are one section, and %strkey% tokens are replaced through [Strings].
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Text.h"

namespace norvane {

class InfFile {
public:
    struct Line {
        std::optional<std::wstring> key;   // the text before "=", when the line has one
        std::vector<std::wstring> fields;  // as written, quotes taken off, tokens not replaced
    };

    // An empty file when it cannot be read. UTF-16LE or UTF-8 with their byte-order marks,
    // else the machine's ANSI code page.
    static InfFile Read(platform::Platform& platform, const std::wstring& path);
    static InfFile Parse(const std::wstring& text);

    // The section's lines in file order; null when the file has no such section.
    const std::vector<Line>* Section(const std::wstring& name) const;
    // Every line of the section with this key (compared without regard to case), tokens replaced.
    std::vector<std::vector<std::wstring>> Values(const std::wstring& section,
                                                  const std::wstring& key) const;
    // The first field of the first such line, tokens replaced; empty when there is none.
    std::wstring Value(const std::wstring& section, const std::wstring& key) const;
    // The text with each %strkey% replaced by its [Strings] value and %% by %; a token that
    // [Strings] lacks stays as written, percent signs and all, as Windows leaves it.
    std::wstring Substituted(const std::wstring& text) const;

private:
    std::map<std::wstring, std::vector<Line>, text::NoCaseLess> m_sections;
};

}  // namespace norvane
