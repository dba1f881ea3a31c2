#include "support/Text.h"

#include <gtest/gtest.h>

namespace norvane::text {
namespace {

TEST(TextTest, Utf8RoundTripsAndReplacesMalformedBytes) {
    const std::wstring sample = L"caf\u00e9 \u65e5\u672c \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(sample)), sample);
    EXPECT_EQ(FromUtf8("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD");  // an encoded surrogate is not text
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD");      // nor is an overlong form
}

TEST(TextTest, Utf16LeCarriesSurrogatePairs) {
    const std::wstring sample = L"x\U0001F600";
    const auto bytes = ToUtf16Le(sample);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'x', 0, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(FromUtf16Le(bytes.data(), bytes.size()), sample);
    const std::uint8_t lone[] = {0x3D, 0xD8, 'a', 0};
    EXPECT_EQ(FromUtf16Le(lone, 4), L"\uFFFDa");
}

TEST(TextTest, Cp1252MapsTheHighRangeAndReplacesTheRest) {
    EXPECT_EQ(FromCp1252("\x80\xE9\x9F"), L"\u20AC\u00E9\u0178");
    EXPECT_EQ(ToCp1252(L"\u20AC\u00E9\u65E5"), "\x80\xE9?");
}

TEST(TextTest, Utf16OrderPutsSupplementaryCharactersBeforeTheUpperBmp) {
    EXPECT_LT(CompareUtf16(L"\U0001F600", L"\uFF21"), 0);
    EXPECT_LT(CompareUtf16(L"Z", L"a"), 0);
    EXPECT_LT(CompareUtf16(L"DRIVER Z", L"PRINTER A"), 0);
    EXPECT_EQ(Utf16Length(L"a\U0001F600"), 3u);
}

TEST(TextTest, CaseFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(EqualsNoCase(L"Model A", L"MODEL a"));
    EXPECT_FALSE(EqualsNoCase(L"\u00C9", L"\u00E9"));
    EXPECT_LT(CompareNoCase(L"abc", L"ABD"), 0);
}

TEST(TextTest, TrimSplitAndBound) {
    EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
    EXPECT_EQ(Split(L",a,,b", L','), (std::vector<std::wstring>{L"", L"a", L"", L"b"}));
    EXPECT_EQ(Bounded(L"abcdef", 4), L"abc");
    EXPECT_EQ(Bounded(L"abc", 0), L"");
}

TEST(TextTest, BoundedListKeepsWholeEntries) {
    const struct {
        const wchar_t* list;
        std::size_t capacity;
        const wchar_t* bounded;
    } cases[] = {
        {L"ab,cd,", 7, L"ab,cd,"},  // fits with its terminator
        {L"ab,cd,", 6, L"ab,"},     // the second entry would lose its terminator: left out whole
        {L"ab,cd,ef,", 5, L"ab,"},  // an entry that does not fit ends the list
        {L"ab,cd", 10, L"ab,cd,"},  // a last entry without its separator gets one
        {L",ab,,cd,", 10, L"ab,cd,"}, {L"abcdef,", 4, L""}, {L"", 4, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoundedList(c.list, L',', c.capacity), c.bounded) << c.list << " " << c.capacity;
}

}  // namespace
}  // namespace norvane::text
