#include "engine/dbf/dbf_table.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "platform/files/native_path.h"

namespace {

// Records are written in blocks of this size: a million records cost a few
// hundred system calls.
constexpr size_t kBufferSize = size_t(1) << 20;
// The longest record a header can describe fits in the buffer with the end marker.
static_assert(kBufferSize > 1 + dbf::kMaxHeaderLength / 32 * dbf::kMaxWidth + 1);
// RecordCount is an int.
constexpr uint32_t kMaxRecords = INT32_MAX;

std::string Quoted(const std::filesystem::path& path) {
    std::string quoted = path.string();  // not "'" + ...: GCC 12 warns falsely at -O3
    quoted.insert(quoted.begin(), '\'');
    quoted += '\'';
    return quoted;
}

// Runs a step of the file system on a table, naming the table and the step
// in its failure.
template <typename Step>
auto OnTable(const char* action, const std::filesystem::path& path, Step step) {
    try {
        return step();
    } catch (const std::system_error& error) {
        throw std::system_error(error.code(),
                                std::string("cannot ") + action + " table " + Quoted(path));
    }
}

// Removes a table that could not be written completely; the caller is
// already reporting why. Gives what to add to that reason: nothing, or why
// the table stays.
std::string RemoveIncomplete(platform::FileSystem& files, const std::filesystem::path& path) {
    try {
        files.Remove(path);
        return "";
    } catch (const std::exception& error) {
        return "; cannot remove the incomplete table " + Quoted(path) + ": " + error.what();
    }
}

}  // namespace

TField::TField(TTable& table, const dbf::FieldLayout& layout, size_t offset)
    : table_(&table),
      name_(platform::Cp1251ToUtf16(layout.name)),
      key_(layout.name),
      offset_(offset),
      size_(size_t(layout.width)) {}

AnsiString TField::AsString() const {
    const char* value = table_->InsertedRecord(*this) + offset_;
    return AnsiString(dbf::WithoutTrailingBlanks(std::string_view(value, size_)));
}

void TField::SetAsString(std::string_view value) {
    char* stored = table_->InsertedRecord(*this) + offset_;
    // Not memcpy: an empty view (an item the line lacks) may have no data at all.
    const size_t kept = value.copy(stored, size_);
    std::memset(stored + kept, ' ', size_ - kept);
}

// A destructor has no one to tell of a failure: whoever has to know closes
// the table first (as the table work does), and this close is the last resort
// for a table left open, its failure unheard.
TTable::~TTable() {
    try {
        Close();
    } catch (const std::exception&) {
    }
}

std::filesystem::path TTable::Path(const AnsiString& tableName) const {
    if (DatabaseName.empty()) {
        throw std::runtime_error("no directory given for table '" +
                                 platform::Cp1251ToUtf8(tableName) + "'");
    }
    if (tableName.empty() || tableName == "." || tableName == ".." ||
        platform::FolderEnd(tableName) != AnsiString::npos) {
        throw std::runtime_error("'" + platform::Cp1251ToUtf8(tableName) +
                                 "' is not a file name for a table");
    }
    return platform::NativePath(DatabaseName) / platform::NativePath(tableName);
}

void TTable::RequireClosed(const char* operation) const {
    if (Active()) {
        throw std::runtime_error(std::string("cannot ") + operation + " table '" +
                                 platform::Cp1251ToUtf8(TableName) + "' while it is open");
    }
}

void TTable::RequireOpen(const char* operation) const {
    if (!Active()) {
        throw std::runtime_error(std::string("cannot ") + operation + " table '" +
                                 platform::Cp1251ToUtf8(TableName) + "': it is not open");
    }
}

bool TTable::Exists() const {
    const auto path = Path(TableName);
    return OnTable("examine", path, [&] { return Files->Status(path).has_value(); });
}

void TTable::DeleteTable() {
    RequireClosed("delete");
    const auto path = Path(TableName);
    OnTable("delete", path, [&] { Files->Remove(path); });
}

void TTable::CreateTable() {
    RequireClosed("create");
    const auto path = Path(TableName);
    dbf::Header header;
    try {
        header.fields = FieldDefs.Layout();
    } catch (const std::runtime_error& error) {
        throw std::runtime_error("cannot create table " + Quoted(path) + ": " + error.what());
    }
    header.lastUpdate = dbf::Today();
    auto file = OnTable("create", path, [&] { return dbf::TableFile::CreateNew(*Files, path); });
    try {
        file.WriteAt(dbf::EncodeHeader(header) + dbf::kEndOfFile, 0);
        file.Close();
    } catch (const std::exception& error) {
        const std::string trouble = RemoveIncomplete(*Files, path);
        if (trouble.empty()) {
            throw;
        }
        throw std::runtime_error(error.what() + trouble);
    }
}

