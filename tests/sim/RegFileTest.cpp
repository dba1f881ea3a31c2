#include "platform/sim/RegFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string_view>
#include <tuple>

namespace norvane::sim {
namespace {

using platform::RegType;
using platform::RegValue;

std::vector<std::uint8_t> Utf8(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// As regedit exports: UTF-16LE with a byte order mark.
std::vector<std::uint8_t> Utf16WithBom(std::wstring_view text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    const auto body = text::ToUtf16Le(text);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

const RegValue& ValueAt(const RegistryStore& store, const std::wstring& path,
                        const std::wstring& name) {
    const RegKey* key = store.Find(path);
    EXPECT_NE(key, nullptr) << text::ToUtf8(path);
    static const RegValue missing{static_cast<RegType>(0xDEAD), {}};
    const RegValue* value = key ? key->FindValue(name) : nullptr;
    EXPECT_NE(value, nullptr) << text::ToUtf8(name);
    return value ? *value : missing;
}

// Every key, as (path), and every value, as (path, name, type, bytes).
using Entry =
    std::tuple<std::wstring, std::optional<std::wstring>, RegType, std::vector<std::uint8_t>>;
void Collect(const RegKey& key, const std::wstring& path, std::vector<Entry>& out) {
    out.emplace_back(path, std::nullopt, RegType::None, std::vector<std::uint8_t>{});
    for (const auto& [name, value] : key.values)
        out.emplace_back(path, name, value.type, value.data);
    for (const RegKey* subkey : key.SubkeysInEnumOrder()) {
        Collect(*subkey, path + L"\\" + subkey->name, out);
    }
}

// Sorted, since a file keeps no order of values.
std::vector<Entry> Contents(const RegistryStore& store) {
    std::vector<Entry> out;
    for (const auto& [name, root] : store.Roots())
        Collect(*root, name, out);
    std::sort(out.begin(), out.end());
    return out;
}

constexpr wchar_t kCorvida[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida";

TEST(RegFileRead, ARegeditExportInUtf16) {
    const std::wstring file =
        L"Windows Registry Editor Version 5.00\r\n"
        L"\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida]\r\n"
        L"@=\"Corvida printers\"\r\n"
        L"\"Path\"=\"C:\\\\Program Files\\\\Corvida\"\r\n"
        L"\"Quote\"=\"say \\\"hi\\\"\"\r\n"
        L"\"Count\"=dword:0000002a\r\n"
        L"\"Expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,\\\r\n"
        L"  74,00,25,00,00,00\r\n"
        L"\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
        L"\"Blob\"=hex:01,02,ff\r\n"
        L"\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        L"\"Empty\"=hex:\r\n"
        L"\r\n"
        L"[HKEY_CURRENT_USER\\Printers\\Connections]\r\n"
        L"\r\n";
    RegistryStore store;
    ASSERT_EQ(ReadRegFile(Utf16WithBom(file), store), std::nullopt);

    EXPECT_EQ(ValueAt(store, kCorvida, L"").AsString(), L"Corvida printers");
    EXPECT_EQ(ValueAt(store, kCorvida, L"Path").AsString(), L"C:\\Program Files\\Corvida");
    EXPECT_EQ(ValueAt(store, kCorvida, L"Quote").AsString(), L"say \"hi\"");
    EXPECT_EQ(ValueAt(store, kCorvida, L"Path").type, RegType::Sz);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Count").data, RegValue::Dword(42).data);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Count").type, RegType::Dword);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Expand").data,
              RegValue::String(L"%SystemRoot%", RegType::ExpandSz).data);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Expand").type, RegType::ExpandSz);
    EXPECT_EQ(ValueAt(store, kCorvida, L"List").AsMultiString(),
              (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(ValueAt(store, kCorvida, L"List").type, RegType::MultiSz);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Blob").data, (std::vector<std::uint8_t>{1, 2, 0xff}));
    EXPECT_EQ(ValueAt(store, kCorvida, L"Blob").type, RegType::Binary);
    EXPECT_EQ(static_cast<std::uint32_t>(ValueAt(store, kCorvida, L"Qword").type), 11u);
    EXPECT_EQ(ValueAt(store, kCorvida, L"Qword").data.size(), 8u);
    EXPECT_TRUE(ValueAt(store, kCorvida, L"Empty").data.empty());
    EXPECT_NE(store.Find(L"HKCU\\Printers\\Connections"), nullptr);
    // Values come in the order the file gives them.
    EXPECT_EQ(store.Find(kCorvida)->values[1].first, L"Path");
}

TEST(RegFileRead, Utf8WithOrWithoutBomAndAnyLineEnd) {
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        for (const std::string eol : {"\n", "\r\n", "\r"}) {
            const std::string file =
                bom + "Windows Registry Editor Version 5.00" + eol + eol +
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caf\xC3\xA9]" + eol +
                "\"Nom\"=\"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\"" + eol;
            RegistryStore store;
            ASSERT_EQ(ReadRegFile(Utf8(file), store), std::nullopt);
            EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\Caf\u00e9", L"Nom").AsString(),
                      L"Caf\u00e9 \u65e5\u672c\u8a9e");
        }
    }
}

TEST(RegFileRead, Regedit4IsInTheAnsiCodePage) {
    const std::string file =
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n"
        "\"Name\"=\"Caf\xE9\"\r\n"
        "\"Expand\"=hex(2):43,61,66,e9,00\r\n"
        "\"Blob\"=hex:43,61,66,e9\r\n";
    RegistryStore store;
    ASSERT_EQ(ReadRegFile(Utf8(file), store), std::nullopt);
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\Old", L"Name").AsString(), L"Caf\u00e9");
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\Old", L"Expand").data,
              RegValue::String(L"Caf\u00e9", RegType::ExpandSz).data);
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\Old", L"Blob").data,
              (std::vector<std::uint8_t>{0x43, 0x61, 0x66, 0xe9}));
}

