// The texts of the dialog templates that the terminal host draws: the simulated machine's
// language libraries hold only string tables, so the host carries the English template's wording.
#pragma once

#include <string>

namespace norvane::hosts {

// The label of a button or check box; empty for a control the template does not label.
std::wstring ControlLabel(int templateId, int controlId);
// The template's explanatory static text at the top, or the progress dialog's waiting text.
std::wstring StaticText(int templateId);
// The template's default push button.
int DefaultButton(int templateId);

}  // namespace norvane::hosts
