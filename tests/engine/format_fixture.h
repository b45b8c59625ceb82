// A fixture for the worker's format steps, run on this thread by a worker
// whose own run (with an empty configuration) has already ended.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "engine/dbf/dbf_table.h"
#include "engine/delta.h"
#include "tests/engine/worker_fixture.h"
#include "tests/line_lists.h"

using Rows = std::vector<std::vector<AnsiString>>;

// `Status` records what the worker shows: RecordingStatus or a kind of it.
template <typename Status>
class FormatFixture : public ::testing::Test {
  protected:
    // A fill step of one format: the lines as rows of the open table.
    using FillStep = void (TDelta::*)(TTable&, const platform::LineList&, const TDD&);

    FormatFixture() : worker_(status_, status_, workspace_.Settings()) { worker_.WaitFor(); }

    // Fills a new table with the type's fields from the lines and reads it
    // back, values without their padding.
    Rows Fill(FillStep step, const Lines& lines, const TDD& type) {
        TTable table;
        table.DatabaseName = workspace_.OutFolder();
        table.TableName = "t.dbf";
        for (const TDF* field = type.First; field != nullptr; field = field->Next) {
            table.FieldDefs.Add(field->Name, ftString, field->Size, false);
        }
        table.CreateTable();
        table.Open();
        (worker_.*step)(table, ToLineList(lines), type);
        table.Close();
        const DbfContents contents = ReadDbf(workspace_.Out() / "t.dbf");
        std::filesystem::remove(workspace_.Out() / "t.dbf");
        Rows rows(contents.rows.size());
        for (size_t row = 0; row < rows.size(); ++row) {
            for (size_t field = 0; field < contents.fields.size(); ++field) {
                rows[row].push_back(contents.Value(row, field));
            }
        }
        return rows;
    }

    WorkerWorkspace workspace_;
    Status status_;
    TDelta worker_;
};
