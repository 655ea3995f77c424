// The registry layer: what reads answer, what writes leave, and malformed paths that touch nothing.
#include "raw_registry.h"
#include "win_fixture.h"

#include "registry.h"

#include <vector>

namespace {

const std::string scratch = std::string(settingsKeyPath) + "\\Scratch";
const std::string scratchPath = "HKEY_CURRENT_USER\\" + scratch;

class RegistryLayer : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        rawCreateKey(scratch);
    }
};

TEST_F(RegistryLayer, RootNamesMapExactlyAndCaseSensitively) {
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_CLASSES_ROOT"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_CURRENT_USER"), HKEY_CURRENT_USER);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_LOCAL_MACHINE"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_USERS"), HKEY_USERS);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_PERFORMANCE_DATA"), HKEY_PERFORMANCE_DATA);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_CURRENT_CONFIG"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_DYN_DATA"), HKEY_DYN_DATA);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_Current_User"), nullptr);
    EXPECT_EQ(Registry::rootKeyHandle("HKEY_CURRENT_USER "), nullptr);
    EXPECT_EQ(Registry::rootKeyHandle("HKCU"), nullptr);
}

TEST_F(RegistryLayer, SplitHandsTheSubkeyOnUnchanged) {
    const Registry::KeyPath path = registry.splitKeyPath("HKEY_LOCAL_MACHINE\\Software\\A B\\c");
    EXPECT_EQ(path.root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(path.subkey, "Software\\A B\\c");
    const Registry::KeyPath root = registry.splitKeyPath("HKEY_USERS");
    EXPECT_EQ(root.root, HKEY_USERS);
    EXPECT_EQ(root.subkey, "");
    EXPECT_TRUE(formatErrors.keyPaths.empty());
}

TEST_F(RegistryLayer, NeverWrittenValueReadsError) {
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Nothing"), "Error");
    EXPECT_EQ(registry.getKeyValue(scratchPath + "\\Missing", "Nothing"), "Error");
}

TEST_F(RegistryLayer, ValuesOfOtherTypesReadAsMissingNotAsTheirBytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, scratch.c_str(), &key), ERROR_SUCCESS);
    const DWORD number = 0xFFFF;
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    RegSetValueExA(key, "Bytes", 0, REG_BINARY, reinterpret_cast<const BYTE *>("12\0"), 3);
    RegSetValueExA(key, "Texts", 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE *>("8\0"
                                                  "9\0"),
                   5);
    RegSetValueExA(key, "Expandable", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>("12"), 3);
    RegCloseKey(key);
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Number"), "Error");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Bytes"), "Error");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Texts"), "Error");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Expandable"), "12");
}

TEST_F(RegistryLayer, WrittenTextIsAStringValueWithoutItsNul) {
    registry.setKeyValue(scratchPath, "Name", "c:\\text\\notes.txt");
    const auto raw = rawGet(scratch, "Name");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(*rawGetString(scratch, "Name"), "c:\\text\\notes.txt");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Name"), "c:\\text\\notes.txt");
}

TEST_F(RegistryLayer, TextsUpTo254CharactersReadWholeLongerOnesAnswerError) {
    const std::string fits(254, 'a');
    registry.setKeyValue(scratchPath, "Fits", fits);
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Fits"), fits);

    // No room left for the NUL: reading it would lose the last character.
    registry.setKeyValue(scratchPath, "Full", std::string(255, 'b'));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Full"), "Error");
    rawSetString(scratch, "FullWithoutNul", std::string(255, 'b'));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "FullWithoutNul"), "Error");
    rawSetString(scratch, "FitsWithoutNul", fits);
    EXPECT_EQ(registry.getKeyValue(scratchPath, "FitsWithoutNul"), fits);

    registry.setKeyValue(scratchPath, "Long", std::string(300, 'c'));
    EXPECT_EQ(*rawGetString(scratch, "Long"), std::string(300, 'c'));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Long"), "Error");
}

TEST_F(RegistryLayer, LeadingSpacesAreLostTrailingSpacesKept) {
    registry.setKeyValue(scratchPath, "Spaces", "  8 ");
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Spaces"), "8 ");
    // Stored by another writer with its NUL, the text reads the same.
    rawSetString(scratch, "WithNul", std::string("  8 \0", 5));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "WithNul"), "8 ");
}

TEST_F(RegistryLayer, EmptyTextReadsEmptyNotError) {
    registry.setKeyValue(scratchPath, "Empty", "");
    ASSERT_TRUE(rawGet(scratch, "Empty"));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Empty"), "");
}

TEST_F(RegistryLayer, RootAloneWorksOnTheRootKeyItself) {
    const std::string name = "QuillmereRootProbe";
    registry.setKeyValue("HKEY_CURRENT_USER", name, "at the root");
    EXPECT_EQ(*rawGetString("", name), "at the root");
    EXPECT_EQ(registry.getKeyValue("HKEY_CURRENT_USER", name), "at the root");
    rawDeleteValue("", name);
    EXPECT_TRUE(formatErrors.keyPaths.empty());
}

TEST_F(RegistryLayer, MalformedPathsAreReportedAndTouchNothing) {
    const std::string lower = "hkey_current_user\\" + scratch;
    registry.setKeyValue(lower, "Name", "x");
    const std::string trailing = scratchPath + "\\Made\\";
    registry.createKey(trailing);
    EXPECT_EQ(registry.getKeyValue(trailing, "Name"), "");

    EXPECT_EQ(formatErrors.keyPaths, (std::vector<std::string>{lower, trailing, trailing}));
    EXPECT_FALSE(rawGet(scratch, "Name"));
    EXPECT_FALSE(rawKeyExists(scratch + "\\Made"));
}

TEST_F(RegistryLayer, UnknownRootAfterAProperPrefixIsSilentAndInert) {
    const std::string mixed = "HKEY_Current_User\\" + scratch;
    registry.createKey(mixed + "\\Made");
    registry.setKeyValue(mixed, "Name", "x");
    EXPECT_EQ(registry.getKeyValue(mixed, "Name"), "");
    EXPECT_TRUE(formatErrors.keyPaths.empty());
    EXPECT_FALSE(rawKeyExists(scratch + "\\Made"));
    EXPECT_FALSE(rawGet(scratch, "Name"));
}

TEST_F(RegistryLayer, SetOnAMissingKeyWritesNothingUntilTheKeyIsCreated) {
    const std::string missing = scratch + "\\Deeper\\Still";
    registry.setKeyValue("HKEY_CURRENT_USER\\" + missing, "Name", "x");
    EXPECT_FALSE(rawKeyExists(missing));
    registry.createKey("HKEY_CURRENT_USER\\" + missing);
    EXPECT_TRUE(rawKeyExists(missing));
    registry.setKeyValue("HKEY_CURRENT_USER\\" + missing, "Name", "x");
    EXPECT_EQ(*rawGetString(missing, "Name"), "x");
}

TEST_F(RegistryLayer, CreateKeyKeepsAnExistingKeyAndItsValues) {
    rawSetString(scratch, "Kept", "value");
    rawSetDword(scratch, "Number", 7);
    registry.createKey(scratchPath);
    EXPECT_EQ(*rawGetString(scratch, "Kept"), "value");
    EXPECT_EQ(rawGet(scratch, "Number")->type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(RegistryLayer, WritingReplacesAValueOfAnotherType) {
    rawSetDword(scratch, "Top", 1234);
    registry.setKeyValue(scratchPath, "Top", "1500");
    EXPECT_EQ(rawGet(scratch, "Top")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(registry.getKeyValue(scratchPath, "Top"), "1500");
}

} // namespace
