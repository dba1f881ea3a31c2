// The input is machine facts and paths, one a line: "F<path>" a file that stays, "D<path>" a
// folder that stays, anything else a path the removal asks to delete. Whatever the rule lets go
// must be a plain drive path that, by this target's own reading, is no protected place, holds
// none and is no file or folder that stays, nor inside one that stays.
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "removal/Ownership.h"
#include "support/WinPath.h"

namespace norvane::fuzz {
namespace {

std::wstring Fold(std::wstring text) {
    for (wchar_t& c : text) {
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<wchar_t>(c + 32);
    }
    while (text.size() > 3 && text.back() == L'\\')
        text.pop_back();
    return text;
}

bool Below(const std::wstring& inner, const std::wstring& outer) {
    const std::wstring prefix = outer.ends_with(L'\\') ? outer : outer + L'\\';
    return inner.starts_with(prefix);
}

bool OnADrive(const std::wstring& path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

}  // namespace

void OwnershipTarget(const std::uint8_t* data, std::size_t size) {
    KeptThings kept;
    kept.windowsDir = L"C:\\Windows";
    kept.commonData = L"C:\\ProgramData";
    kept.makerFolder = L"C:\\ProgramData\\Corvida";
    std::vector<std::wstring> asked;
    std::wstring line;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != '\n') {
            line += static_cast<wchar_t>(data[i]);  // Latin-1: every byte a character
            continue;
        }
        if (line.starts_with(L'F'))
            kept.files.push_back(line.substr(1));
        else if (line.starts_with(L'D'))
            kept.folders.push_back(line.substr(1));
        else
            asked.push_back(line);
        line.clear();
    }
    const std::wstring protectedPlaces[] = {L"c:\\windows",
                                            L"c:\\windows\\system32",
                                            L"c:\\windows\\system32\\spool\\drivers\\x64",
                                            L"c:\\windows\\system32\\spool\\drivers\\x64\\3",
                                            L"c:\\windows\\system32\\spool\\prtprocs\\x64",
                                            L"c:\\programdata",
                                            L"c:\\programdata\\microsoft",
                                            L"c:\\programdata\\corvida",
                                            L"c:\\programdata\\corvida\\drv"};
    const Ownership ownership(kept);
    for (const std::wstring& path : asked) {
        const bool folderGoes = ownership.ForFolder(path) == Refusal::None;
        const bool fileGoes = ownership.ForFile(path) == Refusal::None;
        if (!folderGoes && !fileGoes)
            continue;
        // Which paths are as written is the path rules' table's to prove; here, that nothing else
        // goes.
        FuzzExpect(path::IsCanonicalPath(path), "only a plain drive path goes");
        const std::wstring goes = Fold(path);
        for (const auto& place : protectedPlaces)
            FuzzExpect(goes != place && !Below(place, goes), "a protected place stays");
        for (const auto& file : kept.files) {
            const std::wstring stays = Fold(path::FullPathName(file));
            if (!OnADrive(stays))
                continue;  // names no place the removal could take
            FuzzExpect(goes != stays && !Below(stays, goes), "a file that stays, stays");
        }
        for (const auto& folder : kept.folders) {
            const std::wstring stays = Fold(path::FullPathName(folder));
            if (!OnADrive(stays))
                continue;
            FuzzExpect(goes != stays && !Below(stays, goes) && !Below(goes, stays),
                       "a folder that stays, stays whole");
        }
    }
}

}  // namespace norvane::fuzz
