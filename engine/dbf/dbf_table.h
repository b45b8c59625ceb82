// A dBASE III table in a target directory, written directly: created with
// its character fields, filled record by record through a large write
// buffer, closed with its record count, renamed and deleted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dbf/dbf_database.h"
#include "engine/dbf/dbf_field_defs.h"
#include "engine/dbf/dbf_file.h"
#include "engine/dbf/dbf_header.h"

enum TTableType { ttDBase };

class TTable;

// One character field of an open table; its value is that of the record
// being inserted.
class TField {
  public:
    const std::u16string& FieldName() const { return name_; }  // as stored: upper case
    int Size() const { return int(size_); }
    // The value without the blanks that pad it to the width.
    AnsiString AsString() const;
    // Stores the Windows-1251 bytes, cut to the width without an error.
    void SetAsString(std::string_view value);

  private:
    friend class TTable;
    TField(TTable& table, const dbf::FieldLayout& layout, size_t offset);

    TTable* table_;
    std::u16string name_;
    AnsiString key_;  // the stored name, compared with upper-cased names
    size_t offset_;   // within the record
    size_t size_;
};

class TTable {
  public:
    TTable() = default;
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;
    // Closes an open table, silent about a failure: Close() first to hear it.
    ~TTable();

    AnsiString SessionName;
    AnsiString DatabaseName;  // the directory, with or without a final '/'
    AnsiString TableName;     // file name within the directory
    TTableType TableType = ttDBase;
    TFieldDefs FieldDefs;
    // Every file operation goes through this one (tests give their own).
    platform::FileSystem* Files = &platform::SystemFileSystem();

    // Whether DatabaseName holds an entry named TableName (a link included).
    bool Exists() const;
    // Removes the closed table's file (a link itself, never its target).
    void DeleteTable();
    // Writes a new empty table with FieldDefs; refuses a field list that
    // breaks the field rules, and a name that exists already, writing nothing.
    // A table that cannot be written whole is removed; when that fails too,
    // the reason thrown says so.
    void CreateTable();
    // Renames the closed table within its directory, refusing to replace an
    // existing file, and flushes the directory; TableName becomes the new name.
    void RenameTable(const AnsiString& newTableName);

    // Opens the table to append records; opening an open table does nothing.
    void Open();
    // Drops a record not posted, writes the records, the end marker and the
    // count, flushes the file to the disk and closes it. Does nothing when
    // the table is closed.
    void Close();
    // Closes the table without writing what is buffered, the count or the
    // end marker, and without a flush: for a table removed next, which
    // nothing needs on the disk. Does nothing when the table is closed.
    void Discard();
    bool Active() const { return file_.has_value(); }

    // Starts a new record with every field blank.
    void Insert();
    // Case-insensitive; throws std::runtime_error "Field 'X' not found". The
    // field stays valid until the table is closed.
    TField& FieldByName(std::u16string_view name);
    TField& FieldByName(const AnsiString& name);
    // The same, but null when the table has no field of that name: a name
    // that is not a field is then no error yet.
    TField* FindField(const AnsiString& name);
    // Appends the record being inserted.
    void Post();
    // Drops the record being inserted, if any.
    void Cancel();
    int RecordCount() const { return int(header_.recordCount); }

  private:
    friend class TField;

    std::filesystem::path Path(const AnsiString& tableName) const;
    void RequireClosed(const char* operation) const;
    void RequireOpen(const char* operation) const;
    char* InsertedRecord(const TField& field);
    // The field stored under `key` (an upper-cased name), or null.
    TField* FieldWithKey(const AnsiString& key);
    TField& RequireField(const AnsiString& key, const std::string& shownName);
    // Makes room for `length` bytes in the write buffer.
    void Reserve(size_t length);
    void WriteBuffer();

    std::optional<dbf::TableFile> file_;
    dbf::Header header_;
    size_t recordLength_ = 0;
    std::vector<TField> fields_;
    // Records not yet written, the next one being inserted. Left uncleared:
    // every byte is written before it is used, and a small table touches
    // only the little of it that it needs.
    std::unique_ptr<char[]> buffer_;
    size_t buffered_ = 0;
    uint64_t bufferOffset_ = 0;  // where the buffer goes in the file
    bool inserting_ = false;
};
