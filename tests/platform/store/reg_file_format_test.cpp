#include "platform/store/reg_file_format.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

RegValue Value(uint32_t type, std::u16string text, uint32_t dword, std::vector<uint8_t> bytes) {
    RegValue value;
    value.type = type;
    value.text = std::move(text);
    value.dword = dword;
    value.bytes = std::move(bytes);
    return value;
}

// One value line under [HKEY_CURRENT_USER\K] and what becomes of it.
TEST(RegFileFormatTest, ReadsValueLines) {
    const struct {
        std::string line;
        std::optional<RegValue> expected;  // null: the line is skipped
    } cases[] = {
        {R"("V"="plain")", Value(1, u"plain", 0, {})},
        {R"("V" = "spaced")", Value(1, u"spaced", 0, {})},
        {R"("V"="")", Value(1, u"", 0, {})},
        {R"("V"="a\\b\"c")", Value(1, u"a\\b\"c", 0, {})},
        {R"("V"="a\nb")", std::nullopt},
        {R"("V"="unterminated)", std::nullopt},
        {R"("V"="trailing" x)", std::nullopt},
        {R"("V"=dword:0000000A)", Value(4, u"", 10, {})},
        {R"("V"=DWORD:ffffffff)", Value(4, u"", 0xFFFFFFFF, {})},
        {R"("V"=dword:123456789)", std::nullopt},
        {R"("V"=dword:)", std::nullopt},
        {R"("V"=hex:)", Value(3, u"", 0, {})},
        {R"("V"=hex:0,1f,FF)", Value(3, u"", 0, {0x00, 0x1F, 0xFF})},
        {R"("V"=hex:01,,02)", std::nullopt},
        {R"("V"=hex:01,)", std::nullopt},
        {R"("V"=hex:100)", std::nullopt},
        {R"("V"=hex(1):41,00,00,00)", Value(1, u"A", 0, {})},
        {R"("V"=hex(2):41,00)", Value(2, u"A", 0, {})},
        {R"("V"=hex(2):41)", std::nullopt},
        {R"("V"=hex(4):01,02,00,00)", Value(4, u"", 0x201, {})},
        {R"("V"=hex(4):01,02)", std::nullopt},
        {R"("V"=hex(b):01,02)", Value(11, u"", 0, {1, 2})},
        {R"("V"=hex(7):)", Value(7, u"", 0, {})},
        {R"("V"=hex(x):01)", std::nullopt},
        {R"("V"=hex(2:01)", std::nullopt},
        {R"("V"=-)", std::nullopt},
        {R"("V"=string)", std::nullopt},
        {R"(V="no quotes")", std::nullopt},
    };
    for (const auto& test : cases) {
        const auto contents = ParseRegFile(
            "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n" + test.line + "\n");
        ASSERT_EQ(contents.keys.size(), 1u);
        const auto& values = contents.keys[0].values;
        if (test.expected) {
            EXPECT_EQ(contents.skippedLines.size(), 0u) << test.line;
            ASSERT_EQ(values.size(), 1u) << test.line;
            EXPECT_EQ(values[0].name, u"V");
            EXPECT_TRUE(values[0].value == *test.expected) << test.line;
        } else {
            EXPECT_EQ(contents.skippedLines.size(), 1u) << test.line;
            EXPECT_TRUE(values.empty()) << test.line;
        }
    }
}

TEST(RegFileFormatTest, ReadsKeyLines) {
    const struct {
        std::string line;
        std::optional<std::vector<std::u16string>> path;  // null: skipped
    } cases[] = {
        {"[HKEY_CURRENT_USER\\A\\Б]", std::vector<std::u16string>{u"A", u"Б"}},
        {"[hkey_current_user\\a]", std::vector<std::u16string>{u"a"}},
        {"  [HKEY_CURRENT_USER\\A]  ", std::vector<std::u16string>{u"A"}},
        {"[HKEY_CURRENT_USER\\A b]c]", std::vector<std::u16string>{u"A b]c"}},
        {"[HKEY_CURRENT_USER]", std::vector<std::u16string>{}},
        {"[HKEY_LOCAL_MACHINE\\Software]", std::nullopt},
        {"[HKEY_CURRENT_USERS\\A]", std::nullopt},
        {"[-HKEY_CURRENT_USER\\A]", std::nullopt},
        {"[HKEY_CURRENT_USER\\A\\\\B]", std::nullopt},
        {"[HKEY_CURRENT_USER\\A", std::nullopt},
    };
    for (const auto& test : cases) {
        const auto contents = ParseRegFile(test.line + "\n\"V\"=dword:00000001\n");
        if (test.path) {
            EXPECT_EQ(contents.skippedLines.size(), 0u) << test.line;
            ASSERT_EQ(contents.keys.size(), 1u) << test.line;
            EXPECT_EQ(contents.keys[0].path, *test.path) << test.line;
            EXPECT_EQ(contents.keys[0].values.size(), 1u) << test.line;
        } else {
            EXPECT_EQ(contents.skippedLines.size(), 2u)
                << "the key line and its value: " << test.line;
            EXPECT_TRUE(contents.keys.empty()) << test.line;
        }
    }
}

