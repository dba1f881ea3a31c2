// Entries of the log gathered by section and written together: each write rewrites the whole
// log, so one per key, or one per section, made a large report cost the square of its size.
// Sections are written in the order of their first entry, which is the order one write per key
// would have made them in.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "log/LogFile.h"
#include "log/Results.h"
#include "log/RunContext.h"

namespace norvane {

class LogBatch {
public:
    explicit LogBatch(RunContext& context) : m_context(context) {}
    LogBatch(const LogBatch&) = delete;
    LogBatch& operator=(const LogBatch&) = delete;
    ~LogBatch() { m_context.WriteLogSections(m_sections); }

    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    // One key per name with the same code; ErrMsg when there is no name.
    void WriteEach(const wchar_t* section, const std::vector<std::wstring>& names,
                   std::uint32_t code, const wchar_t* noneMessage);
    // A "PrinterInfo <name>" section for each saved printer.
    void WriteSavedPrinters(const std::vector<CSavedPrinterInfo>& saved);

private:
    RunContext& m_context;
    std::vector<LogSection> m_sections;
    std::unordered_map<std::wstring, std::size_t> m_index;
};

// "<code>:<system message text>", as the log and the messages give a Windows error.
std::wstring ErrorText(platform::Platform& platform, std::uint32_t code);

}  // namespace norvane
