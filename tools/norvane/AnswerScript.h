// The answer script of `norvane --ui script:FILE`: one action a line, empty lines and lines
// starting with "#" skipped.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace norvane::runner {

struct AnswerScript {
    std::deque<std::wstring> answers;  // trimmed
    std::deque<std::size_t> lines;     // each answer's line number in the file
};

// False with `error` set when the file cannot be read as a script: missing, unreadable, or a
// folder (which a stream would read as an empty script). A UTF-8 byte-order mark, as editors on
// Windows write one, is not part of the first line.
bool ReadAnswerScript(const std::string& file, AnswerScript& script, std::string& error);

}  // namespace norvane::runner
