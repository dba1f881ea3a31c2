#include "hosts/ScriptActions.h"

#include "platform/Ui.h"
#include "support/Text.h"

namespace norvane::hosts {
namespace {

using Kind = platform::DialogAction::Kind;

struct Word {
    const wchar_t* word;
    int templateId;  // 0: every dialog without an entry of its own
    Kind kind;
    int control;
};

constexpr Word kWords[] = {
    {L"select-all", platform::kSelectionDialog, Kind::ClickCheck, 1002},
    {L"remove", platform::kSelectionDialog, Kind::Press, 1004},
    {L"printers-only", platform::kPrinterConfirmDialog, Kind::ClickCheck, 1004},
    {L"ok", platform::kPrinterConfirmDialog, Kind::Press, 1006},
    {L"ok", 0, Kind::Press, platform::kIdOk},
    {L"yes", platform::kUtilityConfirmDialog, Kind::Press, 1015},
    {L"no", platform::kUtilityConfirmDialog, Kind::Press, 1016},
    {L"cancel", 0, Kind::Escape, 0},
    {L"about", 0, Kind::About, 0},
    {L"help", 0, Kind::Help, 0},
    {L"close", 0, Kind::Close, 0},
};

// The entry for a word in this dialog: its own, else the one for every dialog.
const Word* Find(const std::wstring& word, int templateId) {
    const Word* general = nullptr;
    for (const auto& entry : kWords) {
        if (word != entry.word)
            continue;
        if (entry.templateId == templateId)
            return &entry;
        if (entry.templateId == 0)
            general = &entry;
    }
    return general;
}

bool Available(const Word& entry, const platform::DialogView& view) {
    switch (entry.kind) {
        case Kind::Press:
            for (const auto& button : view.buttons) {
                if (button.id == entry.control)
                    return button.enabled;
            }
            return false;
        case Kind::ClickCheck:
            for (const auto& check : view.checks) {
                if (check.id == entry.control)
                    return check.enabled;
            }
            return false;
        case Kind::About:
            return view.aboutItem;
        case Kind::Help:
            return view.helpCommand;
        case Kind::Close:
            return view.templateId == platform::kProgressDialog && view.closeEnabled;
        default:
            return true;
    }
}

}  // namespace

std::optional<platform::DialogAction> ParseScriptAction(const std::wstring& line,
                                                        const platform::DialogView& view) {
    const std::wstring trimmed = text::Trim(line);
    const std::size_t space = trimmed.find(L' ');
    const std::wstring word = text::LowerAscii(trimmed.substr(0, space));
    if (word == L"tick" || word == L"untick") {
        if (!view.list || !view.list->checkBoxes || space == std::wstring::npos)
            return std::nullopt;
        const std::wstring name = text::Trim(trimmed.substr(space + 1));
        for (std::size_t i = 0; i < view.list->rows.size(); ++i) {
            if (text::EqualsNoCase(view.list->rows[i].name, name))
                return platform::DialogAction{Kind::SetTick, 0, i, word == L"tick"};
        }
        return std::nullopt;
    }
    if (space != std::wstring::npos)
        return std::nullopt;
    const Word* entry = Find(word, view.templateId);
    if (!entry)
        return std::nullopt;
    return platform::DialogAction{entry->kind, entry->control, 0, true};
}

std::wstring OfferedActions(const platform::DialogView& view) {
    std::wstring offered;
    const auto add = [&](const std::wstring& words) {
        offered += (offered.empty() ? L"" : L", ") + words;
    };
    if (view.list && view.list->checkBoxes) {
        std::wstring names;
        for (const auto& row : view.list->rows)
            names += (names.empty() ? L"" : L" | ") + row.name;
        add(L"tick or untick one of: " + names);
    }
    for (const auto& entry : kWords) {
        if (Find(entry.word, view.templateId) == &entry && Available(entry, view))
            add(entry.word);
    }
    return offered;
}

std::wstring DescribeAction(const platform::DialogAction& action,
                            const platform::DialogView& view) {
    if (action.kind == Kind::SetTick) {
        const bool listed = view.list && action.index < view.list->rows.size();
        return std::wstring(action.on ? L"tick " : L"untick ") +
               (listed ? view.list->rows[action.index].name : L"?");
    }
    for (const auto& entry : kWords) {
        if (entry.kind == action.kind && entry.control == action.control &&
            Find(entry.word, view.templateId) == &entry) {
            return entry.word;
        }
    }
    return L"control " + std::to_wstring(action.control);
}

}  // namespace norvane::hosts
