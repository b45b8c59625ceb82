#include "engine/table_work.h"

#include <stdexcept>

#include "engine/type_field_defs.h"

AnsiString BaseName(const AnsiString& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == AnsiString::npos ? fileName : fileName.substr(0, dot);
}

TTableWork::TTableWork(const TSession& session, const TDD& type, const AnsiString& folder,
                       const AnsiString& fileName, platform::FileSystem& files)
    : folder_(folder),
      base_(BaseName(fileName)),
      database_(std::make_unique<TDatabase>()),
      table_(std::make_unique<TTable>()) {
    database_->DatabaseName = folder;
    database_->SessionName = session.SessionName;
    database_->LoginPrompt = false;
    database_->KeepConnection = false;
    database_->Files = &files;
    table_->SessionName = session.SessionName;
    table_->Files = &files;

    database_->Open();
    table_->DatabaseName = folder;
    table_->TableType = ttDBase;
    table_->TableName = base_ + ".tmp";
    if (table_->Exists()) {
        table_->DeleteTable();  // a leftover of an earlier attempt
    }
    table_->FieldDefs = TypeFieldDefs(type);
    table_->CreateTable();
    try {
        table_->Open();
    } catch (const std::exception& error) {
        const std::string trouble = RemoveTemporary();
        if (trouble.empty()) {
            throw;
        }
        throw std::runtime_error(error.what() + trouble);
    }
}

TTableWork::~TTableWork() {
    if (!done_) {
        RemoveTemporary();  // what it gives has nowhere to go
    }
}

TTableWorkResult TTableWork::Write(const std::function<void(TTable& table)>& fill) {
    try {
        fill(*table_);
        return PutInPlace();
    } catch (const std::exception& error) {
        done_ = true;
        const std::string trouble = RemoveTemporary();
        if (trouble.empty()) {
            throw;
        }
        throw std::runtime_error(error.what() + trouble);
    }
}

TTableWorkResult TTableWork::PutInPlace() {
    table_->Close();
    table_->TableName = base_ + ".dbf";
    if (table_->Exists()) {
        table_->DeleteTable();
    }
    table_->TableName = base_ + ".tmp";
    table_->RenameTable(base_ + ".dbf");
    done_ = true;
    const bool separated = folder_.ends_with('/');
    return {folder_ + (separated ? "" : "/") + base_ + ".dbf", table_->RecordCount()};
}

std::string TTableWork::RemoveTemporary() {
    table_->TableName = base_ + ".tmp";
    // Nothing of it is kept: no write or flush delays the removal, nor the
    // release of a source another program waits for.
    table_->Discard();
    try {
        if (table_->Exists()) {
            table_->DeleteTable();
        }
        return "";
    } catch (const std::exception& error) {
        return std::string("; cannot remove the incomplete table: ") + error.what();
    }
}
