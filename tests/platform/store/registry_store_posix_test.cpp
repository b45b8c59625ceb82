// The store file that stands in for the registry where there is none; on
// Windows the registry itself is the store.
#include "platform/store/registry_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

#include "tests/temp_directory.h"

namespace platform {

void PrintTo(const RegValue& value, std::ostream* out) {
    *out << "type " << value.type << ", text " << ::testing::PrintToString(value.text) << ", dword "
         << value.dword << ", " << value.bytes.size() << " bytes";
}

namespace {

namespace fs = std::filesystem;

RegValue String(std::u16string text, RegType type = RegType::String) {
    RegValue value;
    value.type = uint32_t(type);
    value.text = std::move(text);
    return value;
}

RegValue DWord(uint32_t number) {
    RegValue value;
    value.type = uint32_t(RegType::DWord);
    value.dword = number;
    return value;
}

RegValue Bytes(uint32_t type, std::vector<uint8_t> bytes) {
    RegValue value;
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RegistryStoreTest : public ::testing::Test {
  protected:
    TempDirectory folder_;
    const fs::path file_ = folder_.path() / "registry.reg";
};

TEST_F(RegistryStoreTest, WritesTheExportFormatAndReadsItBack) {
    {
        RegistryStore store(file_);
        RegistryKey* config = store.CreateKey(u"\\Vestrakon\\Delta\\Type");
        ASSERT_NE(config, nullptr);
        EXPECT_TRUE(store.SetDWord(*config, u"AutoRun", 1));
        RegistryKey* type = store.CreateKey(u"\\Vestrakon\\Delta\\Type\\Москва");
        ASSERT_NE(type, nullptr);
        EXPECT_TRUE(store.SetDWord(*type, u"Codec", 10));
        EXPECT_TRUE(store.SetString(*type, u"From", u"C:\\in \"new\"\\"));
        EXPECT_TRUE(store.SetString(*type, u"Lines", u"a\nb"));  // cannot stand between quotes
        EXPECT_TRUE(store.SetString(*type, u"Empty", u""));
        ASSERT_NE(store.CreateKey(u"Vestrakon\\Delta\\Type\\Москва\\100"), nullptr);
        store.Close();
    }
    const std::string expected =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\Vestrakon]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type]\n"
        "\"AutoRun\"=dword:00000001\n"
        "\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва]\n"
        "\"Codec\"=dword:0000000a\n"
        "\"From\"=\"C:\\\\in \\\"new\\\"\\\\\"\n"
        "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\n"
        "\"Empty\"=\"\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Москва\\100]\n";
    EXPECT_EQ(ReadBytes(file_), expected);

