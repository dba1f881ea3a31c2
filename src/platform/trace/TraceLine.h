// One line of a trace in the Configuration Manager log format, which CMTrace and its successors
// (and Notepad) read:
//   <![LOG[text]LOG]!><time="HH:MM:SS.mmm+bias" date="MM-DD-YYYY" component="Norvane" context=""
//   type="1" thread="N" file="">
// all on one line.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

namespace norvane::trace {

enum class LineType { Info = 1, Warning = 2, Failure = 3 };

// The line in UTF-8 with its CR LF. The text is kept on its one line (each line break becomes a
// blank) and cannot end its field early: a "]LOG]!>" inside it is written "]LOG]!&gt;".
// `bias` is minutes from local time to UTC, as Windows gives it.
std::string TraceLine(const std::wstring& text, LineType type, const platform::LocalTime& time,
                      std::int32_t bias, std::uint32_t thread);

}  // namespace norvane::trace
