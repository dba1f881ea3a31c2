#include "ui/Help.h"

namespace norvane::ui {
namespace {

// CFileFind::FindFile: anything of that name, file or folder.
bool Found(const RunView& run, const std::wstring& path) {
    std::vector<platform::FindEntry> entries;
    return run.platform.files.Find(path, entries) == platform::win::kSuccess && !entries.empty();
}

}  // namespace

std::wstring HelpFilePath(const RunView& run) {
    for (const std::wstring& file :
         {run.languageFolder + L"\\HELP.chm", std::wstring(L"ENU\\HELP.chm")}) {
        const std::wstring path = run.programFolder + file;
        if (Found(run, path))
            return path;
    }
    return run.programFolder + L"HELP.chm";
}

void OpenHelp(const RunView& run) {
    run.platform.ui.HtmlHelp(HelpFilePath(run), kHelpContext);
}

}  // namespace norvane::ui
