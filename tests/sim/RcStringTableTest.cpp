#include "platform/sim/RcStringTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/Text.h"

namespace norvane::sim {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(RcStringTableTest, ReadsEntriesEscapesAndCodePages) {
    std::map<std::uint32_t, std::wstring> strings;
    const std::string script =
        "#pragma code_page(65001)\n// comment\n101 ICON \"x.ico\"\n"
        "STRINGTABLE LANGUAGE 9, 1\nBEGIN\n  148, \"Norvane\"\n  0x95 \"say \"\"hi\"\"\\n\"\n"
        "  /* block */ 152, L\"caf\xC3\xA9\"\nEND\nSTRINGTABLE { 160 \"B\" }\n";
    ASSERT_FALSE(ReadRcStringTable(Bytes(script), strings));
    EXPECT_EQ(strings[148], L"Norvane");
    EXPECT_EQ(strings[149], L"say \"hi\"\n");
    EXPECT_EQ(strings[152], L"caf\u00e9");
    EXPECT_EQ(strings[160], L"B");
    EXPECT_EQ(strings.count(101), 0u);

    strings.clear();
    ASSERT_FALSE(ReadRcStringTable(Bytes("STRINGTABLE\nBEGIN\n1, \"caf\xE9\"\nEND\n"), strings));
    EXPECT_EQ(strings[1], L"caf\u00e9");  // Windows-1252 without a code page pragma
}

TEST(RcStringTableTest, RejectsWhatIsNoStringTable) {
    std::map<std::uint32_t, std::wstring> strings;
    EXPECT_TRUE(ReadRcStringTable(Bytes("just text"), strings));
    const auto error =
        ReadRcStringTable(Bytes("STRINGTABLE\nBEGIN\n  IDS_X, \"a\"\nEND\n"), strings);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->line, 3u);
}

// A script that ends inside a string or a comment is refused at the line where that began, and
// quickly: the three bytes " /*" once kept the reader going round forever.
TEST(RcStringTableTest, UnterminatedStringsAndCommentsAreErrors) {
    const struct {
        const char* script;
        std::size_t line;
        const char* message;
    } cases[] = {
        {" /*", 1, "unterminated comment"},
        {"/", 0, "no STRINGTABLE"},
        {"STRINGTABLE\nBEGIN\n  1, \"a\"\n /* open\n2, \"b\"\nEND\n", 4, "unterminated comment"},
        {"STRINGTABLE /*\n", 1, "unterminated comment"},
        {"STRINGTABLE { 1 /* x */ \"a\" }\n/*/", 2, "unterminated comment"},
        {"STRINGTABLE\nBEGIN\n  1, \"open\nEND\n", 3, "unterminated string"},
        {"\n\"open", 2, "unterminated string"},
    };
    for (const auto& c : cases) {
        std::map<std::uint32_t, std::wstring> strings;
        const auto error = ReadRcStringTable(Bytes(c.script), strings);
        ASSERT_TRUE(error) << c.script;
        EXPECT_EQ(error->line, c.line) << c.script;
        EXPECT_EQ(error->message, c.message) << c.script;
    }
}

TEST(RcStringTableTest, TheEnglishLibraryHoldsEveryText) {
    std::ifstream in(NORVANE_SOURCE_DIR "/resources/ENU/Norvane.rc", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::map<std::uint32_t, std::wstring> strings;
    ASSERT_FALSE(ReadRcStringTable(Bytes(bytes.str()), strings));
    for (std::uint32_t id :
         {101u, 135u, 138u, 139u, 140u, 141u, 142u, 143u, 144u, 145u, 146u, 147u,
          148u, 149u, 150u, 151u, 152u, 153u, 154u, 155u, 156u, 157u, 158u, 160u}) {
        EXPECT_FALSE(strings[id].empty()) << id;
    }
}

}  // namespace
}  // namespace norvane::sim
