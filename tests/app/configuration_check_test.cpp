// The configuration rules end to end: kvadrel-batch leaves the files of a
// type it refuses where they are and says why, and --check names every
// problem of a configuration without touching a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "batch_workspace.h"

namespace fs = std::filesystem;

namespace {

// Every file under `folder` with its contents.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs the test process, and so the programs it starts, in `folder`.
class InFolder {
  public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(previous_); }

  private:
    fs::path previous_;
};

// A workspace with one sound type reading every file of In(), and files of
// the operator's own in the folder the program is started from.
class CheckWorkspace {
  public:
    CheckWorkspace() {
        // The operator's own files in the folder the program is started from.
        fs::create_directory(Here());
        ws_.Write("here/thesis.txt", "chapter one");
        ws_.Write("here/photo.jpg", "\xFF\xD8\xFF");
        ws_.WriteSource("update.txt", {"&АМТ", "/01=1"});
        type_ = ws_.AddType(config_, "amt");
        type_->Mask = "*.*";
        type_->Add("NOMER", 7, 1, 1);
        type_->Add("KOD", 2, 2, 2);
    }

    fs::path Here() const { return ws_.Root() / "here"; }
    fs::path Store() const { return ws_.ConfigHome() / "kvadrel" / "registry.reg"; }

    // The files of the whole workspace, the store and the code-value file included.
    // Every file of the workspace but the journal, which records the refusals.
    std::map<std::string, std::string> Everything() const {
        auto files = Files(ws_.Root());
        std::erase_if(files, [](const auto& file) { return file.first.starts_with("state/"); });
        return files;
    }

    BatchWorkspace::Run RunIn(const fs::path& folder, const std::vector<std::string>& arguments) {
        const InFolder in(folder);
        return ws_.RunToEnd(arguments);
    }

    BatchWorkspace::Run Check() { return RunIn(Here(), {"--check", "--ini", ws_.Ini().string()}); }

    BatchWorkspace ws_;
    TDL config_;
    TDD* type_;
};

class ConfigurationCheckTest : public ::testing::Test, protected CheckWorkspace {};

// The four ways a configuration used to lose updates or the operator's files.
TEST_F(ConfigurationCheckTest, RefusedTypeLeavesEveryFileAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(CheckWorkspace&)> spoil;
        std::vector<std::string> reasons;  // parts of what standard error says
    };
    const std::vector<Case> cases = {
        {"no From at all",
         [](CheckWorkspace& t) {
             t.type_->From = "";
             t.ws_.Save(t.config_);
         },
         {"*.*: update type 'amt': no source folder (From) is set; its files stay"}},
        {"From written the Windows way, which the store cannot read",
         [](CheckWorkspace& t) {
             t.ws_.Save(t.config_);
             std::string text = ReadBytes(t.Store());
             const size_t from = text.find("\"From\"=");
             text.replace(from, text.find('\n', from) - from, R"("From"="D:\exchange\in\")");
             t.ws_.Write(fs::relative(t.Store(), t.ws_.Root()), text);
         },
         {"1 line could not be read", "no source folder (From) is set"}},
        {"special products with no codes",
         [](CheckWorkspace& t) {
             t.type_->SpecProd = true;
             t.type_->KodObj = "KOD";
             t.ws_.Save(t.config_);
             t.ws_.WriteIni("[CodeValue]\nTipZnak=01\n");
         },
         {"special products need object codes", "has none"}},
        {"special products, the code-value file in UTF-16 without a byte-order mark",
         [](CheckWorkspace& t) {
             t.type_->SpecProd = true;
             t.type_->KodObj = "KOD";
             t.ws_.Save(t.config_);
             const std::string text = "[CodeValue]\r\nKodObj=01\r\n";
             std::string utf16;
             for (const char c : text) {
                 utf16 += c;
                 utf16 += '\0';
             }
             t.ws_.WriteIni(utf16);
         },
         {"has none"}},
        {"Moscow-region type without a group identifier",
         [](CheckWorkspace& t) {
             t.type_->Codec = 1;
             t.type_->Ident = "";
             t.ws_.Save(t.config_);
         },
         {"update type 'amt': no group identifier (Ident) is set"}},
        {"a store that cannot be read",
         [](CheckWorkspace& t) { fs::create_directories(t.Store()); },
         {"the configuration cannot be read (Is a directory): no update type is loaded"}},
        {"a store of junk",
         [](CheckWorkspace& t) {
             t.ws_.Save(t.config_);
             std::string utf16;
             for (const char c : ReadBytes(t.Store())) {
                 utf16 += c;
                 utf16 += '\0';
             }
             t.ws_.Write(fs::relative(t.Store(), t.ws_.Root()), utf16);
         },
         {"lines could not be read and are left out of the configuration",
          "the next save keeps the file as it is now in"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CheckWorkspace t;
        c.spoil(t);
        const auto before = t.Everything();
        const BatchWorkspace::Run run = t.RunIn(t.Here(), t.ws_.Arguments(true));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, "");
        for (const std::string& reason : c.reasons) {
            EXPECT_TRUE(Contains(run.errors, reason)) << run.errors;
        }
        EXPECT_EQ(t.Everything(), before);  // nothing converted, deleted, written or replaced
    }
}

