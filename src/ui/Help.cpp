#include "ui/Help.h"

#include "app/Controller.h"
#include "app/Startup.h"

namespace norvane::ui {
namespace {

// CFileFind::FindFile: anything of that name, file or folder.
bool Found(CUninstallerController& app, const std::wstring& path) {
    std::vector<platform::FindEntry> entries;
    return app.P().files.Find(path, entries) == platform::win::kSuccess && !entries.empty();
}

}  // namespace

std::wstring HelpFilePath(CUninstallerController& app) {
    for (const std::wstring& file :
         {LanguageFolder(app.texts.m_nLangId) + L"\\HELP.chm", std::wstring(L"ENU\\HELP.chm")}) {
        const std::wstring path = app.g_szModuleDir + file;
        if (Found(app, path))
            return path;
    }
    return app.g_szModuleDir + L"HELP.chm";
}

void OpenHelp(CUninstallerController& app) {
    app.P().ui.HtmlHelp(HelpFilePath(app), kHelpContext);
}

}  // namespace norvane::ui
