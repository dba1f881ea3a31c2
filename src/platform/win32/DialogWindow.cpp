#include "platform/win32/DialogWindow.h"

#include <string>

#include "platform/win32/DialogThread.h"
#include "platform/win32/DpiScale.h"
#include "platform/win32/Handles.h"

namespace norvane::win32 {
namespace {

using Kind = platform::DialogAction::Kind;

constexpr UINT kAboutCommand = 16;
constexpr UINT kAboutItemText = 101;
constexpr WORD kIcon = 134;
// Posted on a change of DPI, so that it is handled after the dialog manager has scaled the dialog.
constexpr UINT kFitMessage = WM_APP + 3;

bool IsMultilineEdit(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE);
}

class DialogWindow {
public:
    DialogWindow(HMODULE module, platform::Dialog& dialog, DialogThread& thread)
        : m_module(module), m_dialog(dialog), m_thread(thread) {}

    int Show() {
        const int templateId = m_dialog.View().templateId;
        return static_cast<int>(DialogBoxParamW(m_module, MAKEINTRESOURCEW(templateId),
                                                m_thread.Top(), &DialogWindow::Proc,
                                                reinterpret_cast<LPARAM>(this)));
    }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG)
            SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
        return self ? self->Handle(window, message, wParam, lParam) : FALSE;
    }

    INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Init(HWND window);
    void AddAboutItem();
    // Sizes what is in pixels to the window's DPI: the icons, and the list's columns to its width.
    void FitToDpi();
    void SetIcons(UINT dpi);
    void MakeList(const platform::ListControl& list);
    void Act(const platform::DialogAction& action);
    bool Command(WPARAM wParam);
    void Notify(const NMHDR& header);
    // Puts the dialog's view onto the controls, touching only what changed since the last time.
    void Apply(const platform::DialogView& view);
    void ApplyList(const platform::ListControl& list);

    HMODULE m_module;
    platform::Dialog& m_dialog;
    DialogThread& m_thread;
    HWND m_window = nullptr;
    UniqueIcon m_bigIcon;
    UniqueIcon m_smallIcon;
    int m_listId = 0;
    int m_columns = 0;
    platform::DialogView m_shown;
    bool m_applying = false;  // list notifications caused by Apply are not the user's
    bool m_ended = false;
};

INT_PTR DialogWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Init(window);
            return TRUE;
        case WM_COMMAND:
            return Command(wParam);
        case WM_NOTIFY:
            Notify(*reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case WM_HELP:
            Act({Kind::Help});
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                Act({Kind::About});
                return TRUE;
            }
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Act({Kind::Close});
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            Act({Kind::Close});
            return TRUE;
        // Per-monitor DPI: the dialog manager scales the template's layout and fonts when the
        // window moves to a monitor of another DPI (so the message is left to it); what is in
        // pixels follows once it has.
        case WM_DPICHANGED:
            PostMessageW(window, kFitMessage, 0, 0);
            return FALSE;
        case kFitMessage:
            FitToDpi();
            return TRUE;
        case kRefreshMessage:
            if (!m_ended)
                Apply(m_dialog.View());
            return TRUE;
        case WM_DESTROY:
            m_thread.Closed(window);
            return FALSE;
        default:
            return FALSE;
    }
}

void DialogWindow::Init(HWND window) {
    m_window = window;
    m_thread.Opened(window);
    const platform::DialogView view = m_dialog.View();
    if (view.aboutItem)
        AddAboutItem();
    if (view.list)
        MakeList(*view.list);
    FitToDpi();
    Apply(view);
    if (!m_dialog.Init()) {
        m_ended = true;
        EndDialog(window, -1);
        return;
    }
    Apply(m_dialog.View());
}

void DialogWindow::AddAboutItem() {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(m_module, kAboutItemText, reinterpret_cast<LPWSTR>(&text), 0);
    const HMENU menu = GetSystemMenu(m_window, FALSE);
    if (!menu || length <= 0)
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand,
                std::wstring(text, static_cast<std::size_t>(length)).c_str());
}

void DialogWindow::FitToDpi() {
    const UINT dpi = GetDpiForWindow(m_window);
    SetIcons(dpi);
    if (!m_columns)
        return;
    const HWND control = GetDlgItem(m_window, m_listId);
    RECT bounds;
    GetWindowRect(control, &bounds);
    const std::vector<int> widths =
        ColumnWidths(bounds.right - bounds.left, m_columns, static_cast<int>(dpi));
    for (std::size_t i = 0; i < widths.size(); ++i)
        SendMessageW(control, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
}

// The window's icons and the template's icon controls, at the sizes Windows uses at `dpi`.
void DialogWindow::SetIcons(UINT dpi) {
    const auto load = [&](int width, int height) {
        return UniqueIcon(static_cast<HICON>(LoadImageW(
            m_module, MAKEINTRESOURCEW(kIcon), IMAGE_ICON, GetSystemMetricsForDpi(width, dpi),
            GetSystemMetricsForDpi(height, dpi), 0)));
    };
    UniqueIcon bigIcon = load(SM_CXICON, SM_CYICON);
    UniqueIcon smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Static") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(bigIcon.Get()), 0);
        }
    }
    // The icons shown before are destroyed only now that nothing shows them any more.
    m_bigIcon = std::move(bigIcon);
    m_smallIcon = std::move(smallIcon);
}