TEST_F(ConfigurationCheckTest, SoundConfigurationPassesTheCheckUntouched) {
    ws_.WriteIni("[CodeValue]\nKodObj=01;02;03\nTipZnak=7\n");
    type_->SpecProd = true;
    type_->KodObj = "KOD";
    ws_.Save(config_);
    const auto before = Everything();
    const BatchWorkspace::Run run = Check();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output, Store().string() + ": 1 update type\n" + ws_.Ini().string() +
                              ": 3 object codes (KodObj), 1 sign type (TipZnak)\n");
    EXPECT_EQ(Everything(), before);
}

TEST_F(ConfigurationCheckTest, CheckNamesEachProblemAndTouchesNothing) {
    struct Case {
        const char* what;
        std::function<void(CheckWorkspace&)> spoil;
        std::function<std::string(const CheckWorkspace&)> line;  // a line of the output, whole
    };
    const auto saved = [](std::function<void(TDD&)> change) {
        return [change](CheckWorkspace& t) {
            change(*t.type_);
            t.ws_.Save(t.config_);
        };
    };
    const std::vector<Case> cases = {
        {"no From", saved([](TDD& type) { type.From = ""; }),
         [](const CheckWorkspace&) { return "amt: error: no source folder (From) is set"; }},
        {"relative To", saved([](TDD& type) { type.To = "out/"; }),
         [](const CheckWorkspace&) {
             return "amt: error: the target folder (To) 'out/' is not an absolute path";
         }},
        {"no transport format", saved([](TDD& type) { type.Codec = -1; }),
         [](const CheckWorkspace&) { return "amt: error: no transport format chosen (Codec -1)"; }},
        {"Moscow-region type without a group identifier", saved([](TDD& type) {
             type.Codec = 1;
             type.Ident = "";
         }),
         [](const CheckWorkspace&) {
             return "amt: error: no group identifier (Ident) is set: the Moscow-region format "
                    "would keep no record of any file";
         }},
        {"special products without codes", saved([](TDD& type) {
             type.SpecProd = true;
             type.KodObj = "KOD";
         }),
         [](const CheckWorkspace& t) {
             return "amt: error: special products need object codes, and the code-value file '" +
                    t.ws_.Ini().string() + "' has none (key KodObj of section CodeValue)";
         }},
        {"special products with an object-code field the type lacks", saved([](TDD& type) {
             type.SpecProd = true;
             type.KodObj = "KODOBJ";
         }),
         [](const CheckWorkspace&) {
             return "amt: error: special products need the object-code field (KodObj) 'KODOBJ', "
                    "which is not one of the type's fields";
         }},
        {"a field the table refuses", saved([](TDD& type) { type.Add("1BAD", 5, 3, 3); }),
         [](const CheckWorkspace&) {
             return "amt: error: the table cannot be made: field 3 '1BAD': the name does not "
                    "start with a letter";
         }},
        {"an unreadable code-value file",
         [](CheckWorkspace& t) {
             t.ws_.Save(t.config_);
             fs::remove(t.ws_.Ini());
             fs::create_directory(t.ws_.Ini());
         },
         [](const CheckWorkspace& t) {
             return t.ws_.Ini().string() + ": error: cannot be read (cannot read " +
                    t.ws_.Ini().string() + ": Is a directory)";
         }},
        {"a line of the store that cannot be read",
         [](CheckWorkspace& t) {
             t.ws_.Save(t.config_);
             std::string text = ReadBytes(t.Store());
             text.insert(text.find("\"Ident\""), "this is no value\n");
             t.ws_.Write(fs::relative(t.Store(), t.ws_.Root()), text);
         },
         [](const CheckWorkspace& t) {
             return t.Store().string() +
                    ": error: line 12 could not be read and is left out: this is no value";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CheckWorkspace t;
        c.spoil(t);
        const auto before = t.Everything();
        const BatchWorkspace::Run run = t.Check();
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.output, c.line(t) + "\n")) << run.output;
        EXPECT_EQ(t.Everything(), before);
    }
}

