#include "engine/type_rules.h"

#include <algorithm>
#include <stdexcept>

#include "config/transport_format.h"
#include "engine/dbf/dbf_field_name.h"
#include "engine/type_field_defs.h"
#include "platform/files/native_path.h"

namespace {

using TLevel = TTypeProblem::TLevel;
using platform::FolderAccess;
using platform::FolderUse;

std::string Quoted(const AnsiString& text) {
    return "'" + platform::Cp1251ToUtf8(text) + "'";
}

class Judge {
  public:
    Judge(const TDD& type, const TRuleContext& context) : type_(type), context_(context) {}

    std::vector<TTypeProblem> Run() {
        const bool fromUsable = CheckPath(type_.From, "source folder (From)") && CheckSourceEnd();
        const bool toUsable = CheckPath(type_.To, "target folder (To)");
        CheckConversion();
        if (fromUsable) {
            CheckFolder(type_.From, FolderUse::Source);
        }
        if (toUsable) {
            CheckFolder(type_.To, FolderUse::Target);
        }
        if (fromUsable && toUsable && SameFolder()) {
            Warn("the source and target folders are the same folder");
        }
        return ErrorsFirst();
    }

    std::vector<TTypeProblem> RunConversion() {
        CheckConversion();
        return ErrorsFirst();
    }

  private:
    void CheckConversion() {
        CheckFormat();
        CheckSpecialProducts();
        CheckFields();
    }

    std::vector<TTypeProblem> ErrorsFirst() {
        std::stable_partition(problems_.begin(), problems_.end(),
                              [](const TTypeProblem& p) { return p.Level == TLevel::Error; });
        return std::move(problems_);
    }

    void Error(std::string text) { problems_.push_back({TLevel::Error, std::move(text)}); }
    void Warn(std::string text) { problems_.push_back({TLevel::Warning, std::move(text)}); }

    // An empty or relative folder would be taken from wherever the program
    // happens to run: a listing there could delete files that are no updates.
    bool CheckPath(const AnsiString& folder, const std::string& what) {
        if (folder.empty()) {
            Error("no " + what + " is set");
            return false;
        }
        if (!platform::NativePath(folder).is_absolute()) {
            Error("the " + what + " " + Quoted(folder) + " is not an absolute path");
            return false;
        }
        return true;
    }

    // The listing takes From and the mask as one text: without its closing
    // separator, From names its parent folder and a mask of other files.
    bool CheckSourceEnd() {
        const auto from = platform::NativePath(type_.From);
        if (!from.has_filename()) {
            return true;
        }
        Error("the source folder (From) " + Quoted(type_.From) +
              " does not end with a separator: the files of '" + from.parent_path().string() +
              "' matching '" + from.filename().string() + platform::Cp1251ToUtf8(type_.Mask) +
              "' would be taken");
        return false;
    }

    void CheckFormat() {
        const TTransportFormat& format = TransportFormatOf(type_.Codec);
        if (!format.IsFormat()) {
            Error("no transport format chosen (Codec " + std::to_string(type_.Codec) + ")");
        } else if (format.NeedsIdent && type_.Ident.empty()) {
            Error("no group identifier (Ident) is set: the " + std::string(format.Name) +
                  " format would keep no record of any file");
        }
    }

    // Special products keep only rows whose object code is in KodObjList:
    // without codes, or without the field that holds them, every row goes.
    void CheckSpecialProducts() {
        if (!type_.SpecProd) {
            return;
        }
        const TCodeValueFile& file = context_.CodeValueFile;
        const std::string path = "'" + file.Path.string() + "'";
        if (file.State == TCodeValueFile::TState::Unreadable) {
            Error("special products need the code-value file " + path +
                  ", which could not be read (" + file.Error + ")");
        } else if (context_.KodObjList.empty()) {
            Error(file.State == TCodeValueFile::TState::Missing
                      ? "special products need the object codes of the code-value file " + path +
                            ", which does not exist"
                      : "special products need object codes, and the code-value file " + path +
                            " has none (key KodObj of section CodeValue)");
        }
        for (const auto& [cut, key] :
             {std::pair{file.Cut.KodObj, "KodObj"}, std::pair{file.Cut.TipZnak, "TipZnak"}}) {
            if (cut) {
                Warn(std::string("the value of ") + key + " in the code-value file " + path +
                     " fills the 2047 characters that are read: the codes past them are lost");
            }
        }
        if (type_.KodObj.empty()) {
            Error("special products need the object-code field (KodObj), and none is chosen");
        } else if (!HasField(type_.KodObj)) {
            Error("special products need the object-code field (KodObj) " + Quoted(type_.KodObj) +
                  ", which is not one of the type's fields");
        }
    }

    bool HasField(const AnsiString& name) const {
        const AnsiString wanted = dbf::StoredFieldName(platform::Cp1251ToUtf16(name));
        for (const TDF* field = type_.First; field != nullptr; field = field->Next) {
            if (dbf::StoredFieldName(field->Name) == wanted) {
                return true;
            }
        }
        return false;
    }

    // The table's own rule, asked before any file is touched.
    void CheckFields() {
        if (type_.Count == 0) {
            Warn("the type has no fields: no table can be made from its files");
            return;
        }
        try {
            TypeFieldDefs(type_).Layout();
        } catch (const std::runtime_error& refused) {
            Error(std::string("the table cannot be made: ") + refused.what());
        }
    }

    void CheckFolder(const AnsiString& folder, FolderUse use) {
        const bool source = use == FolderUse::Source;
        const std::string what =
            (source ? "the source folder " : "the target folder ") + Quoted(folder);
        switch (context_.Folders.Check(platform::NativePath(folder), use)) {
            case FolderAccess::Usable:
                return;
            case FolderAccess::Missing:
                Warn(what + " does not exist");
                return;
            case FolderAccess::NotAFolder:
                Warn(what + " is not a folder");
                return;
            case FolderAccess::Denied:
                Warn(source ? "this user cannot list " + what +
                                  " and delete files in it: converted files would stay"
                            : "this user cannot create tables in " + what);
                return;
        }
    }

    bool SameFolder() const {
        const auto from = platform::NativePath(type_.From).lexically_normal();
        const auto to = platform::NativePath(type_.To).lexically_normal();
        return Stripped(from) == Stripped(to) || context_.Folders.SameFolder(from, to);
    }

    // "/a/b/" and "/a/b" name one folder.
    static std::filesystem::path Stripped(const std::filesystem::path& path) {
        return path.has_filename() ? path : path.parent_path();
    }

    const TDD& type_;
    const TRuleContext& context_;
    std::vector<TTypeProblem> problems_;
};

}  // namespace

std::vector<TTypeProblem> CheckType(const TDD& type, const TRuleContext& context) {
    return Judge(type, context).Run();
}

std::vector<TTypeProblem> CheckConversion(const TDD& type, const TRuleContext& context) {
    return Judge(type, context).RunConversion();
}

std::vector<TTypeProblems> CheckConfiguration(const TDL& config, const TRuleContext& context) {
    std::vector<TTypeProblems> all;
    for (const TDD* type = config.First; type != nullptr; type = type->Next) {
        all.push_back({type, CheckType(*type, context)});
    }
    return all;
}
