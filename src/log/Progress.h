// Where a removal reports its progress: a line of text and the progress bar. The silent run
// gathers the lines into its summary; the interactive run's progress dialog shows both.
#pragma once

#include <cstddef>
#include <string>

namespace norvane {

// A progress line is built in a buffer of this many characters.
inline constexpr std::size_t kLineBuffer = 300;

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Replaces every occurrence of `replace` by the line, or adds the line when `replace` is empty.
    virtual void Line(const std::wstring& line, const std::wstring& replace = L"") = 0;
    // The line of an item being worked on, which its outcome replaces (Line(outcome, line)).
    virtual void Started(const std::wstring& line) { Line(line); }
    // Empties the text box: utility removal starts a list of its own.
    virtual void ClearLines() = 0;
    // Moves the bar: phase 0 printers, 1 drivers, 2 the end of the removal, 3 and 4 utilities.
    virtual void Bar(int step, int phase) = 0;
};

// The silent run's summary: the lines one after the other, as far as its 4096-character buffer
// holds them; the bar is not shown.
class SilentSummary final : public ProgressSink {
public:
    static constexpr std::size_t kBuffer = 4096;

    void Line(const std::wstring& line, const std::wstring& replace = L"") override;
    void Started(const std::wstring&) override {}  // the summary keeps outcomes only
    void ClearLines() override {}
    void Bar(int, int) override {}

    const std::wstring& Text() const { return m_text; }

private:
    std::wstring m_text;
};

}  // namespace norvane
