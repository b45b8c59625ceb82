// The table of transport formats says which special-products roles each
// format's fill step reads; these tests hold the fill steps to it.
#include <gtest/gtest.h>

#include <iterator>

#include "config/transport_format.h"
#include "tests/engine/formats/format_fixture.h"

namespace {

// The five roles, each with the member of TDD that names its field.
struct Role {
    const char* name;
    bool TSpecialRoles::*read;
    AnsiString TDD::*field;
};

constexpr Role kRoles[] = {
    {"Beg", &TSpecialRoles::Beg, &TDD::Beg},
    {"End", &TSpecialRoles::End, &TDD::End},
    {"KodObj", &TSpecialRoles::KodObj, &TDD::KodObj},
    {"Ceria", &TSpecialRoles::Ceria, &TDD::Ceria},
    {"TipZnak", &TSpecialRoles::TipZnak, &TDD::TipZnak},
};

// One record of each format, its five fields of width 4 holding object code
// K, sign type T, region C, start 1 and end 2, at these codes (items of the
// numbered-code format) or columns (Moscow-region).
struct Record {
    int32_t codec;
    const char* line;  // as the decode step leaves it
    int codes[5];
};

constexpr Record kRecords[] = {
    {0, "/1=K/2=T/3=C/4=1/5=2", {1, 2, 3, 4, 5}},
    {1, "K   T   C   1   2   ", {1, 5, 9, 13, 17}},
};

// Gives a special-products type the record's five fields, named by the roles.
void AddRoleFields(TDD& type, const Record& record) {
    const char* names[] = {"KOD", "TIP", "CER", "BEG", "END"};
    for (size_t i = 0; i < 5; ++i) {
        type.Add(names[i], 4, record.codes[i], record.codes[i]);
    }
    type.SpecProd = true;
    type.KodObj = "KOD";
    type.TipZnak = "TIP";
    type.Ceria = "CER";
    type.Beg = "BEG";
    type.End = "END";
}

using FillRolesTest = FormatFixture;

// A role that the fill reads changes the rows when its field is missing from
// the table; a role it does not read changes nothing.
TEST_F(FillRolesTest, EachFormatReadsTheRolesItsRowNames) {
    ASSERT_EQ(std::size(kRecords), kTransportFormatCount);
    // The object code is taken; the sign type is not kept as it is, so the
    // numbered-code format appends the region to the numbers.
    kodObjList_ = {"K"};
    for (const Record& record : kRecords) {
        const TTransportFormat& format = TransportFormatOf(record.codec);
        TDD type("t", record.codec, "");
        AddRoleFields(type, record);
        const TRecordFormat& steps = RecordFormatOf(record.codec);
        const Rows all = Fill(steps, {record.line}, type);
        ASSERT_EQ(all.size(), 1u) << format.Name;
        for (const Role& role : kRoles) {
            const AnsiString kept = type.*role.field;
            type.*role.field = "NONE";  // a field the table does not have
            const Rows without = Fill(steps, {record.line}, type);
            type.*role.field = kept;
            EXPECT_EQ(without != all, format.FillRoles.*role.read)
                << format.Name << " format, role " << role.name;
        }
    }
}

}  // namespace
