// The private-profile case table: GetPrivateProfileStringW, GetPrivateProfileIntW,
// WritePrivateProfileStringW and WritePrivateProfileSectionW over real files, with the answers
// Windows gives as Wine implements them. The table is plain data and the runner needs only the
// standard library, so that the same cases run against the simulated engine on Linux and against
// kernel32 in a Windows build.
//
// Text is wide and stays inside the Basic Multilingual Plane, so that every literal means the same
// characters whether wchar_t is 16 or 32 bits wide.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace norvane::profile_cases {

// The functions under test. The writes answer 0 on success, else the error code that
// GetLastError() gives after the failing call.
class ProfileApi {
public:
    virtual ~ProfileApi() = default;
    virtual std::uint32_t GetString(const wchar_t* section, const wchar_t* key,
                                    const wchar_t* defaultValue, wchar_t* buffer,
                                    std::uint32_t size, const std::filesystem::path& file) = 0;
    virtual std::uint32_t GetInt(const wchar_t* section, const wchar_t* key,
                                 std::int32_t defaultValue, const std::filesystem::path& file) = 0;
    virtual std::uint32_t WriteString(const wchar_t* section, const wchar_t* key,
                                      const wchar_t* value, const std::filesystem::path& file) = 0;
    virtual std::uint32_t WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                       const std::filesystem::path& file) = 0;
};

enum class OpKind { kGet, kGetInt, kWrite, kWriteSection };

struct ProfileOp {
    OpKind kind;
    const wchar_t* section;  // null is passed as null
    const wchar_t* key;
    const wchar_t* text;  // Get: the default; Write: the value; WriteSection: the list
    std::uint32_t size;   // Get: the buffer size in characters
    std::int32_t intDefault;
    std::uint32_t result;  // Get: the count; GetInt: the value; writes: 0 or the error code
    std::wstring buffer;   // Get: every character written, terminators included; the rest untouched
};

// Where the case's file lies: a plain path, a path inside a folder that does not exist, or a path
// that is itself a folder.
enum class Place { kFile, kMissingFolder, kFolder };

struct ProfileCase {
    const char* name;
    std::optional<std::string> before;  // the file's bytes before the operations; none: no file
    std::vector<ProfileOp> ops;
    std::optional<std::string> after =
        std::nullopt;  // the file's bytes afterwards; none: as before
    Place place = Place::kFile;
};

// A literal with embedded nulls, all of it but the final terminator.
template <std::size_t N>
std::wstring W(const wchar_t (&text)[N]) {
    return std::wstring(text, N - 1);
}
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// The bytes of a UTF-16 file with its byte-order mark.
template <std::size_t N>
std::string Utf16File(const wchar_t (&text)[N], bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const char low = static_cast<char>(text[i] & 0xFF);
        const char high = static_cast<char>((text[i] >> 8) & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

inline ProfileOp Get(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                     std::uint32_t size, std::uint32_t result, std::wstring buffer) {
    return {OpKind::kGet, section, key, defaultValue, size, 0, result, std::move(buffer)};
}
inline ProfileOp GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                        std::uint32_t result) {
    return {OpKind::kGetInt, section, key, nullptr, 0, defaultValue, result, {}};
}
inline ProfileOp Write(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                       std::uint32_t error = 0) {
    return {OpKind::kWrite, section, key, value, 0, 0, error, {}};
}
// `keysAndValues` is a literal whose strings end with "\0"; its own terminator ends the list.
inline ProfileOp WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                              std::uint32_t error = 0) {
    return {OpKind::kWriteSection, section, nullptr, keysAndValues, 0, 0, error, {}};
}

inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kAccessDenied = 5;

// A file with the usual troubles: comments, white space, quotes, duplicates, a line without "=".
inline const std::string kMixed = Bytes(
    "; leading comment\r\n"
    "[Common]\r\n"
    "Name=Value\r\n"
    "  Spaced Key  =   spaced value   \r\n"
    "Quoted=\"in quotes\"\r\n"
    "Single='single'\r\n"
    "Mixed=\"mixed'\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "NoEquals\r\n"
    "; comment=not a key\r\n"
    "Empty=\r\n"
    "Number=42\r\n"
    "[Second]\r\n"
    "A=1\r\n"
    "[common]\r\n"
    "Name=shadowed\r\n"
    "Late=only in duplicate\r\n");

inline const std::string kGreek = Bytes("[alpha]\r\n[beta]\r\n[gamma]\r\n");

