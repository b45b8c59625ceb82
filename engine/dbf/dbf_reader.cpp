#include "engine/dbf/dbf_reader.h"

#include <stdexcept>

#include "platform/files/whole_file.h"

AnsiString DbfContents::Value(size_t row, size_t field) const {
    return AnsiString(dbf::WithoutTrailingBlanks(rows.at(row).at(field)));
}

DbfContents ReadDbf(const std::filesystem::path& path) {
    return DecodeDbf(platform::ReadWholeFile(path), path.string());
}

DbfContents DecodeDbf(std::string_view bytes, const std::string& source) {
    const dbf::Header header =
        dbf::DecodeTableStart(bytes.substr(0, dbf::kMaxHeaderLength), bytes.size(), source);
    const size_t headerLength = header.HeaderLength();
    const size_t recordLength = header.RecordLength();
    const size_t recordsEnd = header.RecordsEnd();
    const std::string_view trailer = bytes.substr(recordsEnd);
    if (!trailer.empty() && trailer != std::string_view(&dbf::kEndOfFile, 1)) {
        throw std::runtime_error(source + ": unexpected bytes after the records");
    }

    DbfContents contents;
    contents.languageDriver = header.languageDriver;
    contents.lastUpdate = header.lastUpdate;
    for (const auto& field : header.fields) {
        contents.fields.push_back({field.name, field.width});
    }
    for (size_t offset = headerLength; offset < recordsEnd; offset += recordLength) {
        const char flag = bytes[offset];
        if (flag == dbf::kDeletedRecord) {
            continue;
        }
        if (flag != dbf::kLiveRecord) {
            throw std::runtime_error(source + ": record " +
                                     std::to_string((offset - headerLength) / recordLength + 1) +
                                     " has an unknown deletion flag");
        }
        auto& row = contents.rows.emplace_back();
        size_t position = offset + 1;
        for (const auto& field : header.fields) {
            row.emplace_back(bytes.substr(position, size_t(field.width)));
            position += size_t(field.width);
        }
    }
    return contents;
}
