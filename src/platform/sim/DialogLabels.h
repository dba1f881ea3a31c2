// The texts of the dialog templates that the simulated machine's hosts draw: its language
// libraries hold only string tables, so the hosts carry the English template's wording.
#pragma once

#include <string>

namespace norvane::sim {

// The label of a button or check box; empty for a control the template does not label.
std::wstring ControlLabel(int templateId, int controlId);
// The template's explanatory static text at the top, or the progress dialog's waiting text.
std::wstring StaticText(int templateId);
// The template's default push button.
int DefaultButton(int templateId);

}  // namespace norvane::sim
