#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/descriptors.h"
#include "platform/store/registry_store.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

const std::u16string kTypeKey = u"\\Vestrakon\\Delta\\Type";

class DescriptorStoreTest : public ::testing::Test {
  protected:
    void WriteStore(const std::string& body) {
        folder_.Write(file_.filename(), "Windows Registry Editor Version 5.00\n\n" + body);
    }

    std::vector<std::u16string> SubKeys(const std::u16string& path) {
        platform::RegistryStore store(file_);
        return store.SubKeyNames(*store.CreateKey(path));
    }

    TempDirectory folder_;
    const fs::path file_ = folder_.path() / "registry.reg";
};

std::vector<AnsiString> TypeNames(const TDL& list) {
    std::vector<AnsiString> names;
    for (const TDD* type = list.First; type != nullptr; type = type->Next) {
        names.push_back(type->Name);
    }
    return names;
}

TEST_F(DescriptorStoreTest, LoadWithoutConfigurationCreatesTheEmptyKey) {
    TDL list;
    list.Load(file_);
    EXPECT_EQ(list.Count, 0);
    EXPECT_FALSE(list.AutoRun);
    EXPECT_NE(ReadBytes(file_).find("[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type]"),
              std::string::npos);

    list.Save(file_);
    platform::RegistryStore store(file_);
    const platform::RegistryKey& key = *store.CreateKey(kTypeKey);
    EXPECT_TRUE(store.SubKeyNames(key).empty());
    const auto autoRun = store.QueryValue(key, u"AutoRun");
    ASSERT_TRUE(autoRun);
    EXPECT_EQ(autoRun->type, uint32_t(platform::RegType::DWord));
    EXPECT_EQ(autoRun->dword, 0u);
}

TEST_F(DescriptorStoreTest, RoundTripKeepsEveryMember) {
    TDL saved;
    saved.AutoRun = true;
    TDD* type = saved.Add("\xCC\xEE\xF1\xEA\xE2\xE0", 1, "R_AMT");  // "Москва"
    type->From = "/srv/in/\"quoted\"\\";
    type->To = "/srv/out/";
    type->Mask = "*.txt";
    type->SpecProd = true;
    type->Beg = "BEG";
    type->End = "END";
    type->Ceria = "CER";
    type->KodObj = "KOD";
    type->TipZnak = "TIP";
    type->Add("\xCD\xCE\xCC\xC5\xD0", 12, 3, 4);  // "НОМЕР"
    type->Add("DATE", 8, 20, 21);
    saved.Save(file_);

    TDL loaded;
    loaded.Load(file_);
    EXPECT_TRUE(loaded.AutoRun);
    ASSERT_EQ(loaded.Count, 1);
    const TDD& got = *loaded.First;
    EXPECT_EQ(got.Name, type->Name);
    EXPECT_EQ(got.Codec, 1);
    EXPECT_EQ(got.Ident, "R_AMT");
    EXPECT_EQ(got.From, type->From);
    EXPECT_EQ(got.To, "/srv/out/");
    EXPECT_EQ(got.Mask, "*.txt");
    EXPECT_TRUE(got.SpecProd);
    EXPECT_EQ(got.Beg, "BEG");
    EXPECT_EQ(got.End, "END");
    EXPECT_EQ(got.Ceria, "CER");
    EXPECT_EQ(got.KodObj, "KOD");
    EXPECT_EQ(got.TipZnak, "TIP");
    ASSERT_EQ(got.Count, 2);
    EXPECT_EQ(got.First->Name, u"НОМЕР");
    EXPECT_EQ(got.First->Size, 12);
    EXPECT_EQ(got.First->Code, 3);
    EXPECT_EQ(got.First->ACode, 4);
    EXPECT_EQ(got.Last->Name, u"DATE");
    EXPECT_EQ(got.Last->Code, 20);
}

TEST_F(DescriptorStoreTest, TypesComeBackInRegistryOrder) {
    TDL saved;
    for (const char* name : {"zeta", "\xE0\xE1\xE2", "Alpha", "beta", "\xC0\xC0"}) {  // абв, АА
        saved.Add(name, 0, "");
    }
    saved.Save(file_);
    TDL loaded;
    loaded.Load(file_);
    // Upper-cased names compared code unit by code unit: Latin before Cyrillic.
    EXPECT_EQ(TypeNames(loaded),
              (std::vector<AnsiString>{"Alpha", "beta", "zeta", "\xC0\xC0", "\xE0\xE1\xE2"}));
}

