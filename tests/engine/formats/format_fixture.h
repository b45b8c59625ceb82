// A fixture for the steps of the formats: the code values they read, the
// name of the file in work, a progress that records the line reports, and
// tables made in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "engine/dbf/dbf_table.h"
#include "engine/formats/record_format.h"
#include "tests/line_lists.h"
#include "tests/temp_directory.h"

using Rows = std::vector<std::vector<AnsiString>>;

// Records the line reports, the stop questions and the questions whether
// the file is wanted. It answers that a stop is requested once `stop` is set,
// or once it was given the percentage `stopAt`; and that another program
// wants the file once it was given the percentage `wantedAt`.
class RecordingProgress : public TFormatProgress {
  public:
    void Report(const AnsiString& text, int32_t percent) override {
        texts.push_back(text);
        percents.push_back(percent);
        stop = stop || percent == stopAt;
        wanted = wanted || percent == wantedAt;
    }
    bool StopRequested() override {
        ++stopQuestions;
        return stop;
    }
    bool SourceWanted() override {
        ++wantedQuestions;
        return wanted;
    }

    std::vector<AnsiString> texts;
    std::vector<int32_t> percents;
    int stopQuestions = 0;
    int wantedQuestions = 0;
    bool stop = false;
    bool wanted = false;
    int32_t stopAt = -1;
    int32_t wantedAt = -1;
};

class FormatFixture : public ::testing::Test {
  protected:
    TFormatContext Context() { return {kodObjList_, tipZnakList_, moscow_, fileName_, progress_}; }

    // The lines as the format's decode step leaves them.
    Lines Decode(const TRecordFormat& format, const Lines& lines, const AnsiString& ident) {
        platform::LineList list = ToLineList(lines);
        format.Decode(list, ident, Context());
        return ToLines(list);
    }

    // The table for the type's fields, created and open, in the fixture's folder.
    void CreateTable(TTable& table, const TDD& type, const AnsiString& name) const {
        table.DatabaseName = platform::Utf8ToCp1251(folder_.path().string() + "/");
        table.TableName = name;
        for (const TDF* field = type.First; field != nullptr; field = field->Next) {
            table.FieldDefs.Add(field->Name, ftString, field->Size, false);
        }
        table.CreateTable();
    }

    // Fills a new table with the type's fields from the lines and reads it
    // back, values without their padding.
    Rows Fill(const TRecordFormat& format, const Lines& lines, const TDD& type) {
        TTable table;
        CreateTable(table, type, "t.dbf");
        table.Open();
        format.Fill(table, ToLineList(lines), type, Context());
        table.Close();
        const DbfContents contents = ReadDbf(folder_.path() / "t.dbf");
        std::filesystem::remove(folder_.path() / "t.dbf");
        Rows rows(contents.rows.size());
        for (size_t row = 0; row < rows.size(); ++row) {
            for (size_t field = 0; field < contents.fields.size(); ++field) {
                rows[row].push_back(contents.Value(row, field));
            }
        }
        return rows;
    }

    TempDirectory folder_;
    CodeList kodObjList_;
    CodeList tipZnakList_;
    TMoscowConstants moscow_;
    AnsiString fileName_ = "f.txt";
    RecordingProgress progress_;
};