TEST(RegFileRead, CommentsBlanksAndContinuations) {
    const std::string file =
        "  Windows Registry Editor Version 5.00\n"
        "; exported by hand\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]  \n"
        "  \"A\" = \"a;b\" ; not part of the text\n"
        "\t@=dword:1 ; one\n"
        "\"C\"=hex:01,\\\n"
        "\n"
        "  ; between continued lines\n"
        "  02 , 03 ; end\n"
        "\"D\"=hex(2):\\\n"
        "  41,00,00,00\n";
    RegistryStore store;
    ASSERT_EQ(ReadRegFile(Utf8(file), store), std::nullopt);
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"A").AsString(), L"a;b");
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"").data, RegValue::Dword(1).data);
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"C").data,
              (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"D").AsString(), L"A");
}

TEST(RegFileRead, DeletesKeysAndValues) {
    RegistryStore store;
    store.Create(L"HKLM\\SOFTWARE\\Old\\Deeper");
    store.Create(L"HKLM\\SOFTWARE\\Kept")->SetValue(L"Gone", RegValue::Dword(1));
    store.Find(L"HKLM\\SOFTWARE\\Kept")->SetValue(L"Stays", RegValue::Dword(2));
    const std::string file =
        "Windows Registry Editor Version 5.00\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\NeverThere]\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n"
        "\"gone\"=-\n"
        "\"NeverThere\"=- ; nothing to do\n";
    ASSERT_EQ(ReadRegFile(Utf8(file), store), std::nullopt);
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\Old"), nullptr);
    const RegKey* kept = store.Find(L"HKLM\\SOFTWARE\\Kept");
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(kept->values.size(), 1u);
    EXPECT_EQ(kept->values[0].first, L"Stays");
}

TEST(RegFileRead, EscapesInNamesAndTexts) {
    const std::string file =
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n"
        "\"a \\\"b\\\" \\\\c\"=\"line\\r\\nnext\"\n"
        "\"@\"=\"not the default\"\n";
    RegistryStore store;
    ASSERT_EQ(ReadRegFile(Utf8(file), store), std::nullopt);
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"a \"b\" \\c").AsString(), L"line\r\nnext");
    EXPECT_EQ(ValueAt(store, L"HKLM\\SOFTWARE\\X", L"@").AsString(), L"not the default");
    EXPECT_EQ(store.Find(L"HKLM\\SOFTWARE\\X")->FindValue(L""), nullptr);
}

// "[<root>\K\K...]" with the key <levels> below its root.
std::string DeepKeyLine(const std::string& root, std::size_t levels) {
    std::string path = root;
    for (std::size_t i = 0; i < levels; ++i)
        path += "\\K";
    return "[" + path + "]\n";
}

