#include "ui/AboutDialog.h"

#include "platform/Ui.h"
#include "ui/Modal.h"

namespace norvane::ui {
namespace {

constexpr std::uint32_t kValueBuffer = 260;

std::wstring CutAtLastBackslash(const std::wstring& path) {
    const std::size_t at = path.rfind(L'\\');
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at);
}

}  // namespace

std::wstring ReadVersionValue(const RunView& run, const wchar_t* key) {
    // The program folder without its final backslash, then its parent.
    std::wstring folder = CutAtLastBackslash(run.programFolder);
    wchar_t value[kValueBuffer];
    for (int tries = 0; tries < 2; ++tries) {
        run.platform.profile.GetString(L"Version", key, L"", value, kValueBuffer,
                                       folder + L"\\Version.txt");
        if (value[0] != L'\0')
            break;
        folder = CutAtLastBackslash(folder);
    }
    return value;
}

AboutDialog::AboutDialog(const RunView& run) : m_view(BaseView(run, platform::kAboutDialog)) {
    m_view.aboutItem = false;
    std::wstring drivers;
    for (const auto& name : run.packageDrivers)
        drivers += (drivers.empty() ? L"" : L"\r\n") + name;
    m_view.texts = {{kAboutTitle, m_view.caption},
                    {kAboutVersion, L"Version " + ReadVersionValue(run, L"MainVersion")},
                    {kAboutCopyright, ReadVersionValue(run, L"Copyright")},
                    {kAboutDrivers, drivers}};
    m_view.buttons = {{platform::kIdOk, true}};
}

platform::ActionResult AboutDialog::Act(const platform::DialogAction& action) {
    using Kind = platform::DialogAction::Kind;
    if ((action.kind == Kind::Press && action.control == platform::kIdOk) ||
        action.kind == Kind::Escape || action.kind == Kind::Close) {
        return {true, action.kind == Kind::Press ? platform::kIdOk : platform::kIdCancel};
    }
    return {false, {}};
}

}  // namespace norvane::ui