TEST_F(ConfigurationCheckTest, MissingSourceFolderIsAWarningOfTheCheckOnly) {
    type_->From = platform::Utf8ToCp1251((ws_.Root() / "typo").string() + "/");
    ws_.Save(config_);

    const BatchWorkspace::Run check = Check();
    EXPECT_EQ(check.status, 0);
    EXPECT_TRUE(Contains(check.output, "amt: warning: the source folder '" +
                                           (ws_.Root() / "typo").string() + "/' does not exist\n"))
        << check.output;

    const BatchWorkspace::Run pass = RunIn(Here(), ws_.Arguments(true));
    EXPECT_EQ(pass.status, 0);
    EXPECT_EQ(pass.output, "");
    EXPECT_EQ(pass.errors, "");
}

// A Moscow-region constant that is not a number: the check warns of it, and a
// run says it on standard error and converts all the same.
TEST_F(ConfigurationCheckTest, IgnoredMoscowConstantIsAWarningOfTheCheckAndSaidByARun) {
    ws_.WriteIni("[Moscow]\nShift=abc\n");
    ws_.Save(config_);
    const std::string ignored = ws_.Ini().string() + ": [Moscow] Shift=abc is not a usable number";

    const BatchWorkspace::Run check = Check();
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.errors, "");
    EXPECT_TRUE(Contains(check.output, ws_.Ini().string() +
                                           ": warning: [Moscow] Shift=abc is not a usable number; "
                                           "ignored\n"))
        << check.output;

    const BatchWorkspace::Run pass = RunIn(Here(), ws_.Arguments(true));
    EXPECT_EQ(pass.status, 0);
    EXPECT_EQ(pass.errors, "kvadrel: " + ignored + "; ignored\n");
    EXPECT_TRUE(Contains(pass.output, "update.txt -> ")) << pass.output;
}

TEST_F(ConfigurationCheckTest, MissingCodeValueFileIsRefusedAtStartInEveryMode) {
    ws_.Save(config_);
    const std::string missing = (ws_.Root() / "kvadrel.INI.typo").string();
    const auto before = Everything();
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--once", "--ini", missing}, {"--ini", missing}, {"--check", "--ini", missing}}) {
        SCOPED_TRACE(arguments[0]);
        const BatchWorkspace::Run run = RunIn(Here(), arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors,
                  "kvadrel-batch: the code-value file " + missing + " does not exist\n");
        EXPECT_EQ(Everything(), before);
    }
}

// Run from the build tree as the README says, the programs find the sample
// code-value file beside them; its empty KodObj keeps special products back.
TEST_F(ConfigurationCheckTest, BuildTreeHasTheSampleCodeValueFileBesideThePrograms) {
    type_->SpecProd = true;
    type_->KodObj = "KOD";
    ws_.Save(config_);
    const fs::path sample = fs::path(KVADREL_BINARY_DIR) / "app" / "kvadrel.INI";
    const BatchWorkspace::Run check = RunIn(Here(), {"--check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(Contains(check.output,
                         sample.string() + ": 0 object codes (KodObj), 0 sign types (TipZnak)\n"))
        << check.output;
    EXPECT_TRUE(Contains(check.output, "amt: error: special products need object codes"))
        << check.output;
}

TEST_F(ConfigurationCheckTest, RunWithoutUpdateTypesSaysWhichStoreItRead) {
    TDL().Save(Store());
    const BatchWorkspace::Run run = RunIn(Here(), ws_.Arguments(true));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "kvadrel: no update types are configured in " + Store().string() + "\n");
}

}  // namespace