TEST_F(DescriptorStoreTest, SaveIsAFullRewriteWithFieldsNumberedFrom100) {
    TDL list;
    TDD* type = list.Add("T", 0, "");
    type->Add("A", 1, 1, 1);
    TDF* middle = type->Add("B", 1, 2, 2);
    type->Add("C", 1, 3, 3);
    list.Add("Gone", 0, "");
    list.Save(file_);
    EXPECT_EQ(SubKeys(kTypeKey + u"\\T"), (std::vector<std::u16string>{u"100", u"101", u"102"}));

    delete type->Remove(middle);
    delete list.Remove(list.Last);
    list.Save(file_);
    EXPECT_EQ(SubKeys(kTypeKey), (std::vector<std::u16string>{u"T"}));
    EXPECT_EQ(SubKeys(kTypeKey + u"\\T"), (std::vector<std::u16string>{u"100", u"101"}));
    TDL loaded;
    loaded.Load(file_);
    ASSERT_EQ(loaded.First->Count, 2);
    EXPECT_EQ(loaded.First->Last->Name, u"C");
}

TEST_F(DescriptorStoreTest, FirstFailedReadEndsTheReadsOfItsKey) {
    WriteStore(
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type]\n"
        "\"AutoRun\"=dword:00000005\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\OnlyStrings]\n"
        "\"Ident\"=\"X\"\n\"From\"=\"/in/\"\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\OnlyStrings\\100]\n"
        "\"Name\"=\"F\"\n\"Size\"=dword:00000007\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\NoSpecProd]\n"
        "\"Codec\"=dword:00000000\n\"Ident\"=\"ID\"\n\"From\"=\"/a/\"\n\"To\"=\"/b/\"\n"
        "\"Mask\"=\"*.*\"\n\"Beg\"=\"BEG\"\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\TextCodec]\n"
        "\"Codec\"=\"1\"\n\"Ident\"=\"ID\"\n\"SpecProd\"=dword:00000005\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\TextCodec\\100]\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\TextCodec\\101]\n"
        "\"Name\"=\"N\"\n\"Code\"=dword:00000009\n\"ACode\"=dword:00000009\n\n"
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\Expand]\n"
        "\"Codec\"=dword:00000001\n"
        "\"Ident\"=hex(2):52,00,5f,00,41,00,00,00\n"
        "\"SpecProd\"=dword:00000005\n\"Beg\"=\"B\"\n");
    TDL list;
    list.Load(file_);
    EXPECT_TRUE(list.AutoRun);
    ASSERT_EQ(list.Count, 4);

    const TDD& expand = *list.First;
    EXPECT_EQ(expand.Name, "Expand");
    EXPECT_EQ(expand.Ident, "R_A");  // REG_EXPAND_SZ reads as a string
    EXPECT_TRUE(expand.SpecProd);
    EXPECT_EQ(expand.Beg, "B");

    const TDD& noSpecProd = *expand.Next;
    EXPECT_EQ(noSpecProd.Codec, 0);
    EXPECT_EQ(noSpecProd.Mask, "*.*");
    EXPECT_EQ(noSpecProd.Beg, "");  // after the failed read of SpecProd

    const TDD& onlyStrings = *noSpecProd.Next;
    EXPECT_EQ(onlyStrings.Codec, -1);
    EXPECT_EQ(onlyStrings.Ident, "");
    EXPECT_EQ(onlyStrings.From, "");
    ASSERT_EQ(onlyStrings.Count, 1);
    EXPECT_EQ(onlyStrings.First->Name, u"F");
    EXPECT_EQ(onlyStrings.First->Size, 7);
    EXPECT_EQ(onlyStrings.First->Code, 1);  // missing: read ends, default stays

    const TDD& textCodec = *onlyStrings.Next;
    EXPECT_EQ(textCodec.Codec, -1);
    EXPECT_EQ(textCodec.Ident, "");
    EXPECT_FALSE(textCodec.SpecProd);
    ASSERT_EQ(textCodec.Count, 2);
    const TDF& empty = *textCodec.First;
    EXPECT_EQ(empty.Name, u"");
    EXPECT_EQ(empty.Size, 10);
    EXPECT_EQ(empty.Code, 1);
    EXPECT_EQ(empty.ACode, 1);
    const TDF& noSize = *textCodec.Last;
    EXPECT_EQ(noSize.Name, u"N");
    EXPECT_EQ(noSize.Size, 10);
    EXPECT_EQ(noSize.Code, 1);
    EXPECT_EQ(noSize.ACode, 1);

    list.Save(file_);
    platform::RegistryStore store(file_);
    EXPECT_EQ(store.QueryValue(*store.CreateKey(kTypeKey), u"AutoRun")->dword, 1u);
    EXPECT_EQ(store.QueryValue(*store.CreateKey(kTypeKey + u"\\Expand"), u"SpecProd")->dword, 1u);
}

