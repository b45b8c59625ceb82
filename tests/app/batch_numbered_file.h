// A large numbered-code update file of generated records, and the table it
// must become: record i is /01=<i in 7 digits>/02=<owner> i/03=<city>, in the
// group АМТ, written in DOS-866 with CRLF line ends.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch_workspace.h"
#include "config/descriptors.h"
#include "engine/dbf/dbf_reader.h"

class NumberedFile {
  public:
    // The fields of the table, on `type`.
    static void AddFields(TDD& type) {
        type.Add("NOMER", kWidths[0], 1, 1);
        type.Add(platform::Utf8ToCp1251("ВЛАДЕЛЕЦ"), kWidths[1], 2, 2);
        type.Add(platform::Utf8ToCp1251("ГОРОД"), kWidths[2], 3, 3);
    }

    static void Write(const std::filesystem::path& path, int records) {
        const Words dos(ToDos866);
        std::string text = ToDos866("&АМТ") + "\r\n";
        text.reserve(size_t(records) * 48);
        for (int i = 0; i < records; ++i) {
            text.append("/01=").append(Number(i)).append("/02=").append(dos.Owner(i));
            text.append(" ").append(std::to_string(i)).append("/03=").append(dos.City(i));
            text.append("\r\n");
        }
        std::ofstream(path, std::ios::binary) << text;
    }

    // The size of the complete table of `records` records.
    static uintmax_t TableSize(int records) {
        const uintmax_t recordLength = 1 + kWidths[0] + kWidths[1] + kWidths[2];
        return 32 + 32 * kWidths.size() + 1 + uintmax_t(records) * recordLength + 1;
    }

    // Checks that `table` is the complete table of `records` records.
    static void ExpectTable(const DbfContents& table, int records) {
        ASSERT_EQ(table.fields.size(), kWidths.size());
        ASSERT_EQ(table.rows.size(), size_t(records));
        const Words windows(platform::Utf8ToCp1251);
        for (int i = 0; i < records; ++i) {
            const AnsiString expected[] = {Number(i), windows.Owner(i) + " " + std::to_string(i),
                                           windows.City(i).substr(0, size_t(kWidths[2]))};
            for (size_t field = 0; field < kWidths.size(); ++field) {
                ASSERT_EQ(table.Value(size_t(i), field), expected[field])
                    << "record " << i << ", field " << field;
            }
        }
    }

  private:
    static constexpr std::array<int, 3> kWidths{7, 20, 12};

    static std::string Number(int i) {
        char text[16];
        std::snprintf(text, sizeof text, "%07d", i);
        return text;
    }

    // The owners and cities of the records in one encoding. Some cities are
    // longer than their field: the table keeps their start.
    class Words {
      public:
        explicit Words(std::string (*encode)(std::string_view)) {
            for (const char* owner : {"Иванов", "Петрова", "ООО Ромашка", "Сидоренко"}) {
                owners_.push_back(encode(owner));
            }
            for (const char* city : {"Москва", "Санкт-Петербург", "Тверь"}) {
                cities_.push_back(encode(city));
            }
        }
        const std::string& Owner(int i) const { return owners_[size_t(i) % owners_.size()]; }
        const std::string& City(int i) const { return cities_[size_t(i) % cities_.size()]; }

      private:
        std::vector<std::string> owners_;
        std::vector<std::string> cities_;
    };
};
