// The user's store on Windows: the registry under HKEY_CURRENT_USER. Works
// on a scratch key of its own, never on the configuration.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/store/registry_store.h"

namespace platform {
namespace {

class UserRegistryTest : public ::testing::Test {
  protected:
    UserRegistryTest() {
        const std::string pid = std::to_string(::GetCurrentProcessId());
        root_ = u"\\Software\\kvadrel-tests\\" + std::u16string(pid.begin(), pid.end());
    }
    ~UserRegistryTest() override { OpenRegistry({})->DeleteTree(root_); }

    std::u16string root_;
};

TEST_F(UserRegistryTest, KeepsStringsAndNumbersAcrossOpenings) {
    {
        const auto store = OpenRegistry({});
        RegistryKey* key = store->CreateKey(root_ + u"\\Москва");
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(store->SetString(*key, u"From", u"C:\\in\\"));
        EXPECT_TRUE(store->SetDWord(*key, u"Codec", 1));
        store->Close();
    }
    const auto store = OpenRegistry({});
    RegistryKey* key = store->CreateKey(root_ + u"\\москва");  // names ignore case
    ASSERT_NE(key, nullptr);
    const auto from = store->QueryValue(*key, u"FROM");
    ASSERT_TRUE(from);
    EXPECT_EQ(from->type, uint32_t(RegType::String));
    EXPECT_EQ(from->text, u"C:\\in\\");
    const auto codec = store->QueryValue(*key, u"Codec");
    ASSERT_TRUE(codec);
    EXPECT_EQ(codec->type, uint32_t(RegType::DWord));
    EXPECT_EQ(codec->dword, 1u);
    EXPECT_FALSE(store->QueryValue(*key, u"Missing"));
}

TEST_F(UserRegistryTest, ListsSubKeysInAscendingOrderOfTheirUpperCase) {
    const auto store = OpenRegistry({});
    for (const auto* name : {u"b", u"Ж", u"A", u"c", u"а"}) {
        ASSERT_NE(store->CreateKey(root_ + u"\\" + name), nullptr);
    }
    const std::vector<std::u16string> expected = {u"A", u"b", u"c", u"а", u"Ж"};
    EXPECT_EQ(store->SubKeyNames(*store->CreateKey(root_)), expected);
}

TEST_F(UserRegistryTest, DeletesAWholeTreeAndToleratesAMissingOne) {
    const auto store = OpenRegistry({});
    ASSERT_NE(store->CreateKey(root_ + u"\\Type\\A\\100"), nullptr);
    ASSERT_NE(store->CreateKey(root_ + u"\\Type\\B"), nullptr);
    store->DeleteTree(root_ + u"\\Type");
    store->DeleteTree(root_ + u"\\Type");
    EXPECT_TRUE(store->SubKeyNames(*store->CreateKey(root_)).empty());
}

TEST_F(UserRegistryTest, APathThatCannotNameAKeyOpensNothing) {
    const auto store = OpenRegistry({});
    EXPECT_EQ(store->CreateKey(root_ + u"\\\\Empty"), nullptr);
    EXPECT_EQ(store->CreateKey(root_ + u"\\" + std::u16string(256, u'x')), nullptr);
}

}  // namespace
}  // namespace platform
