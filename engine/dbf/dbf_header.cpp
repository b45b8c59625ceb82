#include "engine/dbf/dbf_header.h"

#include <stdexcept>

#include "platform/system/local_time.h"

namespace dbf {
namespace {

constexpr size_t kPrefixLength = 32;  // the table header before the descriptors
constexpr size_t kDescriptorLength = 32;
constexpr size_t kNameBytes = kMaxNameLength + 1;  // NUL-padded name field
constexpr size_t kTypeOffset = 11;
constexpr size_t kWidthOffset = 16;
constexpr size_t kDecimalsOffset = 17;
constexpr size_t kHeaderLengthOffset = 8;
constexpr size_t kRecordLengthOffset = 10;
constexpr size_t kLanguageDriverOffset = 29;
constexpr char kCharacterType = 'C';
constexpr int kYearBase = 1900;
constexpr size_t kStampLength = 7;  // year, month, day, 4-byte record count

uint8_t Byte(std::string_view bytes, size_t offset) {
    return static_cast<uint8_t>(bytes[offset]);
}

uint32_t Little(std::string_view bytes, size_t offset, size_t length) {
    uint32_t value = 0;
    for (size_t i = length; i-- > 0;) {
        value = value << 8 | Byte(bytes, offset + i);
    }
    return value;
}

void PutLittle(std::string& bytes, size_t offset, size_t length, uint32_t value) {
    for (size_t i = 0; i < length; ++i) {
        bytes[offset + i] = char(value >> (8 * i) & 0xFF);
    }
}

[[noreturn]] void Malformed(const std::string& source, const std::string& reason) {
    throw std::runtime_error(source + ": not a valid dBASE III table: " + reason);
}

FieldLayout DecodeDescriptor(std::string_view descriptor, size_t number,
                             const std::string& source) {
    const auto what = [&](const std::string& reason) {
        Malformed(source, "field " + std::to_string(number) + " " + reason);
    };
    const std::string_view nameBytes = descriptor.substr(0, kNameBytes);
    const size_t nameEnd = nameBytes.find('\0');
    if (nameEnd == std::string_view::npos) {
        what("has a name without a terminating NUL");
    }
    if (nameEnd == 0) {
        what("has an empty name");
    }
    if (descriptor[kTypeOffset] != kCharacterType) {
        what("is not a character field (type byte " +
             std::to_string(Byte(descriptor, kTypeOffset)) + ")");
    }
    const int width = Byte(descriptor, kWidthOffset);
    if (width == 0) {
        what("has width 0");
    }
    if (Byte(descriptor, kDecimalsOffset) != 0) {
        what("has a nonzero decimal count");
    }
    return {AnsiString(nameBytes.substr(0, nameEnd)), width};
}

}  // namespace

Date Today() {
    const platform::LocalTime now = platform::CurrentLocalTime();
    return {now.Year, now.Month, now.Day};
}

size_t Header::HeaderLength() const {
    return kPrefixLength + kDescriptorLength * fields.size() + 1;
}

size_t Header::RecordLength() const {
    size_t length = 1;
    for (const auto& field : fields) {
        length += size_t(field.width);
    }
    return length;
}

uint64_t Header::RecordsEnd() const {
    return HeaderLength() + uint64_t(recordCount) * RecordLength();
}

std::string EncodeStamp(const Header& header) {
    std::string stamp(kStampLength, '\0');
    stamp[0] = char(header.lastUpdate.year - kYearBase);
    stamp[1] = char(header.lastUpdate.month);
    stamp[2] = char(header.lastUpdate.day);
    PutLittle(stamp, 3, 4, header.recordCount);
    return stamp;
}

std::string EncodeHeader(const Header& header) {
    std::string bytes(header.HeaderLength(), '\0');
    bytes[0] = char(kVersion);
    bytes.replace(kStampOffset, kStampLength, EncodeStamp(header));
    PutLittle(bytes, kHeaderLengthOffset, 2, uint32_t(header.HeaderLength()));
    PutLittle(bytes, kRecordLengthOffset, 2, uint32_t(header.RecordLength()));
    bytes[kLanguageDriverOffset] = char(header.languageDriver);
    size_t offset = kPrefixLength;
    for (const auto& field : header.fields) {
        bytes.replace(offset, field.name.size(), field.name);
        bytes[offset + kTypeOffset] = kCharacterType;
        bytes[offset + kWidthOffset] = char(field.width);
        offset += kDescriptorLength;
    }
    bytes[offset] = kHeaderTerminator;
    return bytes;
}

Header DecodeTableStart(std::string_view start, uint64_t fileSize, const std::string& source) {
    if (start.size() < kPrefixLength) {
        Malformed(source, "shorter than the 32-byte table header");
    }
    if (Byte(start, 0) != kVersion) {
        Malformed(source, "version byte is " + std::to_string(Byte(start, 0)) + ", not 3");
    }
    const size_t length = Little(start, kHeaderLengthOffset, 2);
    if (length < kPrefixLength + kDescriptorLength + 1 ||
        (length - kPrefixLength - 1) % kDescriptorLength != 0) {
        Malformed(source, "header length " + std::to_string(length) +
                              " is not 32 + 32 x fields + 1 for one field or more");
    }
    if (start.size() < length) {
        Malformed(source, "the file ends inside the header");
    }
    Header header;
    header.lastUpdate = {kYearBase + Byte(start, 1), Byte(start, 2), Byte(start, 3)};
    header.recordCount = Little(start, 4, 4);
    header.languageDriver = Byte(start, kLanguageDriverOffset);
    const size_t fieldCount = (length - kPrefixLength - 1) / kDescriptorLength;
    for (size_t i = 0; i < fieldCount; ++i) {
        header.fields.push_back(DecodeDescriptor(
            start.substr(kPrefixLength + i * kDescriptorLength, kDescriptorLength), i + 1, source));
    }
    if (start[length - 1] != kHeaderTerminator) {
        Malformed(source, "the field descriptors do not end with 0x0D");
    }
    const size_t recordLength = Little(start, kRecordLengthOffset, 2);
    if (recordLength != header.RecordLength()) {
        Malformed(source, "record length " + std::to_string(recordLength) +
                              " differs from 1 + the field widths (" +
                              std::to_string(header.RecordLength()) + ")");
    }
    if (fileSize < header.RecordsEnd()) {
        Malformed(source, "the file holds fewer records than its header counts");
    }
    return header;
}

AnsiString UpperCaseName(std::string_view name) {
    return platform::UpperCase1251(name);
}

std::string_view WithoutTrailingBlanks(std::string_view value) {
    const size_t end = value.find_last_not_of(' ');
    return value.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

}  // namespace dbf