inline const std::string kNames = Bytes(
    "[section1]\r\n"
    "name1=val1\r\n"
    "name2=\"val2\"\r\n"
    "name3\r\n"
    ";name5=5\r\n"
    "name4=a\r\n"
    "[section2]\r\n");

inline const std::string kNumbers = Bytes(
    "[n]\r\n"
    "plain=42\r\n"
    "negative=-5\r\n"
    "plus=+7\r\n"
    "trailing=12abc\r\n"
    "text=abc\r\n"
    "empty=\r\n"
    "hex=0x1A\r\n"
    "upperhex=0X1A\r\n"
    "wrap=4294967297\r\n"
    "quoted=\"42\"\r\n"
    "spaced=\" 5\"\r\n"
    "long=000000000000000000000000000012\r\n");

inline std::vector<ProfileCase> ReadCases() {
    return {
        {"ReadsValue", kMixed, {Get(L"Common", L"Name", L"def", 16, 5, W(L"Value\0"))}},
        {"NamesIgnoreCase", kMixed, {Get(L"COMMON", L"nAmE", L"def", 16, 5, W(L"Value\0"))}},
        {"TrimsKeyAndValue",
         kMixed,
         {Get(L"Common", L"Spaced Key", L"def", 32, 12, W(L"spaced value\0"))}},
        {"TrimsRequestedNames",
         kMixed,
         {Get(L" Common\t", L"  Name ", L"def", 16, 5, W(L"Value\0"))}},
        {"StripsDoubleQuotes",
         kMixed,
         {Get(L"Common", L"Quoted", L"def", 32, 9, W(L"in quotes\0\0"))}},
        {"StripsSingleQuotes",
         kMixed,
         {Get(L"Common", L"Single", L"def", 32, 6, W(L"single\0\0"))}},
        {"KeepsUnpairedQuotes",
         kMixed,
         {Get(L"Common", L"Mixed", L"def", 32, 7, W(L"\"mixed'\0"))}},
        {"FirstDuplicateKeyWins", kMixed, {Get(L"Common", L"DUP", L"def", 16, 5, W(L"first\0"))}},
        {"FirstDuplicateSectionWins",
         kMixed,
         {Get(L"common", L"Name", L"def", 16, 5, W(L"Value\0"))}},
        {"LaterDuplicateSectionIsHidden",
         kMixed,
         {Get(L"Common", L"Late", L"def", 32, 3, W(L"def\0"))}},
        {"LineWithoutEqualsHasNoValue",
         kMixed,
         {Get(L"Common", L"NoEquals", L"def", 16, 3, W(L"def\0"))}},
        {"EmptyValueIsNotMissing", kMixed, {Get(L"Common", L"Empty", L"def", 16, 0, W(L"\0"))}},
        {"MissingKeyGivesDefault",
         kMixed,
         {Get(L"Common", L"Absent", L"fallback", 16, 8, W(L"fallback\0"))}},
        {"MissingSectionGivesDefault",
         kMixed,
         {Get(L"Nowhere", L"Name", L"fallback", 16, 8, W(L"fallback\0"))}},
        {"MissingFileGivesDefault",
         std::nullopt,
         {Get(L"s", L"k", L"fallback", 16, 8, W(L"fallback\0"))}},
        {"NullDefaultIsEmpty", kMixed, {Get(L"Common", L"Absent", nullptr, 16, 0, W(L"\0"))}},
        {"DefaultTrailingSpacesTrimmed",
         kMixed,
         {Get(L"Common", L"Absent", L"fallback   ", 16, 8, W(L"fallback\0"))}},
        {"DefaultLeadingSpacesKept",
         kMixed,
         {Get(L"Common", L"Absent", L"  fb", 16, 4, W(L"  fb\0"))}},
        {"DefaultTrailingTabKept",
         kMixed,
         {Get(L"Common", L"Absent", L"fb\t", 16, 3, W(L"fb\t\0"))}},
        {"DefaultOfOnlySpacesKeepsOne",
         kMixed,
         {Get(L"Common", L"Absent", L"   ", 16, 1, W(L" \0"))}},
        {"DefaultQuotesStripped",
         kMixed,
         {Get(L"Common", L"Absent", L"\"q d\"", 16, 3, W(L"q d\0\0"))}},
        {"EmptyKeyNameFindsKeyWithoutName",
         Bytes("[s]\r\n=val_no_key\r\n"),
         {Get(L"s", L"", L"def", 32, 10, W(L"val_no_key\0"))}},
        {"CarriageReturnsAloneEndLines",
         Bytes("[s]\rname1=val1\rname2=\"val2\"\r"),
         {Get(L"s", L"name2", L"def", 16, 4, W(L"val2\0\0"))}},
        {"LineFeedsAloneEndLines",
         Bytes("[s]\nk=v\n[t]\nk=w\n"),
         {Get(L"t", L"k", L"def", 16, 1, W(L"w\0"))}},
        {"SectionHeaderIsTrimmed",
         Bytes("  [ Spaced Section ]  \r\nk=v\r\n"),
         {Get(L"Spaced Section", L"k", L"def", 16, 1, W(L"v\0")),
          Get(nullptr, nullptr, L"", 32, 15, W(L"Spaced Section\0\0"))}},
        {"TextAfterHeaderIgnored",
         Bytes("[Sec] ; note\r\nk=v\r\n"),
         {Get(L"Sec", L"k", L"def", 16, 1, W(L"v\0")),
          Get(nullptr, nullptr, L"", 16, 4, W(L"Sec\0\0"))}},
        {"HeaderWithoutBracketIsABareLine",
         Bytes("[s]\r\n[broken\r\nk=v\r\n"),
         {Get(L"s", L"k", L"def", 16, 1, W(L"v\0")), Get(L"s", nullptr, L"", 16, 2, W(L"k\0\0")),
          Get(nullptr, nullptr, L"", 16, 2, W(L"s\0\0"))}},
        {"ValueKeepsEqualsSignsAndInnerSpaces",
         Bytes("[s]\r\nk =  a=b  c  \r\n"),
         {Get(L"s", L"k", L"def", 16, 6, W(L"a=b  c\0"))}},
        {"ControlZCountsAsSpace",
         Bytes("[s]\r\nk=v\x1a\r\n"),
         {Get(L"s", L"k", L"def", 16, 1, W(L"v\0"))}},
        {"LoneQuoteIsKept", Bytes("[s]\r\nk=\"\r\n"), {Get(L"s", L"k", L"def", 16, 1, W(L"\"\0"))}},
        {"EmptyQuotesGiveEmptyValue",
         Bytes("[s]\r\nk=\"\"\r\n"),
         {Get(L"s", L"k", L"def", 16, 0, W(L"\0\0"))}},
    };
}