    RegistryStore loaded(file_);
    EXPECT_TRUE(loaded.SkippedLines().empty());
    EXPECT_EQ(loaded.Serialize(), expected);
    RegistryKey* type = loaded.CreateKey(u"\\Vestrakon\\Delta\\Type\\Москва");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(loaded.QueryValue(*type, u"From"), String(u"C:\\in \"new\"\\"));
    EXPECT_EQ(loaded.QueryValue(*type, u"Lines"), String(u"a\nb"));
    EXPECT_EQ(loaded.QueryValue(*type, u"Codec"), DWord(10));
    EXPECT_EQ(loaded.SubKeyNames(*type), std::vector<std::u16string>{u"100"});
}

// Every kind of value survives a write and a load unchanged.
TEST_F(RegistryStoreTest, ValuesRoundTrip) {
    const std::vector<std::pair<std::u16string, RegValue>> values = {
        {u"Кириллица", String(u"Ёжик в тумане, ЁЖИК")},
        {u"Quotes \"and\" \\slashes\\", String(u"\"\\\\\"\\")},
        {u"", String(u"default value")},
        {u"Max", DWord(0xFFFFFFFF)},
        {u"Zero", DWord(0)},
        {u"Control", String(std::u16string(u"a\0b\r\n", 5))},
        {u"Lone surrogate", String(std::u16string(1, char16_t(0xD800)) + u"x")},
        {u"Pair", String(u"\U0001F600")},
        {u"Expand", String(u"%HOME%\\" + std::u16string(100, u'ж'), RegType::ExpandString)},
        {u"Binary", Bytes(3, std::vector<uint8_t>(300, 0xAB))},
        {u"Empty binary", Bytes(3, {})},
        {u"Qword", Bytes(11, {1, 2, 3, 4, 5, 6, 7, 8})},
        {u"None", Bytes(0, {0})},
    };
    {
        RegistryStore store(file_);
        RegistryKey* key = store.CreateKey(u"\\Данные\\\"Имя\" [1]");
        ASSERT_NE(key, nullptr);
        for (const auto& [name, value] : values) {
            if (value.type == uint32_t(RegType::String)) {
                ASSERT_TRUE(store.SetString(*key, name, value.text));
            } else if (value.type == uint32_t(RegType::DWord)) {
                ASSERT_TRUE(store.SetDWord(*key, name, value.dword));
            }
        }
        store.Close();
    }
    // Values of other types arrive only from a file: add them to it by hand.
    std::string text = ReadBytes(file_);
    text += "\"Expand\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00";
    for (int i = 0; i < 100; ++i) {
        text += i % 20 == 0 ? ",\\\n  36,04" : ",36,04";
    }
    text += ",00,00\n\"Binary\"=hex:ab";
    for (int i = 1; i < 300; ++i) {
        text += ",ab";
    }
    text += "\n\"Empty binary\"=hex:\n\"Qword\"=hex(b):01,02,03,04,05,06,07,08\n";
    text += "\"None\"=hex(0):00\n";
    folder_.Write(file_.filename(), text);

    RegistryStore first(file_);
    EXPECT_TRUE(first.SkippedLines().empty());
    RegistryKey* key = first.CreateKey(u"\\Данные\\\"Имя\" [1]");
    ASSERT_NE(key, nullptr);
    for (const auto& [name, value] : values) {
        EXPECT_EQ(first.QueryValue(*key, name), value) << ::testing::PrintToString(name);
    }
    ASSERT_TRUE(first.SetDWord(*key, u"Zero", 1));  // to make Close write
    ASSERT_TRUE(first.SetDWord(*key, u"Zero", 0));
    first.Close();

    RegistryStore second(file_);
    EXPECT_TRUE(second.SkippedLines().empty());
    EXPECT_EQ(second.Serialize(), first.Serialize());
}

TEST_F(RegistryStoreTest, EnumeratesSubKeysInUpperCasedCodeUnitOrder) {
    RegistryStore store(file_);
    const std::vector<std::u16string> created = {u"b", u"A", u"Ж", u"а", u"_", u"ё", u"Е", u"a1"};
    for (const auto& name : created) {
        ASSERT_NE(store.CreateKey(u"\\Root\\" + name), nullptr);
    }
    // Upper-cased: A(41) A1 B(42) _(5F) Ё(401) А(410) Е(415) Ж(416); the names keep their case.
    const std::vector<std::u16string> expected = {u"A", u"a1", u"b", u"_", u"ё", u"а", u"Е", u"Ж"};
    EXPECT_EQ(store.SubKeyNames(*store.CreateKey(u"Root")), expected);
    store.Close();

    RegistryStore loaded(file_);
    EXPECT_EQ(loaded.SubKeyNames(*loaded.CreateKey(u"Root")), expected);
}

TEST_F(RegistryStoreTest, KeyAndValueNamesCompareCaseInsensitively) {
    RegistryStore store(file_);
    RegistryKey* key = store.CreateKey(u"\\Vestrakon\\Ёлка\\Delta");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(store.CreateKey(u"VESTRAKON\\ёЛКА\\delta"), key);
    EXPECT_EQ(store.SubKeyNames(*store.CreateKey(u"")), std::vector<std::u16string>{u"Vestrakon"});

    ASSERT_TRUE(store.SetDWord(*key, u"AutoRun", 1));
    ASSERT_TRUE(store.SetString(*key, u"Имя", u"first"));
    EXPECT_EQ(store.QueryValue(*key, u"AUTORUN"), DWord(1));
    EXPECT_EQ(store.QueryValue(*key, u"иМЯ"), String(u"first"));
    EXPECT_EQ(store.QueryValue(*key, u"Missing"), std::nullopt);

    // A second write of the same name replaces the value in its place and
    // keeps the name as first written.
    ASSERT_TRUE(store.SetString(*key, u"autorun", u"text now"));
    EXPECT_EQ(store.QueryValue(*key, u"AutoRun"), String(u"text now"));
    EXPECT_EQ(store.Serialize(),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Vestrakon]\n\n"
              "[HKEY_CURRENT_USER\\Vestrakon\\Ёлка]\n\n"
              "[HKEY_CURRENT_USER\\Vestrakon\\Ёлка\\Delta]\n"
              "\"AutoRun\"=\"text now\"\n"
              "\"Имя\"=\"first\"\n");
}

