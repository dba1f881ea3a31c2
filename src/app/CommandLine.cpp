#include "app/CommandLine.h"

#include <algorithm>
#include <vector>

#include "app/Controller.h"
#include "app/Report.h"
#include "app/Restart.h"
#include "app/Startup.h"
#include "app/TraceStart.h"
#include "removal/PutOff.h"
#include "support/Text.h"

namespace norvane {
namespace {

// Appends the trimmed, non-empty items of a comma-separated list.
void AppendList(const std::wstring& list, CmyStringArray& names) {
    for (const auto& piece : text::Split(list, L',')) {
        const std::wstring item = text::Trim(piece);
        if (!item.empty())
            names.push_back(item);
    }
}

// Whether every switch of the line is "/v": a trace asked for, and nothing else.
bool OnlyTrace(const std::wstring& line) {
    for (const auto& piece : text::Split(line, L'/')) {
        const std::wstring word = text::Trim(piece);
        if (!word.empty() && !text::EqualsNoCase(word.substr(0, word.find(L' ')), L"v"))
            return false;
    }
    return true;
}

}  // namespace

std::wstring TextAfterProgramName(const std::wstring& line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        i = line.find(L'"', 1);
        i = i == std::wstring::npos ? line.size() : i + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t')
            ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t'))
        ++i;
    return line.substr(i);
}

CommandLineOptions ReadCommandLine(const std::wstring& commandLine, const PackageConfig& config) {
    CommandLineOptions options;
    if (commandLine.empty() || text::EqualsNoCase(commandLine, kRestartedMarker))
        return options;
    std::wstring copy = commandLine;
    // "/l", its value and the separators around it are read with the language library.
    const auto at = text::LowerAscii(copy).find(L"/l");
    if (at != std::wstring::npos)
        copy.erase(at, 10);
    copy = text::TrimLeft(copy);  // leading blanks only: spaces as the command line has them
    if (!copy.empty()) {
        ParseCommandLine(options, copy);
        ResolveSeries(options, config);
        options.m_bSilent = !OnlyTrace(copy);
    }
    return options;
}

void ResolveSeries(CommandLineOptions& options, const PackageConfig& config) {
    if (options.m_strDriverList.empty())
        return;
    options.m_arrDesignated.clear();
    config.ResolveDriverList(options.m_strDriverList, options.m_arrDesignated);
}

void ReadSwitches(CUninstallerController& app, const std::wstring& commandLine) {
    static_cast<CommandLineOptions&>(app) = ReadCommandLine(commandLine, app.Config());
}

bool SelectMode(CUninstallerController& app, const std::wstring& commandLine) {
    if (text::EqualsNoCase(commandLine, kRestartedMarker)) {
        ContinueAfterRestart(app);
        app.PostQuit();
        return true;
    }
    if (app.m_bWriteLog)
        CreateLog(app);
    if (app.m_bTrace)
        StartTrace(app, commandLine);
    if (!app.m_arrRejected.empty() && app.m_bQuiet) {
        ReportResult(app, L"", ReportKind::SilentError, 5);
        return false;
    }
    // The log, written above, is the last thing a preview writes for real.
    if (app.m_bPreview)
        app.StartPreview();
    return true;
}

int ParseCommandLine(CommandLineOptions& options, const std::wstring& input) {
    std::wstring textValue = text::Trim(input);
    std::wstring quoted;
    const auto first = textValue.find(L'"');
    if (first != std::wstring::npos) {
        const auto last = textValue.rfind(L'"');
        const std::wstring span = textValue.substr(first, last - first + 1);
        quoted = span.size() >= 2 ? span.substr(1, span.size() - 2) : L"";
        textValue.erase(first, last - first + 1);
    }
    std::vector<std::wstring> pieces;
    for (const auto& rawPiece : text::Split(textValue, L'/')) {
        if (rawPiece.empty())
            continue;
        std::wstring piece = text::Trim(L"/" + rawPiece);
        if (text::EqualsNoCase(piece, L"/t"))
            piece = L"/t " + quoted;
        pieces.push_back(std::move(piece));
    }
    // The preview is a kind of silent run: "/s" anywhere on the line lets "/n" stand anywhere.
    const bool quietLine = std::any_of(pieces.begin(), pieces.end(), [](const auto& piece) {
        return text::EqualsNoCase(piece, L"/s");
    });
    int result = 1;
    for (const auto& piece : pieces) {
        if (!ProcessSwitch(options, piece, quietLine))
            result = 0;
    }
    return result;
}

int ProcessSwitch(CommandLineOptions& options, const std::wstring& input, bool quietLine) {
    options.m_bUtilityOptionGiven = 0;
    const std::wstring piece = text::TrimRight(input);
    std::wstring word = piece, argument;
    bool hasArgument = false;
    const auto space = piece.find(L' ');
    if (space != std::wstring::npos) {
        word = text::Trim(piece.substr(0, space));
        argument = text::Trim(piece.substr(space + 1));
        hasArgument = true;
    }
    const bool designatedBefore = options.m_bPrintersGiven || options.m_bDriversGiven;
    bool accepted = false;
    if (text::EqualsNoCase(word, L"/p") || text::EqualsNoCase(word, L"/d")) {
        if (!designatedBefore && hasArgument) {
            AppendList(argument, options.m_arrDesignated);
            accepted = !options.m_arrDesignated.empty();
            if (accepted)
                (text::EqualsNoCase(word, L"/p") ? options.m_bPrintersGiven
                                                 : options.m_bDriversGiven) = 1;
        }
    } else if (text::EqualsNoCase(word, L"/x")) {
        if (!designatedBefore && hasArgument) {
            // Series are resolved against config.ini once the whole line is read.
            AppendList(argument, options.m_arrDesignated);
            accepted = !options.m_arrDesignated.empty();
            if (accepted) {
                options.m_bDriversGiven = 1;
                options.m_strDriverList = argument;
            }
        }
    } else if (text::EqualsNoCase(word, L"/t")) {
        if (!options.m_bScannersGiven && hasArgument) {
            AppendList(argument, options.m_arrScannerName);
            accepted = !options.m_arrScannerName.empty();
            if (accepted)
                options.m_bScannersGiven = 1;
        }
    } else if (text::EqualsNoCase(word, L"/s")) {
        if (!options.m_bQuiet && !hasArgument) {
            options.m_bQuiet = options.m_bWriteLog = 1;
            accepted = true;
        }
    } else if (text::EqualsNoCase(word, L"/o")) {
        if (!(options.m_bWriteLog && !options.m_bQuiet)) {
            options.m_bWriteLog = 1;
            if (hasArgument && !argument.empty())
                options.m_strLogFolder = argument;
            accepted = true;
        }
    } else if (text::EqualsNoCase(word, L"/n")) {
        if (quietLine && !options.m_bPreview && !hasArgument) {
            options.m_bPreview = 1;
            accepted = true;
        }
    } else if (text::EqualsNoCase(word, L"/e")) {
        if (!options.m_bExitCodes && !hasArgument) {
            options.m_bExitCodes = 1;
            accepted = true;
        }
    } else if (text::EqualsNoCase(word, L"/v")) {
        if (!options.m_bTrace) {
            options.m_bTrace = 1;
            options.m_strTraceFile = argument;
            accepted = true;
        }
    } else if (text::EqualsNoCase(word, L"/u")) {
        options.m_bUtilityOptionGiven = options.m_bUtilitySwitchGiven = 1;
        if (designatedBefore && space != std::wstring::npos) {
            // The value keeps its leading blanks: "/u  1" is not "/u 1".
            const std::wstring value = text::TrimRight(piece.substr(space + 1));
            if (value == L"1") {
                options.m_bRemoveUtilities = options.m_bWriteLog = 1;
            } else if (value == L"0") {
                options.m_bRemoveUtilities = 0;
            }
        }
        accepted = true;
    }
    if (!accepted)
        options.m_arrRejected.push_back(input);
    return accepted ? 1 : 0;
}

}  // namespace norvane