inline std::vector<ProfileCase> TruncationCases() {
    return {
        {"ValueCutToFit", kMixed, {Get(L"Common", L"Name", L"def", 4, 3, W(L"Val\0"))}},
        {"ValueExactFit", kMixed, {Get(L"Common", L"Name", L"def", 6, 5, W(L"Value\0"))}},
        {"ValueInTinyBuffers",
         kMixed,
         {Get(L"Common", L"Name", L"def", 2, 1, W(L"V\0")),
          Get(L"Common", L"Name", L"def", 1, 0, W(L"\0")),
          Get(L"Common", L"Name", L"def", 0, 0, W(L""))}},
        {"QuotedValueCutNearItsLength",
         kMixed,
         {Get(L"Common", L"Quoted", L"def", 9, 8, W(L"in quote\0")),
          Get(L"Common", L"Quoted", L"def", 10, 8, W(L"in quote\0\0")),
          Get(L"Common", L"Quoted", L"def", 11, 9, W(L"in quotes\0\0"))}},
        {"DefaultCutToFit", kMixed, {Get(L"Common", L"Absent", L"fallback", 4, 3, W(L"fal\0"))}},
    };
}

inline std::vector<ProfileCase> SectionListCases() {
    return {
        {"ListsSectionsWithDuplicates",
         kMixed,
         {Get(nullptr, L"ignored", L"def", 64, 21, W(L"Common\0Second\0common\0\0"))}},
        {"SectionListOfEmptyFile", Bytes(""), {Get(nullptr, nullptr, L"def", 16, 0, W(L"\0"))}},
        {"SectionListOfMissingFile",
         std::nullopt,
         {Get(nullptr, nullptr, L"def", 16, 0, W(L"\0"))}},
        {"SectionListExactFitReportedAsCut",
         kGreek,
         {Get(nullptr, nullptr, L"", 18, 16, W(L"alpha\0beta\0gamma\0\0")),
          Get(nullptr, nullptr, L"", 19, 17, W(L"alpha\0beta\0gamma\0\0"))}},
        {"SectionListCutMidName", kGreek, {Get(nullptr, nullptr, L"", 10, 8, W(L"alpha\0be\0\0"))}},
        {"SectionListInTinyBuffers",
         kGreek,
         {Get(nullptr, nullptr, L"", 3, 1, W(L"a\0\0")),
          Get(nullptr, nullptr, L"", 2, 0, W(L"\0\0")), Get(nullptr, nullptr, L"", 1, 0, W(L"\0")),
          Get(nullptr, nullptr, L"", 0, 0, W(L""))}},
    };
}