TEST_F(RegistryStoreTest, RejectsPathsThatCannotNameAKey) {
    const std::u16string longest(255, u'к');
    const struct {
        std::u16string path;
        bool valid;
    } cases[] = {
        {u"\\A\\B", true},
        {u"A\\B", true},
        {u"\\" + longest, true},
        {u"\\" + longest + u"к", false},
        {u"\\A\\\\B", false},
        {u"\\\\A", false},
        {u"\\A\\", false},
        {u"\\A\nB", false},
        {std::u16string(u"\\A\0B", 4), false},
    };
    RegistryStore store(file_);
    for (const auto& test : cases) {
        EXPECT_EQ(store.CreateKey(test.path) != nullptr, test.valid)
            << ::testing::PrintToString(test.path);
    }
    std::u16string deepest;
    for (int level = 0; level < 512; ++level) {
        deepest += u"\\k";
    }
    EXPECT_NE(store.CreateKey(deepest), nullptr);
    EXPECT_EQ(store.CreateKey(deepest + u"\\k"), nullptr);

    RegistryStore fresh(folder_.path() / "other.reg");
    EXPECT_EQ(fresh.CreateKey(u"\\New\\\\Key"), nullptr);
    EXPECT_TRUE(fresh.SubKeyNames(*fresh.CreateKey(u"\\")).empty()) << "nothing created";
}

TEST_F(RegistryStoreTest, DeleteTreeRemovesTheWholeSubTreeAndIgnoresMissingKeys) {
    {
        RegistryStore store(file_);
        RegistryKey* kept = store.CreateKey(u"\\Vestrakon\\Kept");
        ASSERT_NE(store.CreateKey(u"\\Vestrakon\\Delta\\Type\\Москва\\100"), nullptr);
        store.DeleteTree(u"\\vestrakon\\DELTA");
        store.DeleteTree(u"\\Vestrakon\\Missing\\Deeper");
        store.DeleteTree(u"\\No such key");
        store.DeleteTree(u"\\Bad\\\\Path");
        ASSERT_TRUE(store.SetDWord(*kept, u"Still", 1));  // the sibling's key stays valid
        EXPECT_EQ(store.SubKeyNames(*store.CreateKey(u"\\Vestrakon")),
                  std::vector<std::u16string>{u"Kept"});
        store.Close();
    }
    const std::string written = ReadBytes(file_);
    {
        RegistryStore store(file_);
        store.DeleteTree(u"\\Vestrakon\\Missing");
        store.Close();  // nothing changed: the file is not rewritten
    }
    EXPECT_EQ(ReadBytes(file_), written);
    EXPECT_EQ(FolderEntries(folder_.path()), std::vector<std::string>{"registry.reg"});
}

TEST_F(RegistryStoreTest, LimitsOneValueToOneMebibyte) {
    RegistryStore store(file_);
    RegistryKey* key = store.CreateKey(u"\\Big");
    ASSERT_NE(key, nullptr);
    // With its terminating NUL a string of 524287 code units is exactly 1 MiB.
    const std::u16string largest(524287, u'я');
    EXPECT_TRUE(store.SetString(*key, u"Text", largest));
    EXPECT_FALSE(store.SetString(*key, u"Text", largest + u"я"));
    EXPECT_EQ(store.QueryValue(*key, u"Text"), String(largest)) << "the old value stays";

    EXPECT_TRUE(store.SetDWord(*key, std::u16string(16383, u'n'), 1));
    EXPECT_FALSE(store.SetDWord(*key, std::u16string(16384, u'n'), 1));
    EXPECT_FALSE(store.SetString(*key, u"two\nlines", u"x"));
    store.Close();

    RegistryStore loaded(file_);
    EXPECT_EQ(loaded.QueryValue(*loaded.CreateKey(u"\\Big"), u"Text"), String(largest));
}

TEST_F(RegistryStoreTest, LoadsAWindowsExport) {
    const fs::path fixture = fs::path(KVADREL_FIXTURES) / "windows-export.reg";
    fs::copy_file(fixture, file_);
    RegistryStore store(file_);
    EXPECT_TRUE(store.SkippedLines().empty());
    RegistryKey* config = store.CreateKey(u"\\Vestrakon\\Delta\\Type");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(store.QueryValue(*config, u"AutoRun"), DWord(1));
    EXPECT_EQ(store.SubKeyNames(*config), std::vector<std::u16string>{u"Москва"});

    RegistryKey* type = store.CreateKey(u"\\Vestrakon\\Delta\\Type\\Москва");
    EXPECT_EQ(store.QueryValue(*type, u"Codec"), DWord(10));
    EXPECT_EQ(store.QueryValue(*type, u"Ident"), String(u"R_AMT"));
    EXPECT_EQ(store.QueryValue(*type, u"From"), String(u"C:\\Обмен\\\"Вход\"\\"));
    EXPECT_EQ(store.QueryValue(*type, u"Mask"),
              String(u"%USERPROFILE%\\Обмен\\*.txt", RegType::ExpandString));
    EXPECT_EQ(store.QueryValue(*type, u"Blob"), Bytes(3, {0x01, 0x02, 0xFF}));
    EXPECT_EQ(store.QueryValue(*type, u"Multi"), Bytes(7, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));
    EXPECT_EQ(store.QueryValue(*type, u""), String(u"по умолчанию"));

    // Unchanged, the store leaves the export as it is.
    store.Close();
    EXPECT_EQ(ReadBytes(file_), ReadBytes(fixture));
}