TEST(RegFileRead, ErrorsNameTheLine) {
    struct Case {
        std::string body;  // after the header line
        std::size_t line;
        std::string message;
    };
    const Case cases[] = {
        {"\"A\"=\"x\"\n", 2, "value line outside a key"},
        {"[HKEY_NOWHERE\\X]\n", 2, "unknown root key"},
        {"[-HKEY_NOWHERE\\X]\n", 2, "unknown root key"},
        {"[]\n", 2, "unknown root key"},
        {"[-HKEY_LOCAL_MACHINE]\n", 2, "root key cannot be deleted"},
        {"[HKEY_LOCAL_MACHINE\\\\SOFTWARE]\n", 2, "backslash right after the root key"},
        {"\n[HKEY_LOCAL_MACHINE\\X\n", 3, "must end with ]"},
        {"[HKEY_LOCAL_MACHINE\\X] more\n", 2, "text after the ]"},
        {"[HKLM\\X]\n\"A\"=dword:123456789\n", 3, "malformed dword"},
        {"[HKLM\\X]\n\"A\"=dword:12 34\n", 3, "malformed dword"},
        {"[HKLM\\X]\n\"A\"=dword:\n", 3, "malformed dword"},
        {"[HKLM\\X]\n\"A\"=dword:-1\n", 3, "malformed dword"},
        {"[HKLM\\X]\n\"A\"=hex:1g\n", 3, "malformed hex data"},
        {"[HKLM\\X]\n\"A\"=hex:123\n", 3, "malformed hex data"},
        {"[HKLM\\X]\n\"A\"=hex:01 02\n", 3, "malformed hex data"},
        {"[HKLM\\X]\n\"A\"=hex:01,,02\n", 3, "malformed hex data"},
        {"[HKLM\\X]\n\"A\"=hex:01\\\n  02\n", 3, "malformed hex data"},
        {"[HKLM\\X]\n\"A\"=hex(zz):00\n", 3, "malformed hex(N): type"},
        {"[HKLM\\X]\n\"A\"=hex(123456789):00\n", 3, "malformed hex(N): type"},
        {"[HKLM\\X]\n\"A\"=hex(2)00\n", 3, "malformed hex(N): type"},
        {"[HKLM\\X]\n\"A\"=\"no end\n", 3, "without its closing quote"},
        {"[HKLM\\X]\n\"A\"=\"ends in \\\n", 3, "without its closing quote"},
        {"[HKLM\\X]\n\"A=\"x\"\n", 3, "expected = after the value name"},
        {"[HKLM\\X]\n\"A\"=\"C:\\Windows\"\n", 3, "unknown escape \\W"},
        {"[HKLM\\X]\n\"A\"=\"x\" y\n", 3, "text after the closing quote"},
        {"[HKLM\\X]\n\"A\" \"x\"\n", 3, "expected = after the value name"},
        {"[HKLM\\X]\n@\n", 3, "expected = after the value name"},
        {"[HKLM\\X]\n\"A\"=str:\"x\"\n", 3, "unknown value type"},
        {"[HKLM\\X]\n\"A\"=\n", 3, "unknown value type"},
        {"[HKLM\\X]\nA=\"x\"\n", 3, "a line must be a [key], a value or a ; comment"},
        {"[HKLM\\X]\n\"A\"=hex:01,\\\n\n; only comments follow\n", 3, "file ends inside"},
        {"[HKLM\\X]\n\"A\"=hex:01,\\\n[HKLM\\Y]\n", 4, "expected the continued hex data"},
        {"[HKLM\\X]\n\"A\"=hex:01,\\\n  02,\\\n  03\n\"B\"=dword:x\n", 6, "malformed dword"},
        {"[-HKLM\\X]\n\"A\"=\"x\"\n", 3, "value line outside a key"},
        // Windows keeps no key deeper than 512 levels; 10,000 once overflowed the stack.
        {DeepKeyLine("HKEY_LOCAL_MACHINE", 513), 2, "more than 512 levels deep"},
        {DeepKeyLine("HKCR", 511), 2, "more than 512 levels deep"},
        {"[HKLM\\X]\n" + DeepKeyLine("HKCU", 10000), 3, "more than 512 levels deep"},
    };
    for (const Case& c : cases) {
        RegistryStore store;
        const auto error =
            ReadRegFile(Utf8("Windows Registry Editor Version 5.00\n" + c.body), store);
        ASSERT_TRUE(error.has_value()) << c.body;
        EXPECT_EQ(error->line, c.line) << c.body;
        EXPECT_NE(error->message.find(c.message), std::string::npos)
            << c.body << " gave: " << error->message;
    }
}