inline std::vector<ProfileCase> KeyListCases() {
    return {
        {"ListsKeysOfSection",
         kMixed,
         {Get(L"Common", nullptr, L"def", 64, 57,
              W(L"Name\0Spaced Key\0Quoted\0Single\0Mixed\0Dup\0dup\0Empty\0Number\0\0"))}},
        {"KeyListIgnoresLaterDuplicateSection",
         kMixed,
         {Get(L"common", nullptr, L"", 64, 57,
              W(L"Name\0Spaced Key\0Quoted\0Single\0Mixed\0Dup\0dup\0Empty\0Number\0\0"))}},
        {"KeyListSkipsBareLinesAndComments",
         kNames,
         {Get(L"section1", nullptr, L"", 32, 18, W(L"name1\0name2\0name4\0\0"))}},
        {"KeyListOfEmptySectionGivesDefault",
         kNames,
         {Get(L"section2", nullptr, L"def", 16, 3, W(L"def\0"))}},
        {"KeyListOfMissingSectionGivesUntrimmedDefault",
         kNames,
         {Get(L"nowhere", nullptr, nullptr, 16, 0, W(L"\0\0")),
          Get(L"nowhere", nullptr, L"d  ", 16, 3, W(L"d  \0"))}},
        {"KeyListRequestedSectionIsNotTrimmed",
         kNames,
         {Get(L" section1 ", nullptr, L"def", 32, 3, W(L"def\0"))}},
        {"KeyListCutMidName",
         kNames,
         {Get(L"section1", nullptr, L"", 16, 14, W(L"name1\0name2\0na\0\0"))}},
        {"KeyListExactFitReportedAsCut",
         kNames,
         {Get(L"section1", nullptr, L"", 19, 17, W(L"name1\0name2\0name4\0\0")),
          Get(L"section1", nullptr, L"", 20, 18, W(L"name1\0name2\0name4\0\0"))}},
        {"KeyListInTinyBuffers",
         kNames,
         {Get(L"section1", nullptr, L"", 3, 1, W(L"n\0\0")),
          Get(L"section1", nullptr, L"", 2, 0, W(L"\0")),
          Get(L"section1", nullptr, L"", 1, 0, W(L"\0")),
          Get(L"section1", nullptr, L"", 0, 0, W(L""))}},
        {"KeyListTooSmallFallsBackToDefault",
         kNames,
         {Get(L"section1", nullptr, L"def", 2, 1, W(L"d\0"))}},
    };
}

inline std::vector<ProfileCase> IntCases() {
    return {
        {"IntReadsDecimal", kNumbers, {GetInt(L"n", L"plain", 0, 42)}},
        {"IntNegativeWraps", kNumbers, {GetInt(L"n", L"negative", 0, 4294967291u)}},
        {"IntPlusSign", kNumbers, {GetInt(L"n", L"plus", 0, 7)}},
        {"IntStopsAtFirstNonDigit", kNumbers, {GetInt(L"n", L"trailing", 0, 12)}},
        {"IntTextGivesZero", kNumbers, {GetInt(L"n", L"text", 9, 0)}},
        {"IntEmptyGivesDefault", kNumbers, {GetInt(L"n", L"empty", 9, 9)}},
        {"IntMissingKeyGivesDefault", kNumbers, {GetInt(L"n", L"absent", -1, 4294967295u)}},
        {"IntMissingFileGivesDefault", std::nullopt, {GetInt(L"n", L"plain", 5, 5)}},
        {"IntLowerCaseHexPrefix",
         kNumbers,
         {GetInt(L"n", L"hex", 0, 26), GetInt(L"n", L"upperhex", 0, 0)}},
        {"IntWrapsAt32Bits", kNumbers, {GetInt(L"n", L"wrap", 0, 1)}},
        {"IntQuotesStripped",
         kNumbers,
         {GetInt(L"n", L"quoted", 0, 42), GetInt(L"n", L"spaced", 0, 5)}},
        {"IntReadsFirst29Characters", kNumbers, {GetInt(L"n", L"long", 0, 1)}},
        {"IntWithNullNamesParsesTheList",
         Bytes("[12]\r\n7up=x\r\n"),
         {GetInt(L"12", nullptr, 3, 7), GetInt(nullptr, nullptr, 3, 12)}},
    };
}

