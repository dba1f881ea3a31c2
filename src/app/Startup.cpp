#include "app/Startup.h"

#include <cwchar>

#include "app/Controller.h"
#include "app/Report.h"
#include "log/LogWriter.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {

namespace {

// A start-up step before the log's own step failed: the log the switches ask for is made first,
// so that the failure's codes reach it.
void ReportEarlyEnd(CUninstallerController& app, EarlyEnd end, const std::wstring& message,
                    ReportKind kind, std::uint32_t code) {
    app.m_earlyEnd = end;
    if (app.m_bWriteLog)
        CreateLog(app);
    ReportResult(app, message, kind, code);
}

}  // namespace

bool InitControls(CUninstallerController& app) {
    if (app.P().ui.InitCommonControls())
        return true;
    ReportEarlyEnd(app, EarlyEnd::CommonControls, L"", ReportKind::SilentError, 1);
    return false;
}

std::wstring LanguageFolder(std::uint32_t langId) {
    switch (langId) {
        case 1028:
            return L"CHT";
        case 1041:
            return L"JPN";
        case 1042:
            return L"KOR";
        case 2052:
            return L"CHS";
        default:
            return L"ENU";
    }
}

std::wstring ModuleFolder(const std::wstring& modulePath) {
    const std::wstring path = text::LowerAscii(text::Bounded(modulePath, path::kMaxPath));
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool LoadResourceLibrary(CUninstallerController& app, const std::wstring& commandLine) {
    const std::wstring modulePath = text::Bounded(app.P().system.ModuleFileName(), path::kMaxPath);
    const std::wstring folder = modulePath.substr(0, modulePath.rfind(L'\\'));

    const std::wstring lower = text::LowerAscii(commandLine);
    const auto at = lower.find(L"/l");
    if (at != std::wstring::npos) {
        const std::wstring langArg =
            commandLine.size() > at + 3 ? commandLine.substr(at + 3, 6) : L"";
        unsigned value = 0;
        app.texts.m_nLangId = std::swscanf(langArg.c_str(), L"%X", &value) == 1 ? value : 0;
    } else {
        app.texts.m_nLangId = app.P().system.ThreadLocale();
    }

    for (const std::wstring& name :
         {L"\\" + LanguageFolder(app.texts.m_nLangId) + L"\\Norvane.dll",
          std::wstring(L"\\ENU\\Norvane.dll"), std::wstring(L"\\Norvane.dll")}) {
        if (app.P().resources.LoadLibrary(folder + name, app.texts.m_hResourceLib) == 0)
            return true;
    }
    ReportEarlyEnd(app, EarlyEnd::Language, L"Cannot load the resource-link library.",
                   ReportKind::Stop, 6);
    return false;
}

bool CheckSingleInstance(CUninstallerController& app) {
    if (app.P().processes.ClaimFirstInstance())
        return true;
    app.m_earlyEnd = EarlyEnd::OtherInstance;
    app.P().ui.ActivateWindow(platform::kDialogClass, app.LoadText(148));
    return false;
}

bool PrepareFolder(CUninstallerController& app, const std::wstring& folder) {
    auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    // The server and share of a UNC path exist or not; they cannot be created, only what is
    // below them.
    std::size_t firstLevel = 1;
    if (folder.size() > 2 && isSeparator(folder[0]) && isSeparator(folder[1])) {
        int separators = 0;
        for (firstLevel = 2; firstLevel < folder.size() && separators < 2; ++firstLevel) {
            separators += isSeparator(folder[firstLevel]);
        }
    }
    auto createLevels = [&](const std::wstring& path) {
        for (std::size_t i = firstLevel; i <= path.size(); ++i) {
            if (i < path.size() && !isSeparator(path[i]))
                continue;
            const auto error = app.P().files.CreateDirectory(path.substr(0, i));
            if (error != platform::win::kSuccess && error != platform::win::kAlreadyExists) {
                return false;
            }
        }
        return true;
    };
    std::wstring base = folder;
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    return createLevels(base) && createLevels(base + L"\\testnorv");
}

void CreateLog(CUninstallerController& app) {
    // A log path too long for its buffer would be cut and name another file. Such a folder is
    // checked before anything is made, so none of its levels is left behind when the log falls
    // back to the program folder.
    const auto fits = [](const std::wstring& folder) {
        return path::Join(folder, L"Norvane.log").size() < path::kMaxPath;
    };
    if (app.m_strLogFolder.empty() || !fits(app.m_strLogFolder) ||
        !PrepareFolder(app, app.m_strLogFolder)) {
        app.m_strLogFolder = app.g_szModuleDir;
    }
    app.log.SetPath(text::Bounded(path::Join(app.m_strLogFolder, L"Norvane.log"), path::kMaxPath));

    CLogWriter writer(app.P());
    if (writer.Open(app.log.Path())) {
        writer.WriteHeader();
        writer.Close();
    }
}

bool CheckAdministrator(CUninstallerController& app) {
    bool member = false;
    if (app.P().security.IsAdministrator(member) == platform::win::kSuccess && member)
        return true;
    app.m_bNotAdministrator = 1;
    ReportResult(app, app.LoadText(135), ReportKind::Stop, 3);
    return false;
}

bool ReadCommonConfig(CUninstallerController& app) {
    const PackageConfig& config = app.Config();
    if (!app.P().files.PathFileExists(config.Path()) ||
        app.P().files.PathIsDirectory(config.Path())) {
        ReportResult(app, app.LoadText(146), ReportKind::Stop, 2);
        return false;
    }
    ReadCommonValues(app);
    return true;
}

void ReadCommonValues(CUninstallerController& app) {
    const PackageConfig& config = app.Config();
    app.g_strOemProvider = config.Read(L"Common", L"OEMPROVIDER", PackageConfig::kCommonBuffer);
    app.m_strOemRegPath = config.Read(L"Common", L"OEMREGPATH", PackageConfig::kCommonBuffer);
    app.m_strOemRegNorvanePath =
        config.Read(L"Common", L"OEMREGNORVANEPATH", PackageConfig::kCommonBuffer);
}

}  // namespace norvane
