// Dialogs for a person at a terminal: a full-screen ncurses UI that draws
// a dialog's view and turns keys into its actions. Arrows and Tab move, Space ticks, Enter
// presses the focused (or the default) button, Escape cancels, F1 opens help, F2 the About box,
// F4 is the window menu's Close item. It fits 80x24 and redraws on a resize.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace norvane::hosts {

class UiThread;

class TuiScreen {
public:
    TuiScreen();
    ~TuiScreen();
    TuiScreen(const TuiScreen&) = delete;
    TuiScreen& operator=(const TuiScreen&) = delete;

    // Shows the dialog at `depth` (1 for the outermost) until the person does something to it;
    // while a worker runs, lets it on between keys.
    platform::DialogAction Interact(std::size_t depth, platform::Dialog& dialog, UiThread& thread);
    // Redraws the dialog on top with a changed view.
    void Draw(const platform::DialogView& view);
    // A message box: the button pressed (IDOK, IDYES or IDNO).
    int MessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type);
    void ShowHelp(const std::wstring& path, std::uint32_t context);

private:
    struct Focus {
        std::size_t item = 0;  // index into the focusable items
        std::size_t row = 0;   // the list's cursor
        std::size_t top = 0;   // the list's first visible row
    };
    struct Item {
        enum class Kind { List, Check, Button } kind;
        int id;
    };

    static std::vector<Item> Items(const platform::DialogView& view);
    Focus& Current();

    std::vector<Focus> m_focus;  // one per dialog showing
};

}  // namespace norvane::hosts