inline std::vector<ProfileCase> WriteCases() {
    return {
        {"WriteCreatesAnsiFile",
         std::nullopt,
         {Write(L"App", L"key", L"string")},
         Bytes("[App]\r\nkey=string\r\n")},
        {"WriteBuildsSectionsInOrderOfFirstWriting",
         std::nullopt,
         {Write(L"App1", L"key1", L"string1"), Write(L"App1", L"key2", L"string2"),
          Write(L"App2", L"key4", L"string4"), Write(L"App1", L"key3", L"string3"),
          Write(L"App3", L"key5", L"string5")},
         Bytes("[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
               "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n")},
        {"WriteReplacesValueInPlace",
         Bytes("[s]\r\na=1\r\nb=2\r\n"),
         {Write(L"s", L"a", L"9")},
         Bytes("[s]\r\na=9\r\nb=2\r\n")},
        {"WriteMatchesNamesIgnoringCase",
         Bytes("[s]\r\na=1\r\nb=2\r\n"),
         {Write(L"S", L"A", L"9")},
         Bytes("[s]\r\na=9\r\nb=2\r\n")},
        {"WriteReplacesFirstDuplicateKey",
         Bytes("[s]\r\nk=1\r\nk=2\r\n"),
         {Write(L"s", L"K", L"9")},
         Bytes("[s]\r\nk=9\r\nk=2\r\n")},
        {"WriteAppendsKeyAtEndOfSection",
         Bytes("[s]\r\na=1\r\n[t]\r\nb=2\r\n"),
         {Write(L"s", L"c", L"3")},
         Bytes("[s]\r\na=1\r\nc=3\r\n[t]\r\nb=2\r\n")},
        {"WriteAppendsKeyAfterTrailingComment",
         Bytes("[s]\r\na=1\r\n; end of s\r\n[t]\r\n"),
         {Write(L"s", L"b", L"2")},
         Bytes("[s]\r\na=1\r\n; end of s\r\nb=2\r\n[t]\r\n")},
        {"WriteAppendsToFirstDuplicateSection",
         Bytes("[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n"),
         {Write(L"s", L"b", L"9")},
         Bytes("[s]\r\na=1\r\nb=9\r\n[t]\r\n[S]\r\nb=2\r\n")},
        {"WriteAppendsNewSectionAtEnd",
         Bytes("; top\r\n[s]\r\na=1\r\n"),
         {Write(L"new", L"k", L"v")},
         Bytes("; top\r\n[s]\r\na=1\r\n[new]\r\nk=v\r\n")},
        {"WriteKeepsComments",
         Bytes("; top\r\n[s]\r\n; about a\r\na=1\r\n"),
         {Write(L"s", L"a", L"2")},
         Bytes("; top\r\n[s]\r\n; about a\r\na=2\r\n")},
        {"WriteRewritesFileInCanonicalForm",
         Bytes("[s]\r\n\r\n  a  =  1  \r\n\r\n[ t ]  ; x\nb=2"),
         {Write(L"s", L"c", L"3")},
         Bytes("[s]\r\na=1\r\nc=3\r\n[t]\r\nb=2\r\n")},
        {"WriteSameValueLeavesFileUntouched", Bytes("[s]\n  a = 1 \n"), {Write(L"s", L"a", L"1")}},
        {"WriteTrimsLeadingSpacesOfValue",
         std::nullopt,
         {Write(L"s", L"k", L"  v  "), Get(L"s", L"k", L"", 16, 1, W(L"v\0"))},
         Bytes("[s]\r\nk=v  \r\n")},
        {"WriteEmptyValue", std::nullopt, {Write(L"App", L"key", L"")}, Bytes("[App]\r\nkey=\r\n")},
        {"WriteValueOnBareLine",
         Bytes("[s]\r\nflag\r\n"),
         {Write(L"s", L"FLAG", L"on")},
         Bytes("[s]\r\nflag=on\r\n")},
        {"WriteDropsRepeatedLinesWithoutName",
         Bytes("[s]\r\n=a\r\n=b\r\nk=v\r\n"),
         {Get(L"s", L"", L"def", 16, 1, W(L"a\0")), Write(L"s", L"k", L"w")},
         Bytes("[s]\r\n=a\r\nk=w\r\n")},
        {"WriteDeletesKey",
         Bytes("[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n"),
         {Write(L"s", L"A", nullptr)},
         Bytes("[s]\r\nb=2\r\n[t]\r\nc=3\r\n")},
        {"WriteDeletingLastKeyKeepsSection",
         Bytes("[App3]\r\nkey5=string5\r\n"),
         {Write(L"App3", L"key5", nullptr)},
         Bytes("[App3]\r\n")},
        {"WriteDeleteMissingKeyLeavesFileUntouched",
         Bytes("[s]\n a = 1 \n\n"),
         {Write(L"s", L"nope", nullptr), Write(L"nowhere", L"a", nullptr)}},
        {"WriteDeletesKeyInLaterDuplicateSection",
         Bytes("[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n"),
         {Write(L"s", L"b", nullptr)},
         Bytes("[s]\r\na=1\r\n[t]\r\n[S]\r\n")},
        {"WriteDeletesFirstMatchingSection",
         Bytes("[a]\r\nk=1\r\n[b]\r\nk=2\r\n[A]\r\nk=3\r\n"),
         {Write(L"A", nullptr, nullptr)},
         Bytes("[b]\r\nk=2\r\n[A]\r\nk=3\r\n")},
        {"WriteDeleteSectionIgnoresValue",
         Bytes("[a]\r\nk=1\r\n[b]\r\n"),
         {Write(L"a", nullptr, L"x")},
         Bytes("[b]\r\n")},
        {"WriteDeleteMissingSectionLeavesFileUntouched",
         Bytes("[a]\n k = 1\n"),
         {Write(L"b", nullptr, nullptr)}},
        {"WriteWithNullSectionFails",
         Bytes("[a]\n k = 1\n"),
         {Write(nullptr, L"key", L"string", kFileNotFound)}},
        {"MissingFolderFailsWritesAndReadsDefault",
         std::nullopt,
         {Write(L"s", L"k", L"v", kPathNotFound), Write(L"s", nullptr, nullptr, kPathNotFound),
          WriteSection(L"s", L"k=v\0", kPathNotFound),
          Get(L"s", L"k", L"\"d\" ", 16, 3, W(L"\"d\"\0")),
          Get(L"s", nullptr, L"\"d\"", 16, 1, W(L"d\0\0")),
          Get(nullptr, nullptr, L"", 16, 0, W(L"")), GetInt(L"s", L"k", 4, 4)},
         std::nullopt,
         Place::kMissingFolder},
        {"FolderPathFailsWritesAndReadsDefault",
         std::nullopt,
         {Write(L"s", L"k", L"v", kAccessDenied), WriteSection(L"s", L"k=v\0", kAccessDenied),
          Get(L"s", L"k", L"def", 16, 3, W(L"def\0"))},
         std::nullopt,
         Place::kFolder},
    };
}

