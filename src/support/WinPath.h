// Windows path texts: joining and naming, as the program builds its paths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace norvane::path {

// MAX_PATH: the program's path buffers hold this many characters with the terminating null.
inline constexpr std::size_t kMaxPath = 260;

bool IsSeparator(wchar_t c);
// folder + "\" + name, with exactly one separator whichever way the folder ends.
std::wstring Join(const std::wstring& folder, const std::wstring& name);
// A file name made from any text: each character Windows does not allow in a file name
// (\ / : * ? " < > | and control characters) becomes "_".
std::wstring SafeFileName(const std::wstring& text);

// Whether `name` names one entry of a folder, as written, and nothing else: not empty, free of
// separators, a stream's or drive's colon and every character Windows refuses in a name, not
// ending in a dot or a blank (Windows drops them: "3." is the folder "3", ".." the parent), and
// no device name ("NUL", "com1.txt": Windows opens the device, not a file).
bool IsPlainName(std::wstring_view name);
// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without an extension or trailing blanks, in
// any letter case: names that Windows takes for a device in a path.
bool IsDeviceName(std::wstring_view name);

// What GetFullPathNameW makes of an absolute path: "/" as "\", repeated separators as one, "."
// and ".." applied (never above the root), a name followed by a separator loses one final dot,
// and the last name loses every final dot and blank. A path ending in a device name is that
// device ("\\.\NUL"). "\\?\" paths are taken as written. Relative paths are not its business
// and come back as they are.
std::wstring FullPathName(std::wstring_view path);
// Whether Windows takes `path` as written: a drive path ("C:\...") whose every name is plain,
// with at most one final separator. Every path the removal deletes has this form; one that does
// not could name something other than it reads.
bool IsCanonicalPath(std::wstring_view path);
// A canonical path made comparable: letter case folded as NTFS does for the names the program
// meets (ASCII and Latin-1), no final separator.
std::wstring ComparablePath(std::wstring_view path);
// Whether `inner` (comparable) is `outer` (comparable) or lies below it.
bool IsAtOrBelow(std::wstring_view inner, std::wstring_view outer);

// Paths built from names that the spooler or the registry hold, which a damaged or careless
// package can fill with anything: each is strictly inside `folder` or it is empty. Empty too
// when `folder` is empty or the path would not fit `capacity` characters with its null, since a
// cut path names another place.
//
// `folder` + "\" + `name` + `suffix` for a plain name (the suffix is the program's own, such as
// ".DLL").
std::wstring FileInside(const std::wstring& folder, std::wstring_view name, std::size_t capacity,
                        std::wstring_view suffix = {});
// `folder` + "\" + `relative` + "\" for one or more plain names joined by "\", with one final "\"
// allowed.
std::wstring FolderInside(const std::wstring& folder, std::wstring_view relative,
                          std::size_t capacity);

}  // namespace norvane::path
