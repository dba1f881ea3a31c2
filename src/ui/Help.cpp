#include "ui/Help.h"

#include "app/Controller.h"

namespace norvane::ui {
namespace {

const wchar_t* LanguageHelpFile(std::uint32_t langId) {
    switch (langId) {
        case 1028:
            return L"CHT\\HELP.chm";
        case 1041:
            return L"JPN\\HELP.chm";
        case 1042:
            return L"KOR\\HELP.chm";
        case 2052:
            return L"CHS\\HELP.chm";
        default:
            return L"ENU\\HELP.chm";
    }
}

// CFileFind::FindFile: anything of that name, file or folder.
bool Found(CUninstallerController& app, const std::wstring& path) {
    std::vector<platform::FindEntry> entries;
    return app.P().files.Find(path, entries) == platform::win::kSuccess && !entries.empty();
}

}  // namespace

std::wstring HelpFilePath(CUninstallerController& app) {
    for (const wchar_t* file : {LanguageHelpFile(app.m_nLangId), L"ENU\\HELP.chm"}) {
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