TEST_F(RegistryStoreTest, SkipsUnparseableLinesAndKeepsTheOriginalBeforeRewriting) {
    const std::string original =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "\"Orphan\"=\"before any key\"\n"
        "[HKEY_CURRENT_USER\\A]\n"
        "\"Good\"=\"1\"\n"
        "this line is garbage\n"
        "\"Bad\"=dword:xyz\n"
        "\"Unterminated\"=\"abc\n"
        "\"Escape\"=\"c:\\path\"\n"
        "\"Cp1251\"=\"\xCF\xF0\xE8\xE2\xE5\xF2\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A]\n"
        "\"Foreign\"=\"x\"\n"
        "[HKEY_CURRENT_USER\\B]\n"
        "\"After\"=dword:00000002\n";
    folder_.Write(file_.filename(), original);
    fs::path backup;
    {
        RegistryStore store(file_);
        std::vector<int> numbers;
        for (const RegSkippedLine& line : store.SkippedLines()) {
            numbers.push_back(line.number);
        }
        EXPECT_EQ(numbers, (std::vector<int>{3, 6, 7, 8, 9, 10, 11, 12}));
        EXPECT_EQ(store.SkippedLines()[4].text, u"\"Escape\"=\"c:\\path\"");
        EXPECT_EQ(store.SkippedLines()[5].text, std::nullopt);  // not UTF-8
        EXPECT_EQ(store.Serialize(),
                  "Windows Registry Editor Version 5.00\n\n"
                  "[HKEY_CURRENT_USER\\A]\n\"Good\"=\"1\"\n\n"
                  "[HKEY_CURRENT_USER\\B]\n\"After\"=dword:00000002\n");
        store.Close();  // nothing changed: no rewrite and no copy
        EXPECT_EQ(FolderEntries(folder_.path()), std::vector<std::string>{"registry.reg"});
        EXPECT_TRUE(store.BackupFile().empty());

        ASSERT_TRUE(store.SetDWord(*store.CreateKey(u"B"), u"After", 3));
        store.Close();
        backup = store.BackupFile();
        ASSERT_TRUE(store.SetDWord(*store.CreateKey(u"B"), u"After", 4));
        store.Close();  // the copy is made once
    }
    const auto entries = FolderEntries(folder_.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "registry.reg");
    EXPECT_TRUE(std::regex_match(entries[1], std::regex(R"(registry\.reg\.bad-\d{8}-\d{6})")))
        << entries[1];
    EXPECT_EQ(ReadBytes(folder_.path() / entries[1]), original);
    EXPECT_EQ(backup, folder_.path() / entries[1]);

    RegistryStore rewritten(file_);
    EXPECT_TRUE(rewritten.SkippedLines().empty());
    EXPECT_EQ(rewritten.QueryValue(*rewritten.CreateKey(u"B"), u"After"), DWord(4));
}