TEST(RegFileFormatTest, ReadsEveryEncodingAndLineEnd) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n; comment\r\n"
        u"[HKEY_CURRENT_USER\\Тип]\r\n\"Имя\"=\"Значение\"\r\n"
        u"\"Hex\"=hex:01,\\\r\n  02,\\\r\n  03\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : text) {
        utf16 += char(unit & 0xFF);
        utf16 += char(unit >> 8);
    }
    std::string utf8;
    for (const char16_t unit : text) {  // only ASCII and Cyrillic in the text
        if (unit < 0x80) {
            utf8 += char(unit);
        } else {
            utf8 += char(0xC0 | unit >> 6);
            utf8 += char(0x80 | (unit & 0x3F));
        }
    }
    std::string lf = utf8;
    std::erase(lf, '\r');
    for (const auto& bytes : {utf16, "\xEF\xBB\xBF" + utf8, utf8, lf}) {
        const auto contents = ParseRegFile(bytes);
        EXPECT_EQ(contents.skippedLines.size(), 0u);
        ASSERT_EQ(contents.keys.size(), 1u);
        EXPECT_EQ(contents.keys[0].path, std::vector<std::u16string>{u"Тип"});
        ASSERT_EQ(contents.keys[0].values.size(), 2u);
        EXPECT_EQ(contents.keys[0].values[0].name, u"Имя");
        EXPECT_EQ(contents.keys[0].values[0].value.text, u"Значение");
        EXPECT_EQ(contents.keys[0].values[1].value.bytes, (std::vector<uint8_t>{1, 2, 3}));
    }
}

// A hex list ending in "\" does not swallow the key line after it.
TEST(RegFileFormatTest, AContinuationStopsAtAKeyLine) {
    const auto contents = ParseRegFile(
        "[HKEY_CURRENT_USER\\A]\n\"V\"=hex:01,\\\n[HKEY_CURRENT_USER\\B]\n\"W\"=dword:00000002\n");
    ASSERT_EQ(contents.skippedLines.size(), 1u);
    EXPECT_EQ(contents.skippedLines[0], (RegSkippedLine{2, u"\"V\"=hex:01,\\"}));
    ASSERT_EQ(contents.keys.size(), 2u);
    EXPECT_TRUE(contents.keys[0].values.empty());
    ASSERT_EQ(contents.keys[1].values.size(), 1u);
    EXPECT_EQ(contents.keys[1].values[0].value.dword, 2u);
}

TEST(RegFileFormatTest, WrapsLongHexListsAsTheRegistryEditorDoes) {
    RegFileValue value{u"Data", {}};
    value.value.type = uint32_t(RegType::Binary);
    value.value.bytes.assign(60, 0x5A);
    std::string out;
    AppendRegFileKey(out, {u"K"}, {value});
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(out.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 5u);  // blank, key, three lines of data
    EXPECT_EQ(lines[1], "[HKEY_CURRENT_USER\\K]");
    for (size_t i = 2; i + 1 < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 80u);
        EXPECT_TRUE(lines[i].ends_with(",\\")) << lines[i];
        EXPECT_TRUE(i == 2 || lines[i].starts_with("  5a,")) << lines[i];
    }
    const auto contents = ParseRegFile(out);
    EXPECT_EQ(contents.skippedLines.size(), 0u);
    ASSERT_EQ(contents.keys.size(), 1u);
    EXPECT_TRUE(contents.keys[0].values[0].value == value.value);
}

}  // namespace
}  // namespace platform