inline std::vector<ProfileCase> SectionWriteCases() {
    return {
        {"WriteSectionReplacesEveryLineOfSection",
         Bytes("[s]\r\na=1\r\n; note\r\nbare\r\n[t]\r\nx=1\r\n"),
         {WriteSection(L"S", L"b=2\0  c  =  3 \0"), Get(L"s", L"c", L"", 16, 1, W(L"3\0"))},
         Bytes("[s]\r\nb=2\r\nc  =3 \r\n[t]\r\nx=1\r\n")},
        {"WriteSectionEmptiesDuplicateSectionsAndFillsFirst",
         Bytes("[s]\r\na=1\r\n[t]\r\nx=1\r\n[ S ]\r\nb=2\r\n"),
         {WriteSection(L"s", L"c=3\0")},
         Bytes("[s]\r\nc=3\r\n[t]\r\nx=1\r\n[S]\r\n")},
        {"WriteSectionKeepsRepeatedNamesAndSplitsAtFirstEquals",
         std::nullopt,
         {WriteSection(L" new", L"k=1\0no equals\0K=2\0a=b=c\0=v\0[x]=y\0;c=d\0"),
          Get(L"new", L"k", L"", 16, 1, W(L"1\0")), Get(L"new", L"a", L"", 16, 3, W(L"b=c\0"))},
         Bytes("[new]\r\nk=1\r\nK=2\r\na=b=c\r\n=v\r\n[x]=y\r\n;c=d\r\n")},
        {"WriteSectionWithTrailingSpaceMakesSectionPerLine",
         std::nullopt,
         {WriteSection(L" t ", L"a=1\0b=2\0")},
         Bytes("[t ]\r\na=1\r\n[t ]\r\nb=2\r\n")},
        {"WriteSectionAppendsNewSectionAfterOthers",
         Bytes("[a]\r\nk=1\r\n"),
         {WriteSection(L"b", L"x=1\0y=2\0"), Write(L"b", L"z", L"3")},
         Bytes("[a]\r\nk=1\r\n[b]\r\nx=1\r\ny=2\r\nz=3\r\n")},
        {"WriteSectionWithEmptyListEmptiesSectionButMakesNone",
         Bytes("[s]\r\na=1\r\n[t]\r\nx=1\r\n"),
         {WriteSection(L"s", L""), WriteSection(L"u", L""), WriteSection(L"v", L"bare\0")},
         Bytes("[s]\r\n[t]\r\nx=1\r\n")},
        {"WriteSectionWithNullListDeletesSection",
         Bytes("[s]\r\na=1\r\n[t]\r\nx=1\r\n"),
         {WriteSection(L"s", nullptr)},
         Bytes("[t]\r\nx=1\r\n")},
        {"WriteSectionKeepsUtf16Le",
         Utf16File(L"[s]\r\nk=1\r\n"),
         {WriteSection(L"s", L"k=\u00E9\u4E2D\0")},
         Utf16File(L"[s]\r\nk=\u00E9\u4E2D\r\n")},
    };
}

