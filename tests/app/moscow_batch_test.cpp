// A Moscow-region update file converted end to end by the built kvadrel-batch
// and read back by an independent dBASE reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch_workspace.h"
#include "platform/text/codepage.h"
#include "tests/engine/dbf/read_dbf.h"
#include "tests/engine/formats/moscow_scrambler.h"

namespace fs = std::filesystem;

namespace {

AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

TEST(MoscowBatch, AFileBecomesATableThatAnIndependentReaderReads) {
    const BatchWorkspace ws;
    TDL config;
    TDD* type = ws.AddType(config, Win("Москва"), 1, "R_AMT");
    type->SpecProd = true;
    type->KodObj = Win("КОД");
    // Columns: object code 7-8, number 10-16, owner 18-29, date 30-39.
    type->Add(Win("КОД"), 2, 7, 0);
    type->Add(Win("НОМЕР"), 7, 10, 0);
    type->Add(Win("ВЛАДЕЛЕЦ"), 12, 18, 0);
    type->Add(Win("ДАТА"), 10, 30, 0);
    ws.Save(config);
    ws.WriteIni("[CodeValue]\nKodObj=01;02\n");

    std::string source;
    for (const char* record : {
             "R_AMT 01 0012345 ООО Ландыш  01.02.2020",
             "R_XYZ 01 9999999 ЧУЖАЯ ЗАПИСЬ",
             "R_AMT 03 0012346 Не наш объект",
             "R_AMT 02 0012347 Ёжиков Пётр .  .",
         }) {
        source += moscow_scrambler::Scramble(Win(record)) + "\r\n";
    }
    ws.Write("in/msk-0001.txt", source);

    const BatchWorkspace::Run batch = ws.RunOnce();
    ASSERT_EQ(batch.status, 0) << batch.output << batch.errors;
    EXPECT_EQ(batch.output, ws.Converted("msk-0001.txt", "msk-0001.dbf", 2));
    EXPECT_EQ(batch.errors, "");
    EXPECT_FALSE(fs::exists(ws.In() / "msk-0001.txt"));

    EXPECT_EQ(ReadWithDbfread(ws.Out() / "msk-0001.dbf"),
              R"({"version": 3, "encoding": "cp1251", "records": 2, )"
              R"("fields": [["КОД", 2], ["НОМЕР", 7], ["ВЛАДЕЛЕЦ", 12], ["ДАТА", 10]], )"
              R"("rows": [["01", "0012345", "ООО Ландыш", "01.02.2020"], )"
              R"(["02", "0012347", "Ёжиков Пётр", ""]]})"
              "\n");
}

}  // namespace
