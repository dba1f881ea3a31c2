#include "AnswerScript.h"

#include <filesystem>
#include <fstream>

#include "support/Text.h"

namespace norvane::runner {

bool ReadAnswerScript(const std::string& file, AnswerScript& script, std::string& error) {
    script = {};
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        error = "the answer script " + file + " is a folder";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read the answer script " + file;
        return false;
    }
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        if (++number == 1 && line.starts_with(kByteOrderMark))
            line.erase(0, kByteOrderMark.size());
        const std::wstring answer = text::Trim(text::FromUtf8(line));
        if (!answer.empty() && answer[0] != L'#') {
            script.answers.push_back(answer);
            script.lines.push_back(number);
        }
    }
    if (in.bad()) {
        error = "cannot read the answer script " + file;
        return false;
    }
    return true;
}

}  // namespace norvane::runner
