// Windows' path rules as the removal applies them: the spellings table shared with the run
// under Wine, and which paths the removal takes as written.
#include <gtest/gtest.h>

#include "support/PathCases.h"
#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane {
namespace {

TEST(WinPathTest, FullPathNameAnswersAsKernel32) {
    for (const auto& c : path_cases::Cases())
        EXPECT_EQ(path::FullPathName(c.path), c.full) << text::ToUtf8(c.path);
}

TEST(WinPathTest, OnlyPathsWindowsTakesAsWrittenAreCanonical) {
    for (const wchar_t* good :
         {L"C:\\", L"C:\\Windows\\System32\\cvlangmon.dll",
          L"c:\\ProgramData\\Corvida\\Drv\\CVMA\\", L"C:\\a b\\x.y", L"C:\\a...b\\c"}) {
        EXPECT_TRUE(path::IsCanonicalPath(good)) << text::ToUtf8(good);
        EXPECT_EQ(path::ComparablePath(path::FullPathName(good)), path::ComparablePath(good));
    }
    for (const wchar_t* bad : {L"",
                               L"C:",
                               L"C:x",
                               L"\\\\?\\C:\\x",
                               L"\\\\.\\C:\\x",
                               L"\\\\server\\share\\x",
                               L"C:/Windows",
                               L"C:\\a\\\\b",
                               L"C:\\a\\.\\b",
                               L"C:\\a\\..\\b",
                               L"C:\\a\\3.\\",
                               L"C:\\a\\3 \\",
                               L"C:\\a\\3. .",
                               L"C:\\a\\b:s",
                               L"C:\\a\\CON",
                               L"C:\\a\\nul.txt",
                               L"C:\\a\\COM1 .x\\b",
                               L"C:\\a\\x*",
                               L"C:\\a\\x\ty",
                               L"1:\\a",
                               L"C:\\a\\\\"})
        EXPECT_FALSE(path::IsCanonicalPath(bad)) << text::ToUtf8(bad);
}

}  // namespace
}  // namespace norvane
