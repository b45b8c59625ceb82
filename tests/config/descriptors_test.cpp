#include "config/descriptors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A field that records its destruction, to check the order lists destroy in.
std::vector<std::u16string>* destroyed = nullptr;

class TracedField : public TDF {
  public:
    explicit TracedField(const AnsiString& name) : TDF(name, 10, 1, 1) {}
    ~TracedField() override { destroyed->push_back(Name); }
};

class TracedType : public TDD {
  public:
    explicit TracedType(const AnsiString& name) : TDD(name, 0, "") {}
    ~TracedType() override { destroyed->push_back(platform::Cp1251ToUtf16(Name)); }
};

std::vector<const TDF*> Walk(const TDD& list) {
    std::vector<const TDF*> items;
    for (const TDF* item = list.First; item != nullptr; item = item->Next) {
        items.push_back(item);
    }
    return items;
}

TEST(ItemList, NewListIsEmptyAndClearsToNothing) {
    TDD type("t", -1, "");
    EXPECT_EQ(type.Count, 0);
    EXPECT_EQ(type.First, nullptr);
    EXPECT_EQ(type.Last, nullptr);
    type.Clear(true);
    EXPECT_EQ(type.Count, 0);
    EXPECT_EQ(type.Add(static_cast<TDF*>(nullptr)), nullptr);
    EXPECT_EQ(type.Count, 0);
}

TEST(ItemList, RemovingTheMiddleItemRelinksItsNeighbours) {
    TDD type("t", -1, "");
    TDF* a = type.Add("A", 1, 1, 1);
    TDF* b = type.Add("B", 1, 1, 1);
    TDF* c = type.Add("C", 1, 1, 1);
    EXPECT_EQ(Walk(type), (std::vector<const TDF*>{a, b, c}));

    delete type.Remove(b);
    EXPECT_EQ(type.First, a);
    EXPECT_EQ(type.Last, c);
    EXPECT_EQ(type.Count, 2);
    EXPECT_EQ(a->Next, c);
    EXPECT_EQ(c->Prev, a);
    EXPECT_EQ(a->Prev, nullptr);
    EXPECT_EQ(c->Next, nullptr);
}

TEST(ItemList, RemovingTheOnlyItemEmptiesTheList) {
    TDD type("t", -1, "");
    TDF* only = type.Add("A", 1, 1, 1);
    delete type.Remove(only);
    EXPECT_EQ(type.First, nullptr);
    EXPECT_EQ(type.Last, nullptr);
    EXPECT_EQ(type.Count, 0);
}

TEST(ItemList, ClearDestroysFromTheChosenEnd) {
    std::vector<std::u16string> order;
    destroyed = &order;
    TDD type("t", -1, "");
    for (const char* name : {"A", "B", "C"}) {
        type.Add(new TracedField(name));
    }
    type.Clear(false);
    EXPECT_EQ(order, (std::vector<std::u16string>{u"A", u"B", u"C"}));
    EXPECT_EQ(type.Count, 0);
    destroyed = nullptr;
}

TEST(ItemList, DestroyingTheConfigurationGoesFromLastToFirstAtBothLevels) {
    std::vector<std::u16string> order;
    destroyed = &order;
    {
        TDL list;
        for (const char* typeName : {"T1", "T2"}) {
            TDD* type = list.Add(new TracedType(typeName));
            for (const char* fieldName : {"F1", "F2"}) {
                type->Add(new TracedField(AnsiString(typeName) + fieldName));
            }
        }
    }
    // A type's own destructor body runs before its field list is destroyed.
    EXPECT_EQ(order,
              (std::vector<std::u16string>{u"T2", u"T2F2", u"T2F1", u"T1", u"T1F2", u"T1F1"}));
    destroyed = nullptr;
}

TEST(Descriptors, ConstructorsSetTheirArgumentsAndDefaults) {
    TDF field("\xCD\xEE\xEC\xE5\xF0", 20, 5, 7);  // "Номер" in Windows-1251
    EXPECT_EQ(field.Name, u"Номер");
    EXPECT_EQ(field.Size, 20);
    EXPECT_EQ(field.Code, 5);
    EXPECT_EQ(field.ACode, 7);
    EXPECT_EQ(field.Prev, nullptr);
    EXPECT_EQ(field.Next, nullptr);

    TDD type("", -1, "");
    EXPECT_EQ(type.Name, "");
    EXPECT_EQ(type.Codec, -1);
    for (const AnsiString* text : {&type.Ident, &type.From, &type.To, &type.Mask, &type.Beg,
                                   &type.End, &type.Ceria, &type.KodObj, &type.TipZnak}) {
        EXPECT_EQ(*text, "");
    }
    EXPECT_FALSE(type.SpecProd);
    EXPECT_EQ(type.Count, 0);
    EXPECT_TRUE(type.Owns);

    TDL list;
    EXPECT_FALSE(list.AutoRun);
    EXPECT_TRUE(list.Owns);
    TDD* added = list.Add("Name", 1, "R_AMT");
    EXPECT_EQ(added->Name, "Name");
    EXPECT_EQ(added->Codec, 1);
    EXPECT_EQ(added->Ident, "R_AMT");
    EXPECT_EQ(list.Last, added);
}

TEST(Descriptors, NameThatWindows1251CannotHoldDoesNotSurvive) {
    TDF field(platform::Utf16ToCp1251(u"A中"), 1, 1, 1);
    EXPECT_EQ(field.Name, u"A?");
}

TEST(Descriptors, KeyIsSetAndTested) {
    TDF field("A", 1, 1, 1);
    field.SetKey(1);
    EXPECT_TRUE(field.HasKey(1));
    EXPECT_FALSE(field.HasKey(0));
}

}  // namespace
