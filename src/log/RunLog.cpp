#include "log/RunLog.h"

#include "app/Controller.h"

namespace norvane {
namespace {

template <typename Action>
void Write(CUninstallerController& app, Action write) {
    if (app.m_szLogFile.empty())
        return;
    if (write() != platform::win::kSuccess)
        app.m_bLogFailed = 1;
}

}  // namespace

void WriteRunLog(CUninstallerController& app, const wchar_t* section, const wchar_t* key,
                 const wchar_t* value) {
    Write(app, [&] { return WriteLogString(app.P(), section, key, value, app.m_szLogFile); });
}

void WriteRunLogSections(CUninstallerController& app, const std::vector<LogSection>& sections) {
    Write(app, [&] { return WriteLogSections(app.P(), sections, app.m_szLogFile); });
}

}  // namespace norvane
