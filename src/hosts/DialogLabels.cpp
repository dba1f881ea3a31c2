#include "hosts/DialogLabels.h"

#include "platform/Dialogs.h"

namespace norvane::hosts {
namespace {

struct Label {
    int templateId;
    int controlId;
    const wchar_t* text;
};

// resources/ENU/Norvane.rc and resources/Dialogs.rc2, without the keyboard markers.
constexpr Label kLabels[] = {
    {platform::kAboutDialog, 1, L"OK"},
    {platform::kSelectionDialog, 1002, L"Select all"},
    {platform::kSelectionDialog, 1004, L"Remove"},
    {platform::kSelectionDialog, 2, L"Cancel"},
    {platform::kSelectionDialog, 1007, L"Help"},
    {platform::kPrinterConfirmDialog, 1004,
     L"Remove the printers only and keep their printer drivers"},
    {platform::kPrinterConfirmDialog, 1006, L"OK"},
    {platform::kPrinterConfirmDialog, 1005, L"Cancel"},
    {platform::kPrinterConfirmDialog, 1002, L"Help"},
    {platform::kProgressDialog, 1, L"OK"},
    {platform::kUtilityConfirmDialog, 1015, L"Yes"},
    {platform::kUtilityConfirmDialog, 1016, L"No"},
};

}  // namespace

std::wstring ControlLabel(int templateId, int controlId) {
    for (const auto& label : kLabels) {
        if (label.templateId == templateId && label.controlId == controlId)
            return label.text;
    }
    return L"";
}

std::wstring StaticText(int templateId) {
    switch (templateId) {
        case platform::kAboutDialog:
            return L"Printer drivers of this package:";
        case platform::kSelectionDialog:
            return L"Select the printers and printer drivers to remove, then click Remove. A "
                   L"printer driver is removed as well when every printer that uses it is "
                   L"selected.";
        case platform::kPrinterConfirmDialog:
            return L"The following printers and printer drivers will be removed. Do you want to "
                   L"continue?";
        case platform::kProgressDialog:
            return L"Removing the selected items. Please wait...";
        case platform::kUtilityConfirmDialog:
            return L"The following utilities were installed with the printer drivers. Do you "
                   L"want to remove them as well?";
        default:
            return L"";
    }
}

int DefaultButton(int templateId) {
    switch (templateId) {
        case platform::kSelectionDialog:
            return 1004;
        case platform::kPrinterConfirmDialog:
            return 1006;
        case platform::kUtilityConfirmDialog:
            return 1015;
        default:
            return 1;
    }
}

}  // namespace norvane::hosts
