#include "engine/table_work.h"

#include <iostream>

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
    } catch (...) {
        RemoveTemporary();
        throw;
    }
}

TTableWork::~TTableWork() {
    if (!inPlace_) {
        RemoveTemporary();
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
    inPlace_ = true;
    const bool separated = folder_.ends_with('/');
    return {folder_ + (separated ? "" : "/") + base_ + ".dbf", table_->RecordCount()};
}

// After a failure, which the caller reports.
void TTableWork::RemoveTemporary() {
    table_->TableName = base_ + ".tmp";
    try {
        table_->Close();
    } catch (const std::exception&) {
        // the write failure that brought us here is the one reported
    }
    try {
        if (table_->Exists()) {
            table_->DeleteTable();
        }
    } catch (const std::exception& error) {
        std::cerr << "cannot remove the incomplete table: " << error.what() << '\n';
    }
}
