#include "RunnerOptions.h"

#include "support/Text.h"

namespace norvane::runner {

std::wstring JoinCommandLine(const std::vector<std::wstring>& args) {
    std::wstring line;
    for (const auto& arg : args) {
        if (!line.empty())
            line += L' ';
        if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
            line += arg;
            continue;
        }
        line += L'"';
        for (wchar_t c : arg) {
            if (c == L'"')
                line += L'\\';
            line += c;
        }
        line += L'"';
    }
    return line;
}

bool ParseRunnerOptions(const std::vector<std::string>& args, RunnerOptions& options,
                        std::string& error) {
    bool haveCommandLine = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::optional<std::string>& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--machine") {
            if (!value(options.machine))
                return false;
        } else if (arg == "--ui") {
            if (!value(options.ui))
                return false;
            if (*options.ui != "tui" && *options.ui != "none" &&
                options.ui->rfind("script:", 0) != 0) {
                error = "--ui takes tui, none or script:FILE";
                return false;
            }
        } else if (arg == "--cut-off") {
            std::optional<std::string> text;
            if (!value(text))
                return false;
            if (text->empty() || text->size() > 18 ||
                text->find_first_not_of("0123456789") != std::string::npos ||
                std::stoull(*text) == 0) {
                error = "--cut-off takes a change number from 1";
                return false;
            }
            options.cutOff = std::stoull(*text);
        } else if (arg == "--cmdline" || arg == "--") {
            if (haveCommandLine) {
                error = "give the program's command line once, with --cmdline or after --";
                return false;
            }
            haveCommandLine = true;
            if (arg == "--cmdline") {
                std::optional<std::string> text;
                if (!value(text))
                    return false;
                options.commandLine = text::FromUtf8(*text);
            } else {
                std::vector<std::wstring> rest;
                for (++i; i < args.size(); ++i)
                    rest.push_back(text::FromUtf8(args[i]));
                options.commandLine = JoinCommandLine(rest);
            }
        } else {
            error = "unknown argument " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace norvane::runner
