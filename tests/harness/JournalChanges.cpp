#include "harness/JournalChanges.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "support/Text.h"

namespace norvane::testing {
namespace {

// How many of a call's arguments a preview names.
const std::map<std::wstring, std::size_t> kChangeCalls = {{L"DeletePrinterConnection", 1},
                                                          {L"DeletePrinter", 1},
                                                          {L"DeletePrinterDriverEx", 2},
                                                          {L"DeleteMonitor", 1},
                                                          {L"DeletePrintProcessor", 2},
                                                          {L"SetPrinter", 2},
                                                          {L"SetDefaultPrinter", 1},
                                                          {L"DeleteFile", 1},
                                                          {L"CreateDirectory", 1},
                                                          {L"RemoveDirectory", 1},
                                                          {L"WriteFile", 1},
                                                          {L"AppendFile", 1},
                                                          {L"SetFileAttributes", 1},
                                                          {L"CreateProcess", 1},
                                                          {L"ShellExecute", 3},
                                                          {L"ExitWindowsEx", 2},
                                                          {L"RegCreateKey", 1},
                                                          {L"RegDeleteKey", 1},
                                                          {L"RegSetValue", 2},
                                                          {L"RegDeleteValue", 2},
                                                          {L"WritePrivateProfileString", 3},
                                                          {L"WritePrivateProfileSection", 2}};

// The next argument: a quoted text (quotes inside doubled), a [section], or a word.
std::optional<std::wstring> NextArgument(const std::wstring& text, std::size_t& at) {
    while (at < text.size() && (text[at] == L' ' || text[at] == L'='))
        ++at;
    if (at >= text.size())
        return std::nullopt;
    std::wstring argument;
    if (text[at] == L'"') {
        for (++at; at < text.size(); ++at) {
            if (text[at] == L'"' && (at + 1 >= text.size() || text[at + 1] != L'"'))
                break;
            if (text[at] == L'"')
                ++at;
            argument += text[at];
        }
        ++at;
    } else if (text[at] == L'[') {
        const auto end = text.find(L']', at);
        argument = text.substr(at + 1, end - at - 1);
        at = end == std::wstring::npos ? text.size() : end + 1;
    } else {
        const auto end = std::min(text.find(L' ', at), text.find(L'=', at));
        argument = text.substr(at, end - at);
        at = end == std::wstring::npos ? text.size() : end;
    }
    return argument;
}

// The arguments a preview names, or nothing when the entry records no change. `started` holds
// the ids of the processes the run started; one they start in turn is their work, not the run's.
// `refused`: a call Windows refused, with its error, else nothing (and no such call is a change).
std::optional<std::vector<std::wstring>> ChangeArguments(const std::wstring& call,
                                                         std::wstring rest,
                                                         std::set<std::wstring>& started,
                                                         std::optional<std::wstring>* refused) {
    // "-> <error>", and after it the simulated machine's note of why: "(locked)".
    const auto arrow = rest.rfind(L" -> ");
    const auto digits = arrow == std::wstring::npos
                            ? std::wstring::npos
                            : rest.find_first_not_of(L"0123456789", arrow + 4);
    if (refused && arrow != std::wstring::npos && digits != arrow + 4 &&
        (digits == std::wstring::npos || rest.compare(digits, 2, L" (") == 0)) {
        *refused = rest.substr(arrow + 4, digits - arrow - 4);
        rest.resize(arrow);
    }
    if (call == L"CreateProcess" && !(refused && *refused)) {
        const auto at = rest.find(L" -> process ");
        if (at == std::wstring::npos)
            return std::nullopt;
        const std::wstring ids = rest.substr(at + 12);
        const auto comma = ids.find(L", parent ");
        if (comma == std::wstring::npos || started.contains(ids.substr(comma + 9)))
            return std::nullopt;
        started.insert(ids.substr(0, comma));
        rest.resize(at);
    } else if (refused && rest.find(L" (keeps ") != std::wstring::npos) {
        // A default printer asked for by no name, where one stays: the call succeeds.
        rest.resize(rest.find(L" (keeps "));
    } else if (rest.find(L" -> ") != std::wstring::npos ||
               rest.find(L"(keeps ") != std::wstring::npos) {
        return std::nullopt;
    }
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    if (call.starts_with(L"Reg")) {
        // A key's name is written as it is, spaces and all.
        at = std::min(rest.find(L" \""), rest.size());
        arguments.push_back(rest.substr(0, at));
    }
    while (arguments.size() < kChangeCalls.at(call)) {
        const auto argument = NextArgument(rest, at);
        if (!argument || argument->starts_with(L"flags=") || argument->starts_with(L"("))
            break;
        arguments.push_back(*argument);
    }
    return arguments;
}

std::vector<std::wstring> Changes(const std::vector<std::wstring>& journal,
                                  const std::vector<std::wstring>& ownFiles, bool withOutcomes) {
    std::vector<std::wstring> changes;
    // The folders whose files the last call's own deletions are in, while they follow it: the
    // spooler's version folders, the driver store's inf folder.
    std::vector<std::wstring> deletingIn;
    std::set<std::wstring> started;
    for (const auto& entry : journal) {
        const auto space = entry.find(L' ');
        const std::wstring call = entry.substr(0, space);
        if (call == L"DeleteFile" &&
            std::any_of(deletingIn.begin(), deletingIn.end(), [&](const std::wstring& folder) {
                return text::LowerAscii(entry).find(folder) != std::wstring::npos;
            }))
            continue;
        deletingIn.clear();
        if (!kChangeCalls.contains(call) || space == std::wstring::npos)
            continue;
        std::optional<std::wstring> refused;
        const auto arguments = ChangeArguments(call, entry.substr(space + 1), started,
                                               withOutcomes ? &refused : nullptr);
        if (!arguments || std::any_of(ownFiles.begin(), ownFiles.end(), [&](const auto& own) {
                return !arguments->empty() && text::EqualsNoCase((*arguments)[0], own);
            }))
            continue;
        if (call == L"DeletePrinterDriverEx")
            deletingIn = {L"\\spool\\drivers\\x64\\3\\", L"\\spool\\drivers\\w32x86\\3\\"};
        else if (call == L"ShellExecute" && arguments->size() > 1 &&
                 (*arguments)[1].ends_with(L"\\pnputil.exe"))
            deletingIn = {L"\\inf\\"};
        std::wstring change = call;
        for (std::size_t i = 0; i < arguments->size(); ++i)
            change += (i == 0 ? L" " : L"|") + (*arguments)[i];
        change = text::TrimRight(change);
        if (withOutcomes)
            change += L" -> " + refused.value_or(L"0");
        changes.push_back(change);
    }
    return changes;
}

}  // namespace

std::string Difference(const std::vector<std::wstring>& told,
                       const std::vector<std::wstring>& real) {
    std::size_t at = 0;
    while (at < told.size() && at < real.size() && told[at] == real[at])
        ++at;
    if (at == told.size() && at == real.size())
        return "";
    std::string text = "they part at entry " + std::to_string(at + 1) + "\n";
    for (const auto* list : {&told, &real}) {
        text += list == &told ? "told:\n" : "real run:\n";
        for (std::size_t i = at > 2 ? at - 2 : 0; i < std::min(list->size(), at + 4); ++i)
            text += "  " + text::ToUtf8((*list)[i]) + "\n";
    }
    return text;
}

std::vector<std::wstring> JournalChanges(const std::vector<std::wstring>& journal,
                                         const std::wstring& logFile) {
    return Changes(journal, {logFile}, false);
}

std::vector<std::wstring> JournalOutcomes(const std::vector<std::wstring>& journal,
                                          const std::wstring& logFile,
                                          const std::wstring& traceFile) {
    const std::wstring traceWrite = text::LowerAscii(L"AppendFile \"" + traceFile + L"\"");
    const auto first = std::find_if(journal.begin(), journal.end(), [&](const std::wstring& entry) {
        return text::LowerAscii(entry).starts_with(traceWrite);
    });
    return Changes({first == journal.end() ? journal.begin() : first, journal.end()},
                   {logFile, traceFile}, true);
}

}  // namespace norvane::testing
