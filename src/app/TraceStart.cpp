#include "app/TraceStart.h"

#include <cstdio>

#include "app/Controller.h"
#include "app/ExitCode.h"
#include "log/LogBatch.h"
#include "support/Text.h"

namespace norvane {

void StartTrace(CUninstallerController& app, const std::wstring& commandLine) {
    const std::wstring folder = app.m_strLogFolder.empty() ? app.g_szModuleDir : app.m_strLogFolder;
    auto failed = [&app](const std::wstring& path, platform::WinError error) {
        const std::wstring why = path + L" cannot be written (" + ErrorText(app.Machine(), error) +
                                 L"); the run goes on without it";
        std::fputs(text::ToUtf8(L"Norvane: the trace " + why + L"\n").c_str(), stderr);
        app.log.Write(app.Machine(), L"Application", L"Trace", why.c_str());
    };
    app.StartTrace(trace::TraceFilePath(app.m_strTraceFile, folder), L"Norvane", commandLine,
                   failed);
}

void EndTrace(CUninstallerController& app) {
    if (app.Trace())
        trace::TraceEnd(*app.Trace(), L"Norvane", ProcessExitCode(app));
}

}  // namespace norvane