TEST(RegFileRead, TheHeaderComesFirst) {
    for (const std::string file : {"", "\n", "REGEDIT5\n", "[HKEY_LOCAL_MACHINE\\X]\n",
                                   "\nWindows Registry Editor Version 5.00\n"}) {
        RegistryStore store;
        const auto error = ReadRegFile(Utf8(file), store);
        ASSERT_TRUE(error.has_value()) << file;
        EXPECT_EQ(error->line, 1u);
        EXPECT_NE(error->message.find("Windows Registry Editor Version 5.00"), std::string::npos);
    }
}

TEST(RegFileWrite, TheLayoutOfRegedit) {
    RegistryStore store;
    RegKey* key = store.Create(L"HKLM\\SOFTWARE\\Corvida");
    key->SetValue(L"Path", RegValue::String(L"C:\\X \"y\""));
    key->SetValue(L"Count", RegValue::Dword(0x2a));
    RegValue blob{RegType::Binary, {}};
    for (std::uint8_t i = 0; i < 30; ++i)
        blob.data.push_back(i);
    key->SetValue(L"Blob", blob);
    key->SetValue(L"Expand", RegValue::String(L"%SystemRoot%", RegType::ExpandSz));
    key->SetValue(L"", RegValue::String(L"default"));
    for (const wchar_t* name : {L"b", L"A_B", L"AB"})
        store.Create(kCorvida + std::wstring(L"\\") + name);
    store.Create(L"HKCU\\Printers");
    store.Find(L"HKCU")->SetValue(L"RootValue", RegValue::Dword(1));

    EXPECT_EQ(
        WriteRegFile(store),
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER]\r\n"
        "\"RootValue\"=dword:00000001\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Printers]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida]\r\n"
        "@=\"default\"\r\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17,18,19,1a,1b,1c,1d\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
        "  00,25,00,00,00\r\n"
        "\"Path\"=\"C:\\\\X \\\"y\\\"\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\AB]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\A_B]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvida\\b]\r\n"
        "\r\n");
    EXPECT_EQ(WriteRegFile(RegistryStore()), "Windows Registry Editor Version 5.00\r\n\r\n");
}

TEST(RegFileWrite, LongHexDataKeepsTwentyFiveBytesALine) {
    RegistryStore store;
    store.Create(kCorvida)->SetValue(L"DevMode",
                                     {RegType::Binary, std::vector<std::uint8_t>(60, 0xab)});
    auto bytes = [](int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "ab,";
        return out;
    };
    // 21 bytes bring the first line to 77 characters, 25 fill each line after it.
    EXPECT_NE(WriteRegFile(store).find("\"DevMode\"=hex:" + bytes(21) + "\\\r\n  " + bytes(25) +
                                       "\\\r\n  " + bytes(13) + "ab\r\n"),
              std::string::npos);
}