TEST_F(RegistryStoreTest, CreatesAPrivateFileInAPrivateFolder) {
    const fs::path file = folder_.path() / "config" / "kvadrel" / "registry.reg";
    RegistryStore store(file);
    ASSERT_NE(store.CreateKey(u"\\Vestrakon"), nullptr);
    store.Close();
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(file.parent_path().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST_F(RegistryStoreTest, CloseIntoAnUnwritableFolderThrowsAndLeavesTheOldFile) {
    folder_.Write("plain", "not a folder");
    const fs::path file = folder_.path() / "plain" / "registry.reg";
    RegistryStore store(file);
    ASSERT_NE(store.CreateKey(u"\\Vestrakon"), nullptr);
    try {
        store.Close();
        FAIL() << "Close did not throw";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadBytes(folder_.path() / "plain"), "not a folder");
}

TEST_F(RegistryStoreTest, AFileThatCannotBeReadIsNeverReplaced) {
    fs::create_directory(file_);  // reading it fails
    RegistryStore store(file_);
    ASSERT_NE(store.CreateKey(u"\\Vestrakon"), nullptr);
    EXPECT_THROW(store.Close(), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(file_));
}

// A fill of the store that is large enough to take a while to write.
void Fill(RegistryStore& store, char16_t letter) {
    store.DeleteTree(u"\\Data");
    RegistryKey* key = store.CreateKey(u"\\Data");
    for (int i = 0; i < 64; ++i) {
        const auto number = std::to_string(i);
        store.SetString(*key, u"Value " + std::u16string(number.begin(), number.end()),
                        std::u16string(4000, letter));
    }
}

TEST_F(RegistryStoreTest, AFailedWriteRemovesTheTemporaryFileAndKeepsTheOldOne) {
    {
        RegistryStore store(file_);
        ASSERT_TRUE(store.SetDWord(*store.CreateKey(u"\\Old"), u"Value", 1));
        store.Close();
    }
    const std::string old = ReadBytes(file_);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The write of the temporary file runs into the file size limit.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RegistryStore store(file_);
        Fill(store, u'x');
        try {
            store.Close();
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            ::_exit(message.find(file_.string()) != std::string::npos ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: Close did not throw; 2: the message lacks the file";
    EXPECT_EQ(ReadBytes(file_), old);
    EXPECT_EQ(FolderEntries(folder_.path()), std::vector<std::string>{"registry.reg"});
}

// Returns as soon as the file is seen to change (another file, size or time
// of change), or after a bounded number of looks.
void WaitForAChange(const fs::path& file) {
    struct stat before {};
    ::stat(file.c_str(), &before);
    for (int look = 0; look < 1000000; ++look) {
        struct stat now {};
        if (::stat(file.c_str(), &now) != 0 || now.st_ino != before.st_ino ||
            now.st_size != before.st_size || now.st_mtim.tv_nsec != before.st_mtim.tv_nsec ||
            now.st_mtim.tv_sec != before.st_mtim.tv_sec) {
            return;
        }
    }
}

// A child process rewrites the store over and over, alternating between two
// contents, and is killed at a random moment, every other round right when the
// file is seen to change (where a write in place would be caught half-done):
// the file must then hold exactly one of the two.
TEST_F(RegistryStoreTest, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewContents) {
    std::string contents[2];
    for (int i = 0; i < 2; ++i) {
        RegistryStore store(folder_.path() / "unused.reg");
        Fill(store, i == 0 ? u'a' : u'b');
        contents[i] = store.Serialize();
    }
    {
        RegistryStore store(file_);
        Fill(store, u'a');
        store.Close();
    }
    std::mt19937 random(20240517);
    std::uniform_int_distribution<int> delayMicroseconds(0, 40000);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                try {
                    RegistryStore store(file_);
                    Fill(store, i % 2 == 0 ? u'b' : u'a');
                    store.Close();
                } catch (...) {
                    ::_exit(2);
                }
            }
        }
        ::usleep(useconds_t(delayMicroseconds(random)));
        if (round % 2 == 1) {
            WaitForAChange(file_);
        }
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";

        const std::string bytes = ReadBytes(file_);
        EXPECT_TRUE(bytes == contents[0] || bytes == contents[1]) << "round " << round;
        RegistryStore loaded(file_);
        EXPECT_TRUE(loaded.SkippedLines().empty());
        const std::string text = loaded.Serialize();
        EXPECT_TRUE(text == contents[0] || text == contents[1]) << "round " << round;
    }
}

class UserStorePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            if (const char* value = std::getenv(name)) {
                saved_.emplace_back(name, value);
            }
        }
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : saved_) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }

  private:
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(UserStorePathTest, FollowsXdgConfigHomeElseHome) {
    const struct {
        const char* xdg;  // null: unset
        const char* expected;
    } cases[] = {
        {"/xdg/config", "/xdg/config/kvadrel/registry.reg"},
        {nullptr, "/home/operator/.config/kvadrel/registry.reg"},
        {"", "/home/operator/.config/kvadrel/registry.reg"},
        {"relative/config", "/home/operator/.config/kvadrel/registry.reg"},
    };
    ::setenv("HOME", "/home/operator", 1);
    for (const auto& test : cases) {
        if (test.xdg == nullptr) {
            ::unsetenv("XDG_CONFIG_HOME");
        } else {
            ::setenv("XDG_CONFIG_HOME", test.xdg, 1);
        }
        EXPECT_EQ(RegistryStore::UserStorePath(), fs::path(test.expected))
            << (test.xdg ? test.xdg : "(unset)");
    }
}

}  // namespace
}  // namespace platform
