// The program's dialogs as a host sees them. A dialog's logic (src/ui) decides what every control
// holds and what a user's action does; a host (a Win32 dialog built from the language library's
// template, or the simulated machine's terminal and script hosts) only draws the view and turns
// what the user does into actions. Controls are named by their numbers in the dialog template.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvane::platform {

// Dialog templates of the language library.
inline constexpr int kAboutDialog = 100;
inline constexpr int kSelectionDialog = 130;
inline constexpr int kPrinterConfirmDialog = 132;
inline constexpr int kProgressDialog = 133;
inline constexpr int kUtilityConfirmDialog = 134;

enum class CheckState { Cleared, Ticked, Indeterminate };

struct ListRow {
    std::vector<std::wstring> cells;  // one per column
    bool ticked = false;
    std::wstring name;  // what names the row to a user: its printer, utility or driver
};

// A list view; `checkBoxes` when each row has a tick.
struct ListControl {
    int id = 0;
    std::vector<std::wstring> headers;
    std::vector<ListRow> rows;
    bool checkBoxes = false;
};

struct CheckControl {
    int id = 0;
    CheckState state = CheckState::Cleared;
    bool enabled = true;
};

struct ButtonControl {
    int id = 0;
    bool enabled = true;
};

struct TextControl {
    int id = 0;
    std::wstring text;
};

struct DialogView {
    int templateId = 0;
    std::wstring caption;
    std::optional<ListControl> list;
    std::vector<CheckControl> checks;
    std::vector<ButtonControl> buttons;  // in the template's tab order
    std::vector<TextControl> texts;      // static texts and edit boxes the program fills
    std::optional<int> progress;         // the progress bar's position, 0 to 100
    bool aboutItem = false;              // the window menu's About item (text 101)
    bool helpCommand = false;            // F1 opens the help file
    bool closeEnabled = true;            // the window menu's Close item

    // The text control `id`; null when the view does not fill it.
    const TextControl* Text(int id) const {
        for (const auto& control : texts) {
            if (control.id == id)
                return &control;
        }
        return nullptr;
    }
};

// What a user does to a dialog.
struct DialogAction {
    enum class Kind {
        SetTick,     // row `index` of the list ticked (`on`) or cleared
        ClickCheck,  // check box `control`
        Press,       // button `control`
        Escape,      // the dialog's cancel operation (Escape, the Cancel button)
        Close,       // the window menu's Close item (or the close box)
        Help,        // F1
        About,       // the window menu's About item
    };
    Kind kind = Kind::Escape;
    int control = 0;
    std::size_t index = 0;
    bool on = true;
};

struct ActionResult {
    bool offered = true;       // false: the dialog does not offer that action now
    std::optional<int> ended;  // the dialog ends with this result
};

class Dialog {
public:
    virtual ~Dialog() = default;
    virtual DialogView View() const = 0;
    // The dialog's initialisation, once it exists; false ends it at once (result -1).
    virtual bool Init() { return true; }
    virtual ActionResult Act(const DialogAction& action) = 0;
    // True while work started by the dialog runs on another thread; a host that replays recorded
    // input holds it until then, so that a replay is the same each time.
    virtual bool Busy() const { return false; }
};

// A thread created suspended; the destructor waits for it to end.
class WorkerThread {
public:
    virtual ~WorkerThread() = default;
    // ResumeThread; false when it fails.
    virtual bool Resume() = 0;
    virtual bool Finished() const = 0;
    // Waits for the thread's end, handling what it sends to the dialog thread meanwhile.
    virtual void Wait() = 0;
};

}  // namespace norvane::platform
