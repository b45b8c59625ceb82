// The rules of a configuration, with the folders written as POSIX paths.
#include "engine/type_rules.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using TLevel = TTypeProblem::TLevel;
using platform::FolderAccess;
using platform::FolderUse;

// Folders as a test describes them: usable unless said otherwise.
class FakeFolders : public platform::FolderAccessCheck {
  public:
    FolderAccess Check(const std::filesystem::path& folder, FolderUse use) const override {
        const auto found = access.find({Key(folder), use});
        return found == access.end() ? FolderAccess::Usable : found->second;
    }
    bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) const override {
        return linked.count({Key(a), Key(b)}) > 0;
    }

    std::map<std::pair<std::string, FolderUse>, FolderAccess> access;
    std::set<std::pair<std::string, std::string>> linked;

  private:
    static std::string Key(const std::filesystem::path& folder) {
        std::string key = folder.string();
        while (key.size() > 1 && key.back() == '/') {
            key.pop_back();
        }
        return key;
    }
};

// Everything the rules look at, sound until a case spoils it.
struct Situation {
    Situation() : type("t", 0, "") {
        type.From = "/w/in/";
        type.To = "/w/out/";
        type.Mask = "*.txt";
        type.Add("NOMER", 7, 1, 1);
        type.Add("KOD", 2, 2, 2);
    }

    void SpecialProducts() {
        type.SpecProd = true;
        type.KodObj = "KOD";
    }

    std::vector<TTypeProblem> Check() const {
        return CheckType(type, {kodObj, codeValueFile, folders});
    }

    TDD type;
    CodeList kodObj{"01"};
    TCodeValueFile codeValueFile{"/w/kvadrel.INI", TCodeValueFile::TState::Read, "", {}, {}};
    FakeFolders folders;
};

struct Expected {
    TLevel level;
    std::string part;  // a part of the problem's text
};

