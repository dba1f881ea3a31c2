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

// Whether `name` names one entry of a folder and nothing else: not empty, not made only of dots
// and blanks (Windows drops trailing dots and blanks, so such a name is the folder itself or its
// parent), and free of separators, a drive's colon and every character Windows refuses in a name.
bool IsPlainName(std::wstring_view name);

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