TEST_F(DescriptorStoreTest, ValueThatCannotBeWrittenFailsAndKeepsTheOldConfiguration) {
    TDL old;
    old.Add("Old", 0, "AMT");
    old.Save(file_);
    const std::string before = ReadBytes(file_);

    TDL list;
    list.Add("New", 0, AnsiString(1 << 20, 'x'));  // more than one value may hold
    try {
        list.Save(file_);
        FAIL() << "the save did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Ident'");
    }
    EXPECT_EQ(ReadBytes(file_), before);
}

// A store with lines that cannot be read still gives what can be read, says
// which lines went, and stays as it is until a save, which keeps the original
// as a copy and names it.
TEST_F(DescriptorStoreTest, DamagedStoreIsReportedAndKeptUntilASaveNamesItsCopy) {
    WriteStore(
        "[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\A]\n"
        "\"Codec\"=dword:00000000\n"
        "\"From\"=\"D:\\in\\\"\n"
        "\"Mask\"=\"*.txt\"\n");
    const std::string original = ReadBytes(file_);
    TDL list;
    const TStoreLoad found = list.Load(file_);
    ASSERT_EQ(list.Count, 1);
    EXPECT_EQ(list.First->Codec, 0);
    EXPECT_EQ(list.First->From, "");
    EXPECT_EQ(list.First->Mask, "*.txt");
    EXPECT_EQ(found.File, file_);
    EXPECT_EQ(found.ReadError, "");
    ASSERT_EQ(found.SkippedLines.size(), 1u);
    EXPECT_EQ(found.SkippedLines[0].number, 5);
    EXPECT_EQ(found.Problems(),
              std::vector<std::string>{
                  "1 line could not be read and is left out of the configuration (line 5); the "
                  "next save keeps the file as it is now in " +
                  file_.string() + ".bad-<date>-<time>"});
    EXPECT_EQ(ReadBytes(file_), original);  // the load wrote nothing

    testing::internal::CaptureStderr();
    const TStoreSave saved = list.Save(file_);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the note is the caller's to pass on
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
        if (entry.path() != file_) {
            copies.push_back(entry.path());
        }
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(copies[0]), original);
    EXPECT_EQ(saved.File, file_);
    EXPECT_EQ(saved.BackupFile, copies[0]);
    EXPECT_EQ(saved.Notes(),
              std::vector<std::string>{file_.string() +
                                       " had lines that could not be read; it is kept as " +
                                       copies[0].string()});
    EXPECT_TRUE(list.Save(file_).Notes().empty());  // the file is sound now
}

TEST_F(DescriptorStoreTest, UnreadableStoreLoadsNothingAndIsLeftAlone) {
    fs::create_directory(file_);  // there, but not a file that can be read
    TDL list;
    testing::internal::CaptureStderr();
    const TStoreLoad found = list.Load(file_);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no word of saving
    EXPECT_EQ(list.Count, 0);
    EXPECT_EQ(found.ReadError, "Is a directory");
    EXPECT_EQ(found.Problems(),
              std::vector<std::string>{
                  "the configuration cannot be read (Is a directory): no update type is loaded"});
    EXPECT_TRUE(fs::is_directory(file_));
    try {
        list.Save(file_);
        FAIL() << "the save did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(
            std::string(error.what()),
            "cannot save " + file_.string() +
                ": the file there could not be read (Is a directory), so it is left as it is");
    }
}

TEST_F(DescriptorStoreTest, SoundStoreHasNoProblems) {
    TDL saved;
    saved.Add("A", 0, "");
    EXPECT_TRUE(saved.Save(file_).Notes().empty());
    TDL list;
    const TStoreLoad found = list.Load(file_);
    EXPECT_EQ(list.Count, 1);
    EXPECT_TRUE(found.Problems().empty());
}

// The key a load adds to a store without it cannot always be written (here
// a file stands where the store's folder would be): the load has all there
// is all the same, and says why in its result, not on standard error.
TEST_F(DescriptorStoreTest, KeyTheLoadCannotWriteIsANoteOfTheLoadNotAFailure) {
    folder_.Write("plain", "a file, not a folder");
    const fs::path store = folder_.path() / "plain" / "registry.reg";
    TDL list;
    testing::internal::CaptureStderr();
    const TStoreLoad found = list.Load(store);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(list.Count, 0);
    EXPECT_EQ(found.ReadError, "");
    EXPECT_EQ(found.CloseError.rfind("cannot save " + store.string() + ": ", 0), 0u)
        << found.CloseError;
    EXPECT_TRUE(found.Problems().empty());  // a note, not a problem of the file
}

}  // namespace