inline std::vector<ProfileCase> EncodingCases() {
    return {
        {"ReadsUtf16LeWithBom",
         Utf16File(L"[s]\r\nk=v\u00E9\r\n[t]\r\n"),
         {Get(L"s", L"k", L"", 16, 2, W(L"v\u00E9\0")),
          Get(nullptr, nullptr, L"", 16, 4, W(L"s\0t\0\0"))}},
        {"WriteKeepsUtf16Le",
         Utf16File(L"[s]\r\nk=1\r\n"),
         {Write(L"s", L"k", L"\u00E9\u20AC\u4E2D")},
         Utf16File(L"[s]\r\nk=\u00E9\u20AC\u4E2D\r\n")},
        {"WriteKeepsUtf16LeOfBomOnlyFile",
         Utf16File(L""),
         {Write(L"s", L"k", L"v")},
         Utf16File(L"[s]\r\nk=v\r\n")},
        {"ReadsAndKeepsUtf16Be",
         Utf16File(L"[s]\r\nk=\u00E9\r\n", true),
         {Get(L"s", L"k", L"", 16, 1, W(L"\u00E9\0")), Write(L"s", L"n", L"\u20AC")},
         Utf16File(L"[s]\r\nk=\u00E9\r\nn=\u20AC\r\n", true)},
        {"ReadsUtf8WithBom",
         Bytes("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\n"),
         {Get(L"s", L"k", L"", 16, 4, W(L"caf\u00E9\0"))}},
        {"WriteKeepsUtf8Bom",
         Bytes("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\n"),
         {Write(L"s", L"n", L"\u20AC")},
         Bytes("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\nn=\xE2\x82\xAC\r\n")},
        {"ReadsAnsiAsCp1252",
         Bytes("[s]\r\nk=caf\xE9 \x80\r\n"),
         {Get(L"s", L"k", L"", 16, 6, W(L"caf\u00E9 \u20AC\0"))}},
        {"WritesNewFileAsCp1252",
         std::nullopt,
         {Write(L"s", L"k", L"caf\u00E9 \u20AC")},
         Bytes("[s]\r\nk=caf\xE9 \x80\r\n")},
        {"WriteKeepsAnsiOfOtherLines",
         Bytes("[s]\r\nk=\xE9\r\n"),
         {Write(L"s", L"n", L"x")},
         Bytes("[s]\r\nk=\xE9\r\nn=x\r\n")},
        {"UnmappableCharacterWrittenAsQuestionMark",
         std::nullopt,
         {Write(L"s", L"k", L"a\u4E2Db"), Get(L"s", L"k", L"", 16, 3, W(L"a?b\0"))},
         Bytes("[s]\r\nk=a?b\r\n")},
    };
}

inline std::vector<ProfileCase> Cases() {
    std::vector<ProfileCase> all;
    for (auto&& group : {ReadCases(), TruncationCases(), SectionListCases(), KeyListCases(),
                         IntCases(), WriteCases(), SectionWriteCases(), EncodingCases()}) {
        all.insert(all.end(), group.begin(), group.end());
    }
    return all;
}

// ---- The runner -------------------------------------------------------------------------------

// Buffers are filled with this before each call, so that a character the call did not write
// shows; a few more past the given size catch writes beyond the bound.
inline constexpr wchar_t kUntouched = L'#';
inline constexpr std::uint32_t kGuard = 4;

