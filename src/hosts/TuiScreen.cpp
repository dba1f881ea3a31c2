#include "hosts/TuiScreen.h"

#define NCURSES_WIDECHAR 1
#include <ncurses.h>

#include <algorithm>
#include <clocale>

#include "hosts/DialogLabels.h"
#include "hosts/UiThread.h"
#include "platform/Ui.h"

namespace norvane::hosts {
namespace {

using Kind = platform::DialogAction::Kind;

constexpr int kEscape = 27;
constexpr int kBusyPollMs = 0;
constexpr int kIdlePollMs = 200;

// Breaks a text into lines of at most `width` characters, at blanks where it can.
std::vector<std::wstring> Wrap(const std::wstring& text, int width) {
    std::vector<std::wstring> lines;
    if (width <= 0)
        return lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring paragraph = text.substr(start, end - start);
        do {
            std::size_t cut = paragraph.size();
            if (cut > static_cast<std::size_t>(width)) {
                cut = paragraph.rfind(L' ', width);
                if (cut == std::wstring::npos || cut == 0)
                    cut = width;
            }
            lines.push_back(paragraph.substr(0, cut));
            paragraph = paragraph.substr(std::min(
                paragraph.size(), cut + (cut < paragraph.size() && paragraph[cut] == L' ')));
        } while (!paragraph.empty());
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() &&
            text[end + 1] == L'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

void Put(int y, int x, const std::wstring& text, int width) {
    if (width > 0 && y >= 0 && y < LINES)
        mvaddnwstr(y, x, text.c_str(), std::min<int>(width, static_cast<int>(text.size())));
}

const wchar_t* Tick(platform::CheckState state) {
    switch (state) {
        case platform::CheckState::Ticked:
            return L"[x] ";
        case platform::CheckState::Indeterminate:
            return L"[-] ";
        default:
            return L"[ ] ";
    }
}

// A column's text with at least one blank after it, so that columns never run together; a text
// that does not fit ends in "…" to show that it was cut.
std::wstring Cell(const std::wstring& text, std::size_t width) {
    if (width < 2)
        return std::wstring(width, L' ');
    std::wstring cell = text.size() < width ? text : text.substr(0, width - 2) + L"\u2026";
    cell.resize(width, L' ');
    return cell;
}

std::wstring Hints(const platform::DialogView& view) {
    std::wstring hints = L"Tab/arrows move  Space ticks  Enter presses  Esc cancels";
    if (view.helpCommand)
        hints += L"  F1 help";
    if (view.aboutItem)
        hints += L"  F2 about";
    if (view.templateId == platform::kProgressDialog)
        hints += L"  F4 close";
    return hints;
}

}  // namespace

TuiScreen::TuiScreen() {
    std::setlocale(LC_ALL, "");
    initscr();
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
}

TuiScreen::~TuiScreen() {
    endwin();
}

TuiScreen::Focus& TuiScreen::Current() {
    if (m_focus.empty())
        m_focus.resize(1);
    return m_focus.back();
}

std::vector<TuiScreen::Item> TuiScreen::Items(const platform::DialogView& view) {
    std::vector<Item> items;
    if (view.list && view.list->checkBoxes && !view.list->rows.empty())
        items.push_back({Item::Kind::List, view.list->id});
    for (const auto& check : view.checks) {
        if (check.enabled)
            items.push_back({Item::Kind::Check, check.id});
    }
    for (const auto& button : view.buttons) {
        if (button.enabled)
            items.push_back({Item::Kind::Button, button.id});
    }
    return items;
}

void TuiScreen::Draw(const platform::DialogView& view) {
    Focus& focus = Current();
    const std::vector<Item> items = Items(view);
    if (focus.item >= items.size())
        focus.item = 0;
    const Item* focused = items.empty() ? nullptr : &items[focus.item];
    const int width = COLS - 2;
    erase();
    attron(A_REVERSE);
    mvhline(0, 0, ' ', COLS);
    Put(0, 1, view.caption, width);
    attroff(A_REVERSE);
    int y = 2;
    const int bottom = LINES - 3;  // the buttons' line
    const auto paragraph = [&](const std::wstring& text, int maxLines) {
        int count = 0;
        for (const auto& line : Wrap(text, width)) {
            if (count++ == maxLines || y >= bottom)
                break;
            Put(y++, 1, line, width);
        }
    };
    if (view.templateId == platform::kProgressDialog) {
        const platform::TextControl* lines = view.Text(1003);
        const std::vector<std::wstring> wrapped = Wrap(lines ? lines->text : L"", width);
        const int room = std::max(1, bottom - y - 4);
        const std::size_t first =
            wrapped.size() > static_cast<std::size_t>(room) ? wrapped.size() - room : 0;
        for (std::size_t i = first; i < wrapped.size(); ++i)
            Put(y++, 1, wrapped[i], width);
        y = std::max(y, bottom - 4);
        const int position = view.progress.value_or(0);
        const int barWidth = std::max(10, width - 7);
        std::wstring bar = L"[" + std::wstring(barWidth * position / 100, L'#') +
                           std::wstring(barWidth - barWidth * position / 100, L'.') + L"] " +
                           std::to_wstring(position) + L"%";
        Put(y++, 1, bar, width);
        const platform::TextControl* end = view.Text(-1);
        paragraph(end ? end->text : StaticText(view.templateId), 2);
    } else if (view.templateId == platform::kAboutDialog) {
        for (int id : {1012, 1009, 1010}) {
            const platform::TextControl* line = view.Text(id);
            Put(y++, 1, line ? line->text : L"", width);
        }
        ++y;
        paragraph(StaticText(view.templateId), 1);
        const platform::TextControl* drivers = view.Text(1011);
        paragraph(drivers ? drivers->text : L"", bottom - y);
    } else {
        paragraph(StaticText(view.templateId), 3);
        ++y;
    }
    if (view.list) {
        const auto& list = *view.list;
        const std::size_t box = list.checkBoxes ? 4 : 0;
        const std::size_t column =
            (static_cast<std::size_t>(width) - box) / std::max<std::size_t>(1, list.headers.size());
        std::wstring header(box, L' ');
        for (const auto& title : list.headers)
            header += Cell(title, column);
        attron(A_UNDERLINE);
        Put(y++, 1, header, width);
        attroff(A_UNDERLINE);
        const int rows = std::max(1, bottom - y - static_cast<int>(view.checks.size()) - 1);
        if (focus.row >= list.rows.size())
            focus.row = list.rows.empty() ? 0 : list.rows.size() - 1;
        if (focus.row < focus.top)
            focus.top = focus.row;
        if (focus.row >= focus.top + rows)
            focus.top = focus.row - rows + 1;
        for (std::size_t i = focus.top; i < list.rows.size() && i < focus.top + rows; ++i) {
            std::wstring line =
                list.checkBoxes ? std::wstring(list.rows[i].ticked ? L"[x] " : L"[ ] ") : L"";
            for (const auto& cell : list.rows[i].cells)
                line += Cell(cell, column);
            const bool cursor = focused && focused->kind == Item::Kind::List && i == focus.row;
            if (cursor)
                attron(A_REVERSE);
            Put(y++, 1, line, width);
            if (cursor)
                attroff(A_REVERSE);
        }
        y = std::max(y, bottom - static_cast<int>(view.checks.size()) - 1);
    }
    for (const auto& check : view.checks) {
        const bool current =
            focused && focused->kind == Item::Kind::Check && focused->id == check.id;
        if (current)
            attron(A_REVERSE);
        if (!check.enabled)
            attron(A_DIM);
        Put(y++, 1, Tick(check.state) + ControlLabel(view.templateId, check.id), width);
        attroff(A_REVERSE | A_DIM);
    }
    int x = 1;
    for (const auto& button : view.buttons) {
        const std::wstring label = L"< " + ControlLabel(view.templateId, button.id) + L" >";
        const bool current =
            focused && focused->kind == Item::Kind::Button && focused->id == button.id;
        if (current)
            attron(A_REVERSE);
        if (!button.enabled)
            attron(A_DIM);
        Put(LINES - 3, x, label, COLS - 1 - x);
        attroff(A_REVERSE | A_DIM);
        x += static_cast<int>(label.size()) + 2;
    }
    attron(A_DIM);
    Put(LINES - 1, 1, Hints(view), width);
    attroff(A_DIM);
    refresh();
}

platform::DialogAction TuiScreen::Interact(std::size_t depth, platform::Dialog& dialog,
                                           UiThread& thread) {
    m_focus.resize(depth);
    for (;;) {
        const platform::DialogView view = dialog.View();
        Draw(view);
        // A worker goes on under any dialog, as sent messages reach a nested modal loop too.
        const bool busy = thread.WorkerRunning();
        if (busy)
            thread.Pump();
        timeout(busy ? kBusyPollMs : kIdlePollMs);
        const int key = getch();
        if (key == ERR || key == KEY_RESIZE)
            continue;
        Focus& focus = Current();
        const std::vector<Item> items = Items(view);
        const Item* focused = focus.item < items.size() ? &items[focus.item] : nullptr;
        const bool onList = focused && focused->kind == Item::Kind::List;
        const auto move = [&](int by) {
            if (!items.empty())
                focus.item = (focus.item + items.size() + by) % items.size();
        };
        switch (key) {
            case kEscape:
                return {Kind::Escape};
            case KEY_F(1):
                return {Kind::Help};
            case KEY_F(2):
                return {Kind::About};
            case KEY_F(4):
                return {Kind::Close};
            case '\t':
            case KEY_RIGHT:
                move(1);
                break;
            case KEY_BTAB:
            case KEY_LEFT:
                move(-1);
                break;
            case KEY_UP:
                if (onList && focus.row > 0)
                    --focus.row;
                else if (!onList)
                    move(-1);
                break;
            case KEY_DOWN:
                if (onList && focus.row + 1 < view.list->rows.size())
                    ++focus.row;
                else if (!onList)
                    move(1);
                break;
            case ' ':
                if (onList)
                    return {Kind::SetTick, 0, focus.row, !view.list->rows[focus.row].ticked};
                if (focused)
                    return {focused->kind == Item::Kind::Check ? Kind::ClickCheck : Kind::Press,
                            focused->id};
                break;
            case '\n':
            case '\r':
            case KEY_ENTER:
                if (focused && focused->kind == Item::Kind::Button)
                    return {Kind::Press, focused->id};
                return {Kind::Press, DefaultButton(view.templateId)};
            default:
                break;
        }
    }
}

int TuiScreen::MessageBox(const std::wstring& text, const std::wstring& caption,
                          std::uint32_t type) {
    const bool yesNo = (type & 0xF) == platform::kMbYesNo;
    const std::vector<int> buttons = yesNo ? std::vector<int>{platform::kIdYes, platform::kIdNo}
                                           : std::vector<int>{platform::kIdOk};
    std::size_t chosen = 0;
    for (;;) {
        const int width = std::min(COLS - 4, 70);
        const std::vector<std::wstring> lines = Wrap(text, width - 4);
        const int height = static_cast<int>(lines.size()) + 5;
        const int top = std::max(0, (LINES - height) / 2);
        const int left = std::max(0, (COLS - width) / 2);
        for (int row = 0; row < height; ++row)
            mvhline(top + row, left, ' ', width);
        attron(A_REVERSE);
        mvhline(top, left, ' ', width);
        Put(top, left + 1, caption, width - 2);
        attroff(A_REVERSE);
        for (std::size_t i = 0; i < lines.size(); ++i)
            Put(top + 2 + static_cast<int>(i), left + 2, lines[i], width - 4);
        int x = left + 2;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const std::wstring label = buttons[i] == platform::kIdYes  ? L"< Yes >"
                                       : buttons[i] == platform::kIdNo ? L"< No >"
                                                                       : L"< OK >";
            if (i == chosen)
                attron(A_REVERSE);
            Put(top + height - 2, x, label, width - (x - left));
            attroff(A_REVERSE);
            x += static_cast<int>(label.size()) + 2;
        }
        refresh();
        timeout(-1);
        const int key = getch();
        if (key == '\n' || key == '\r' || key == KEY_ENTER || key == ' ')
            return buttons[chosen];
        if (key == '\t' || key == KEY_RIGHT || key == KEY_LEFT || key == KEY_BTAB)
            chosen = (chosen + 1) % buttons.size();
        if (yesNo && (key == 'y' || key == 'Y'))
            return platform::kIdYes;
        if (yesNo && (key == 'n' || key == 'N'))
            return platform::kIdNo;
        if (!yesNo && key == kEscape)
            return platform::kIdOk;
    }
}

void TuiScreen::ShowHelp(const std::wstring& path, std::uint32_t context) {
    const std::wstring text =
        L"Help\n\nWindows would open " + path + L" at topic " + std::to_wstring(context) +
        L".\n\nKeys: Tab and the arrows move between the list, the check boxes and the "
        L"buttons; Up and Down move in the list; Space ticks a row or a box; Enter presses the "
        L"focused button (or the dialog's default one); Escape cancels; F1 shows this help; F2 "
        L"opens the About box; F4 closes the progress dialog once the removal has ended.\n\n"
        L"Press any key to go back.";
    for (;;) {
        erase();
        int y = 1;
        for (const auto& line : Wrap(text, COLS - 2))
            Put(y++, 1, line, COLS - 2);
        refresh();
        timeout(-1);
        if (getch() != KEY_RESIZE)
            return;
    }
}

}  // namespace norvane::hosts
