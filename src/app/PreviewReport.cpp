#include "app/PreviewReport.h"

#include "app/Controller.h"

namespace norvane {

void WritePreviewSection(CUninstallerController& app) {
    const preview::ChangeList* changes = app.PreviewChanges();
    if (!changes || !app.m_bWriteLog)
        return;
    std::vector<LogEntry> entries;
    for (const auto& change : changes->Entries())
        entries.push_back({std::to_wstring(entries.size() + 1), change});
    entries.push_back({L"Assumed", kPreviewAssumption});
    app.WriteLogSections({{L"Preview", entries}});
}

}  // namespace norvane