inline std::string Show(const wchar_t* text, std::size_t length) {
    if (!text)
        return "null";
    std::string out = "\"";
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (c == 0) {
            out += "\\0";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out + "\"";
}
inline std::string Show(const wchar_t* text) {
    return Show(text, text ? std::char_traits<wchar_t>::length(text) : 0);
}
// A list of null-ended strings, up to the null that ends it.
inline std::string ShowList(const wchar_t* list) {
    std::size_t length = 0;
    while (list && list[length])
        length += std::char_traits<wchar_t>::length(list + length) + 1;
    return Show(list, length);
}
inline std::string ShowBytes(const std::optional<std::string>& bytes) {
    if (!bytes)
        return "no file";
    std::string out = "\"";
    for (char ch : *bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += ch;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

inline std::string Describe(const ProfileOp& op) {
    switch (op.kind) {
        case OpKind::kGet:
            return "Get(" + Show(op.section) + ", " + Show(op.key) + ", " + Show(op.text) + ", " +
                   std::to_string(op.size) + ")";
        case OpKind::kGetInt:
            return "GetInt(" + Show(op.section) + ", " + Show(op.key) + ", " +
                   std::to_string(op.intDefault) + ")";
        case OpKind::kWrite:
            return "Write(" + Show(op.section) + ", " + Show(op.key) + ", " + Show(op.text) + ")";
        case OpKind::kWriteSection:
            return "WriteSection(" + Show(op.section) + ", " + ShowList(op.text) + ")";
    }
    return {};
}

inline std::optional<std::string> ReadBytes(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs one case against `api` with its file in `folder`; answers a description of every way the
// results differ from the table, none when they all agree.
inline std::vector<std::string> RunCase(const ProfileCase& c, ProfileApi& api,
                                        const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    const std::string fileName = std::string(c.name) + ".ini";
    const fs::path file =
        c.place == Place::kMissingFolder ? folder / "no-such-folder" / fileName : folder / fileName;
    std::error_code ec;
    fs::remove_all(c.place == Place::kMissingFolder ? file.parent_path() : file, ec);
    if (c.place == Place::kFolder) {
        fs::create_directories(file, ec);
    } else if (c.before) {
        std::ofstream(file, std::ios::binary)
            .write(c.before->data(), static_cast<std::streamsize>(c.before->size()));
    }

    std::vector<std::string> mismatches;
    for (std::size_t i = 0; i < c.ops.size(); ++i) {
        const ProfileOp& op = c.ops[i];
        const std::string where = "op " + std::to_string(i + 1) + " " + Describe(op) + ": ";
        std::uint32_t result = 0;
        if (op.kind == OpKind::kGet) {
            // One character in front too, never checked: Wine writes there in a corner case.
            std::vector<wchar_t> storage(1 + op.size + kGuard, kUntouched);
            wchar_t* buffer = storage.data() + 1;
            result = api.GetString(op.section, op.key, op.text, buffer, op.size, file);
            const std::wstring expected =
                op.buffer + std::wstring(op.size + kGuard - op.buffer.size(), kUntouched);
            if (std::wstring(buffer, op.size + kGuard) != expected) {
                mismatches.push_back(where + "buffer " + Show(buffer, op.size + kGuard) +
                                     ", expected " + Show(expected.data(), expected.size()));
            }
        } else if (op.kind == OpKind::kGetInt) {
            result = api.GetInt(op.section, op.key, op.intDefault, file);
        } else if (op.kind == OpKind::kWrite) {
            result = api.WriteString(op.section, op.key, op.text, file);
        } else {
            result = api.WriteSection(op.section, op.text, file);
        }
        if (result != op.result) {
            mismatches.push_back(where + "returned " + std::to_string(result) + ", expected " +
                                 std::to_string(op.result));
        }
    }

    if (c.place == Place::kFolder) {
        if (!fs::is_directory(file, ec))
            mismatches.push_back("the folder is gone");
    } else {
        const std::optional<std::string> expected = c.after ? c.after : c.before;
        const std::optional<std::string> actual = ReadBytes(file);
        if (actual != expected) {
            mismatches.push_back("file " + ShowBytes(actual) + ", expected " + ShowBytes(expected));
        }
    }
    fs::remove_all(c.place == Place::kMissingFolder ? file.parent_path() : file, ec);
    return mismatches;
}

// For a console runner: runs each case through `run`, which answers its mismatches, prints them
// named by their case and then the counts; answers the exit status.
template <typename Cases, typename Run>
int ReportCases(const Cases& cases, Run run) {
    int passed = 0;
    int failed = 0;
    for (const auto& c : cases) {
        const std::vector<std::string> mismatches = run(c);
        if (mismatches.empty()) {
            ++passed;
            continue;
        }
        ++failed;
        for (const std::string& mismatch : mismatches)
            std::printf("%s: %s\n", c.name, mismatch.c_str());
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

}  // namespace norvane::profile_cases