void TTable::RenameTable(const AnsiString& newTableName) {
    RequireClosed("rename");
    const auto from = Path(TableName);
    const auto to = Path(newTableName);
    const std::string what = "cannot rename table " + Quoted(from) + " to " + Quoted(to);
    bool renamed = false;
    try {
        renamed = Files->Rename(from, to);
    } catch (const std::system_error& error) {
        throw std::system_error(error.code(), what);
    }
    if (!renamed) {
        throw std::system_error(std::make_error_code(std::errc::file_exists), what);
    }
    Files->FlushFolder(from.parent_path());
    TableName = newTableName;
}

void TTable::Open() {
    if (Active()) {
        return;
    }
    const auto path = Path(TableName);
    auto file = OnTable("open", path, [&] { return dbf::TableFile::OpenExisting(*Files, path); });
    const std::string source = file.Path().string();
    dbf::Header header = dbf::DecodeTableStart(file.ReadUpTo(dbf::kMaxHeaderLength, 0),
                                               uint64_t(file.Size()), source);
    if (header.recordCount > kMaxRecords) {
        throw std::runtime_error(source + ": more records than a table may hold");
    }
    header_ = std::move(header);
    recordLength_ = header_.RecordLength();
    fields_.clear();
    size_t offset = 1;  // after the deletion flag
    for (const auto& layout : header_.fields) {
        fields_.push_back(TField(*this, layout, offset));
        offset += size_t(layout.width);
    }
    if (buffer_ == nullptr) {
        buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    }
    buffered_ = 0;
    bufferOffset_ = header_.RecordsEnd();
    inserting_ = false;
    file_.emplace(std::move(file));
}

void TTable::Close() {
    if (!Active()) {
        return;
    }
    inserting_ = false;
    fields_.clear();
    try {
        Reserve(1);
        buffer_[buffered_++] = dbf::kEndOfFile;
        const uint64_t end = bufferOffset_ + buffered_;
        WriteBuffer();
        header_.lastUpdate = dbf::Today();
        file_->WriteAt(dbf::EncodeStamp(header_), dbf::kStampOffset);
        file_->Truncate(end);
        file_->Flush();
        file_->Close();
    } catch (...) {
        file_.reset();
        throw;
    }
    file_.reset();
}

void TTable::Discard() {
    inserting_ = false;
    fields_.clear();
    file_.reset();
}

void TTable::Insert() {
    RequireOpen("insert into");
    if (inserting_) {
        throw std::runtime_error("table '" + file_->Path().string() +
                                 "': a record is being inserted already");
    }
    Reserve(recordLength_);
    std::memset(&buffer_[buffered_], ' ', recordLength_);  // live record, blank values
    inserting_ = true;
}

TField& TTable::FieldByName(std::u16string_view name) {
    return RequireField(dbf::UpperCaseName(platform::Utf16ToCp1251(name)),
                        platform::Utf16ToUtf8(name));
}

TField& TTable::FieldByName(const AnsiString& name) {
    return RequireField(dbf::UpperCaseName(name), platform::Cp1251ToUtf8(name));
}

TField* TTable::FindField(const AnsiString& name) {
    return FieldWithKey(dbf::UpperCaseName(name));
}

TField* TTable::FieldWithKey(const AnsiString& key) {
    RequireOpen("look up a field of");
    for (auto& field : fields_) {
        if (field.key_ == key) {
            return &field;
        }
    }
    return nullptr;
}

TField& TTable::RequireField(const AnsiString& key, const std::string& shownName) {
    if (TField* field = FieldWithKey(key)) {
        return *field;
    }
    throw std::runtime_error("Field '" + shownName + "' not found");
}

void TTable::Post() {
    if (!inserting_) {
        throw std::runtime_error("table '" + platform::Cp1251ToUtf8(TableName) +
                                 "': no record is being inserted");
    }
    if (header_.recordCount == kMaxRecords) {
        throw std::runtime_error("table '" + file_->Path().string() + "' is full");
    }
    buffered_ += recordLength_;
    ++header_.recordCount;
    inserting_ = false;
}

void TTable::Cancel() {
    inserting_ = false;
}

char* TTable::InsertedRecord(const TField& field) {
    if (!inserting_) {
        throw std::runtime_error("Field '" + platform::Cp1251ToUtf8(field.key_) +
                                 "': no record is being inserted");
    }
    return &buffer_[buffered_];
}

void TTable::Reserve(size_t length) {
    if (kBufferSize - buffered_ < length) {
        WriteBuffer();
    }
}

void TTable::WriteBuffer() {
    file_->WriteAt(std::string_view(buffer_.get(), buffered_), bufferOffset_);
    bufferOffset_ += buffered_;
    buffered_ = 0;
}