struct Case {
    const char* what;
    std::function<void(Situation&)> spoil;
    std::vector<Expected> problems;  // in order
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"a sound type", [](Situation&) {}, {}},
        {"a sound special-products type", [](Situation& s) { s.SpecialProducts(); }, {}},
        {"numbered-code format without a group identifier takes every record",
         [](Situation& s) { s.type.Ident = ""; },
         {}},
        // Errors: the worker leaves the type's files alone.
        {"empty From",
         [](Situation& s) { s.type.From = ""; },
         {{TLevel::Error, "no source folder (From) is set"}}},
        {"relative From, as a Windows path read here",
         [](Situation& s) { s.type.From = "D:\\exchange\\in\\"; },
         {{TLevel::Error,
           "the source folder (From) 'D:\\exchange\\in\\' is not an absolute path"}}},
        {"relative From, and that folder is not probed",
         [](Situation& s) {
             s.type.From = "in/";
             s.folders.access[{"in", FolderUse::Source}] = FolderAccess::Missing;
         },
         {{TLevel::Error, "is not an absolute path"}}},
        {"From without its closing separator names its parent folder",
         [](Situation& s) { s.type.From = "/w/in"; },
         {{TLevel::Error,
           "the source folder (From) '/w/in' does not end with a separator: the "
           "files of '/w' matching 'in*.txt' would be taken"}}},
        {"To without its closing separator is the same folder",
         [](Situation& s) { s.type.To = "/w/out"; },
         {}},
        {"empty To",
         [](Situation& s) { s.type.To = ""; },
         {{TLevel::Error, "no target folder (To) is set"}}},
        {"relative To",
         [](Situation& s) { s.type.To = "out/"; },
         {{TLevel::Error, "the target folder (To) 'out/' is not an absolute path"}}},
        {"no transport format chosen",
         [](Situation& s) { s.type.Codec = -1; },
         {{TLevel::Error, "no transport format chosen (Codec -1)"}}},
        {"an unknown transport format",
         [](Situation& s) { s.type.Codec = 7; },
         {{TLevel::Error, "no transport format chosen (Codec 7)"}}},
        {"Moscow-region format without a group identifier",
         [](Situation& s) { s.type.Codec = 1; },
         {{TLevel::Error, "no group identifier (Ident) is set"}}},
        {"special products, the code-value file read but without KodObj",
         [](Situation& s) {
             s.SpecialProducts();
             s.kodObj.clear();
         },
         {{TLevel::Error, "the code-value file '/w/kvadrel.INI' has none"}}},
        {"special products, no code-value file",
         [](Situation& s) {
             s.SpecialProducts();
             s.kodObj.clear();
             s.codeValueFile.State = TCodeValueFile::TState::Missing;
         },
         {{TLevel::Error, "'/w/kvadrel.INI', which does not exist"}}},
        {"special products, the code-value file unreadable",
         [](Situation& s) {
             s.SpecialProducts();
             s.kodObj.clear();
             s.codeValueFile.State = TCodeValueFile::TState::Unreadable;
             s.codeValueFile.Error = "Permission denied";
         },
         {{TLevel::Error, "'/w/kvadrel.INI', which could not be read (Permission denied)"}}},
        {"special products, the code values cut at the read limit",
         [](Situation& s) {
             s.SpecialProducts();
             s.codeValueFile.Cut = {true, true};
         },
         {{TLevel::Warning,
           "the value of KodObj in the code-value file '/w/kvadrel.INI' fills "
           "the 2047 characters that are read: the codes past them are lost"},
          {TLevel::Warning, "the value of TipZnak"}}},
        {"without special products a cut value does not matter",
         [](Situation& s) {
             s.codeValueFile.Cut = {true, true};
         },
         {}},
        {"special products without an object-code field",
         [](Situation& s) {
             s.SpecialProducts();
             s.type.KodObj = "";
         },
         {{TLevel::Error, "the object-code field (KodObj), and none is chosen"}}},
        {"special products with an object-code field the type lacks",
         [](Situation& s) {
             s.SpecialProducts();
             s.type.KodObj = "KODOBJ";
         },
         {{TLevel::Error, "field (KodObj) 'KODOBJ', which is not one of the type's fields"}}},
        {"special products, the object-code field named in another case",
         [](Situation& s) {
             s.SpecialProducts();
             s.type.KodObj = "kod";
         },
         {}},
        {"a field name the table refuses",
         [](Situation& s) { s.type.Add("1BAD", 5, 3, 3); },
         {{TLevel::Error, "the table cannot be made: field 3 '1BAD'"}}},
        {"a field too wide",
         [](Situation& s) { s.type.Add("WIDE", 256, 3, 3); },
         {{TLevel::Error, "field 3 'WIDE': the width 256 is outside 1 to 255"}}},
        {"two fields of one name, case ignored",
         [](Situation& s) { s.type.Add("nomer", 5, 3, 3); },
         {{TLevel::Error, "field 3 'nomer': the name repeats field 1"}}},
        {"more fields than a table holds",
         [](Situation& s) {
             for (int i = 0; i < 254; ++i) {
                 s.type.Add("F" + std::to_string(i), 1, 1, 1);
             }
         },
         {{TLevel::Error, "at most 255 fields, 256 given"}}},
        // Warnings: the worker goes on.
        {"missing source folder",
         [](Situation& s) {
             s.folders.access[{"/w/in", FolderUse::Source}] = FolderAccess::Missing;
         },
         {{TLevel::Warning, "the source folder '/w/in/' does not exist"}}},
        {"source that is no folder",
         [](Situation& s) {
             s.folders.access[{"/w/in", FolderUse::Source}] = FolderAccess::NotAFolder;
         },
         {{TLevel::Warning, "the source folder '/w/in/' is not a folder"}}},
        {"source folder closed to this user",
         [](Situation& s) {
             s.folders.access[{"/w/in", FolderUse::Source}] = FolderAccess::Denied;
         },
         {{TLevel::Warning, "cannot list the source folder '/w/in/' and delete files in it"}}},
        {"missing target folder",
         [](Situation& s) {
             s.folders.access[{"/w/out", FolderUse::Target}] = FolderAccess::Missing;
         },
         {{TLevel::Warning, "the target folder '/w/out/' does not exist"}}},
        {"target folder closed to this user",
         [](Situation& s) {
             s.folders.access[{"/w/out", FolderUse::Target}] = FolderAccess::Denied;
         },
         {{TLevel::Warning, "cannot create tables in the target folder '/w/out/'"}}},
        {"From and To the same, written differently",
         [](Situation& s) { s.type.To = "/w/./in"; },
         {{TLevel::Warning, "the source and target folders are the same folder"}}},
        {"From and To the same folder through a link",
         [](Situation& s) {
             s.folders.linked.insert({"/w/in", "/w/out"});
         },
         {{TLevel::Warning, "the source and target folders are the same folder"}}},
        {"no fields",
         [](Situation& s) { s.type.Clear(true); },
         {{TLevel::Warning, "the type has no fields"}}},
        // Several at once: every one is told, errors first.
        {"several problems",
         [](Situation& s) {
             s.folders.access[{"/w/in", FolderUse::Source}] = FolderAccess::Missing;
             s.type.Codec = 1;
             s.type.To = "";
             s.type.Clear(true);
         },
         {{TLevel::Error, "no target folder"},
          {TLevel::Error, "no group identifier"},
          {TLevel::Warning, "has no fields"},
          {TLevel::Warning, "'/w/in/' does not exist"}}},
    };
    return cases;
}

class TypeRulesTest : public ::testing::TestWithParam<Case> {};

TEST_P(TypeRulesTest, FindsWhatIsWrong) {
    Situation situation;
    GetParam().spoil(situation);
    const std::vector<TTypeProblem> problems = situation.Check();
    const std::vector<Expected>& expected = GetParam().problems;
    ASSERT_EQ(problems.size(), expected.size()) << (problems.empty() ? "" : problems[0].Text);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(problems[i].Level, expected[i].level) << problems[i].Text;
        EXPECT_NE(problems[i].Text.find(expected[i].part), std::string::npos) << problems[i].Text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TypeRulesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.what)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(TypeRules, EveryTypeOfAConfigurationIsJudgedInItsOrder) {
    Situation situation;
    TDL config;
    TDD* sound = config.Add("sound", 0, "");
    sound->From = situation.type.From;
    sound->To = situation.type.To;
    sound->Add("A", 1, 1, 1);
    config.Add("blank", -1, "");
    const auto all =
        CheckConfiguration(config, {situation.kodObj, situation.codeValueFile, situation.folders});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Type, sound);
    EXPECT_TRUE(all[0].Problems.empty());
    EXPECT_EQ(all[1].Type, sound->Next);
    EXPECT_EQ(all[1].Problems.size(), 4u);  // From, To, format; no fields
}

}  // namespace