// The columns are made empty; FitToDpi gives them their widths.
void DialogWindow::MakeList(const platform::ListControl& list) {
    const HWND control = GetDlgItem(m_window, list.id);
    DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
    if (list.checkBoxes)
        styles |= LVS_EX_CHECKBOXES;
    SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    m_listId = list.id;
    m_columns = static_cast<int>(list.headers.size());
    for (int i = 0; i < m_columns; ++i) {
        std::wstring header = list.headers[static_cast<std::size_t>(i)];
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.pszText = header.data();
        column.iSubItem = i;
        SendMessageW(control, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
}

void DialogWindow::ApplyList(const platform::ListControl& list) {
    const HWND control = GetDlgItem(m_window, list.id);
    const bool fresh = !m_shown.list || m_shown.list->rows.size() != list.rows.size();
    if (fresh) {
        SendMessageW(control, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t row = 0; row < list.rows.size(); ++row) {
            const auto& cells = list.rows[row].cells;
            for (std::size_t cell = 0; cell < cells.size(); ++cell) {
                std::wstring text = cells[cell];
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(row);
                item.iSubItem = static_cast<int>(cell);
                item.pszText = text.data();
                SendMessageW(control, cell == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                             reinterpret_cast<LPARAM>(&item));
            }
        }
        // Space ticks the focused row: the first one has the focus from the start.
        if (list.checkBoxes && !list.rows.empty())
            ListView_SetItemState(control, 0, LVIS_FOCUSED | LVIS_SELECTED,
                                  LVIS_FOCUSED | LVIS_SELECTED);
    }
    if (!list.checkBoxes)
        return;
    for (std::size_t row = 0; row < list.rows.size(); ++row) {
        const bool ticked = list.rows[row].ticked;
        if (fresh || m_shown.list->rows[row].ticked != ticked)
            ListView_SetCheckState(control, static_cast<int>(row), ticked ? TRUE : FALSE);
    }
}

void DialogWindow::Apply(const platform::DialogView& view) {
    m_applying = true;
    if (view.caption != m_shown.caption)
        SetWindowTextW(m_window, view.caption.c_str());
    if (view.list)
        ApplyList(*view.list);
    for (const auto& check : view.checks) {
        const HWND control = GetDlgItem(m_window, check.id);
        const WPARAM state = check.state == platform::CheckState::Ticked ? BST_CHECKED
                             : check.state == platform::CheckState::Indeterminate
                                 ? BST_INDETERMINATE
                                 : BST_UNCHECKED;
        SendMessageW(control, BM_SETCHECK, state, 0);
        EnableWindow(control, check.enabled);
    }
    for (const auto& button : view.buttons) {
        const HWND control = GetDlgItem(m_window, button.id);
        // A control that loses its use while it has the focus hands the focus on, or the
        // keyboard would be stuck on it.
        if (!button.enabled && GetFocus() == control)
            SendMessageW(m_window, WM_NEXTDLGCTL, 0, FALSE);
        EnableWindow(control, button.enabled);
    }
    for (const auto& text : view.texts) {
        const platform::TextControl* before = m_shown.Text(text.id);
        if (before && before->text == text.text)
            continue;
        const HWND control = GetDlgItem(m_window, text.id);
        SetWindowTextW(control, text.text.c_str());
        // The newest line is the one to see.
        if (IsMultilineEdit(control))
            SendMessageW(control, EM_LINESCROLL, 0, SendMessageW(control, EM_GETLINECOUNT, 0, 0));
    }
    if (view.progress && view.progress != m_shown.progress) {
        SendMessageW(FindWindowExW(m_window, nullptr, PROGRESS_CLASSW, nullptr), PBM_SETPOS,
                     static_cast<WPARAM>(*view.progress), 0);
    }
    EnableMenuItem(GetSystemMenu(m_window, FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (view.closeEnabled ? MF_ENABLED : MF_GRAYED));
    m_shown = view;
    m_applying = false;
}

void DialogWindow::Act(const platform::DialogAction& action) {
    if (m_ended)
        return;
    const platform::ActionResult result = m_dialog.Act(action);
    if (result.ended) {
        m_ended = true;
        EndDialog(m_window, *result.ended);
        return;
    }
    Apply(m_dialog.View());
}

// Buttons report clicks; Enter and Escape come as the default button's and IDCANCEL's commands.
bool DialogWindow::Command(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED)
        return false;
    const int id = LOWORD(wParam);
    if (id == IDCANCEL) {
        Act({Kind::Escape});
        return true;
    }
    for (const auto& check : m_shown.checks) {
        if (check.id == id) {
            Act({Kind::ClickCheck, id});
            return true;
        }
    }
    Act({Kind::Press, id});
    return true;
}

void DialogWindow::Notify(const NMHDR& header) {
    if (m_applying || !m_shown.list || !m_shown.list->checkBoxes ||
        static_cast<int>(header.idFrom) != m_shown.list->id) {
        return;
    }
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem < 0 || !(change.uChanged & LVIF_STATE) ||
            !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
            return;
        }
        const bool ticked = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        const auto row = static_cast<std::size_t>(change.iItem);
        if (row < m_shown.list->rows.size() && m_shown.list->rows[row].ticked != ticked)
            Act({Kind::SetTick, 0, row, ticked});
        return;
    }
    // A click on a row's text ticks or clears it as a click on its box would.
    if (header.code == NM_CLICK) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit{};
        hit.pt = click.ptAction;
        const int row = static_cast<int>(
            SendMessageW(header.hwndFrom, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row < 0 || (hit.flags & LVHT_ONITEMSTATEICON) ||
            static_cast<std::size_t>(row) >= m_shown.list->rows.size()) {
            return;
        }
        const auto index = static_cast<std::size_t>(row);
        Act({Kind::SetTick, 0, index, !m_shown.list->rows[index].ticked});
    }
}

}  // namespace

int ShowDialogWindow(HMODULE module, platform::Dialog& dialog, DialogThread& thread) {
    if (!module)
        return -1;
    DialogWindow window(module, dialog, thread);
    return window.Show();
}

}  // namespace norvane::win32