// Values whose bytes or names the plain forms cannot carry, and keys that hold nothing.
RegistryStore AwkwardStore() {
    RegistryStore store;
    RegKey* key = store.Create(L"HKLM\\SOFTWARE\\Caf\u00e9\\\u65e5\u672c\u8a9e");
    key->SetValue(L"", RegValue::String(L"Caf\u00e9 \u65e5\u672c\u8a9e \"q\" \\ \r\n end"));
    key->SetValue(L"with \"quote\" and \\", RegValue::String(L"x"));
    key->SetValue(L"\u65e5\u672c\u8a9e", RegValue::String(L"%Path%;\u00e9", RegType::ExpandSz));
    key->SetValue(L"line\nbreak", RegValue::MultiString({L"a", L"\u00e9", L""}));
    key->SetValue(L"no terminator", {RegType::Sz, {0x41, 0x00, 0x42, 0x00}});
    key->SetValue(L"inner null", {RegType::Sz, {0x41, 0x00, 0x00, 0x00, 0x42, 0x00, 0x00, 0x00}});
    key->SetValue(L"odd", {RegType::Sz, {0x41, 0x00, 0x00}});
    key->SetValue(L"empty sz", {RegType::Sz, {}});
    key->SetValue(L"lone surrogate", {RegType::Sz, {0x00, 0xD8, 0x00, 0x00}});
    key->SetValue(L"short dword", {RegType::Dword, {1, 2, 3}});
    key->SetValue(L"none", {RegType::None, {}});
    key->SetValue(L"qword", {static_cast<RegType>(11), {1, 2, 3, 4, 5, 6, 7, 8}});
    key->SetValue(L"big type", {static_cast<RegType>(0x12345678), {0xff}});
    key->SetValue(L"long", {RegType::Binary, std::vector<std::uint8_t>(300, 0x5a)});
    store.Create(L"HKCU\\Empty\\Deeper\\Still empty");
    store.Create(L"HKU\\.DEFAULT");
    return store;
}

TEST(RegFileRoundTrip, TypesBytesAndNamesSurvive) {
    const RegistryStore original = AwkwardStore();
    const std::string first = WriteRegFile(original);
    RegistryStore read;
    ASSERT_EQ(ReadRegFile(Utf8(first), read), std::nullopt);
    EXPECT_EQ(Contents(read), Contents(original));
    const std::string second = WriteRegFile(read);
    EXPECT_EQ(second, first);

    // regedit's own encoding reads the same.
    RegistryStore fromUtf16;
    ASSERT_EQ(ReadRegFile(Utf16WithBom(text::FromUtf8(first)), fromUtf16), std::nullopt);
    EXPECT_EQ(WriteRegFile(fromUtf16), first);
}

TEST(RegFileRoundTrip, TheDeepestKeysWindowsKeeps) {
    const std::string file = "Windows Registry Editor Version 5.00\n" +
                             DeepKeyLine("HKEY_LOCAL_MACHINE", 512) + "\"A\"=\"1\"\n" +
                             DeepKeyLine("HKEY_CLASSES_ROOT", 510);
    RegistryStore read;
    ASSERT_EQ(ReadRegFile(Utf8(file), read), std::nullopt);
    const std::string written = WriteRegFile(read);
    RegistryStore again;
    ASSERT_EQ(ReadRegFile(Utf8(written), again), std::nullopt);
    EXPECT_EQ(Contents(again), Contents(read));
    EXPECT_EQ(WriteRegFile(again), written);
}

// Truncated and garbled files are refused or read, never more: whatever is read writes out and
// reads back the same.
TEST(RegFileRoundTrip, TruncatedAndGarbledInput) {
    const std::string valid = WriteRegFile(AwkwardStore());
    auto check = [](const std::vector<std::uint8_t>& bytes) {
        RegistryStore store;
        const auto error = ReadRegFile(bytes, store);
        if (error) {
            EXPECT_GE(error->line, 1u);
            EXPECT_FALSE(error->message.empty());
            return;
        }
        const std::string written = WriteRegFile(store);
        RegistryStore again;
        ASSERT_EQ(ReadRegFile(Utf8(written), again), std::nullopt) << written;
        EXPECT_EQ(WriteRegFile(again), written);
    };
    for (std::size_t size = 0; size <= valid.size(); ++size) {
        check(Utf8(valid.substr(0, size)));
    }
    const auto utf16 = Utf16WithBom(text::FromUtf8(valid));
    for (std::size_t size = 0; size <= utf16.size(); size += 7) {
        check(std::vector<std::uint8_t>(utf16.begin(), utf16.begin() + size));
    }
    std::mt19937 random(20240506);
    const std::string alphabet = "\\\"[]-,:;@=()\r\n \txh0f9\xC3\xA9\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string garbled = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = random() % garbled.size();
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
                case 0:
                    garbled[at] = c;
                    break;
                case 1:
                    garbled.insert(garbled.begin() + static_cast<std::ptrdiff_t>(at), c);
                    break;
                default:
                    garbled.erase(at, 1 + random() % 8);
            }
        }
        check(Utf8(garbled));
    }
}

}  // namespace
}  // namespace norvane::sim
