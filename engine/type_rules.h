// The rules an update type must keep before the worker touches its files.
// An error keeps the type's files where they are (converting them would
// destroy updates or take files that are none); a warning only tells the
// operator what will not work as meant. The worker and kvadrel-batch --check
// both judge a configuration here.
#pragma once

#include <string>
#include <vector>

#include "config/descriptors.h"
#include "engine/code_value_file.h"
#include "platform/files/folder_access.h"

struct TTypeProblem {
    enum class TLevel { Error, Warning };

    TLevel Level;
    std::string Text;  // UTF-8, without the type's name

    bool operator==(const TTypeProblem&) const = default;
};

struct TTypeProblems {
    const TDD* Type;
    std::vector<TTypeProblem> Problems;
};

// What the rules need to know besides the configuration: the object codes
// as loaded, what became of the code-value file, and the folders as the
// converter's user finds them.
struct TRuleContext {
    const CodeList& KodObjList;
    const TCodeValueFile& CodeValueFile;
    const platform::FolderAccessCheck& Folders = platform::FolderAccessCheck::System();
};

// The problems of one type, errors first.
std::vector<TTypeProblem> CheckType(const TDD& type, const TRuleContext& context);

// The problems of the conversion itself (its format, special products and
// fields), without the folder rules: what converting a file named by hand
// must heed.
std::vector<TTypeProblem> CheckConversion(const TDD& type, const TRuleContext& context);

// The problems of every type, in the configuration's order.
std::vector<TTypeProblems> CheckConfiguration(const TDL& config, const TRuleContext& context);
