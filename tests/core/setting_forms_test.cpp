#include <gtest/gtest.h>

#include "setting_forms.h"

namespace {

TEST(SettingForms, YesNoReadsWordsInAnyCaseAndNumbers) {
    EXPECT_EQ(yesNoFromText("True"), true);
    EXPECT_EQ(yesNoFromText("tRUE"), true);
    EXPECT_EQ(yesNoFromText("FALSE"), false);
    EXPECT_EQ(yesNoFromText("false"), false);
    EXPECT_EQ(yesNoFromText("0"), false);
    EXPECT_EQ(yesNoFromText("0.0"), false);
    EXPECT_EQ(yesNoFromText("-1"), true);
    EXPECT_EQ(yesNoFromText("2"), true);
    // Non-zero even when it would round to zero.
    EXPECT_EQ(yesNoFromText("0.2"), true);
}

TEST(SettingForms, YesNoRejectsOtherTexts) {
    for (const char *text : {"Error", "", "yes", "Tru", "Truee", "1x"})
        EXPECT_EQ(yesNoFromText(text), std::nullopt) << text;
}

TEST(SettingForms, YesNoWrittenAsTrueFalse) {
    EXPECT_EQ(yesNoText(true), "True");
    EXPECT_EQ(yesNoText(false), "False");
}

TEST(SettingForms, PositionIsAnyNumberThatFits) {
    EXPECT_EQ(positionFromText("1200"), 1200);
    EXPECT_EQ(positionFromText("-345"), -345);
    EXPECT_EQ(positionFromText("10.5"), 10);
    EXPECT_EQ(positionFromText("Error"), std::nullopt);
    EXPECT_EQ(positionFromText(""), std::nullopt);
    EXPECT_EQ(positionFromText("3000000000"), std::nullopt);
}

TEST(SettingForms, ExtensionIndexMustBeWholeAndInList) {
    EXPECT_EQ(extensionIndexFromText("0", 3), 0);
    EXPECT_EQ(extensionIndexFromText("2", 3), 2);
    EXPECT_EQ(extensionIndexFromText("3", 3), std::nullopt);
    EXPECT_EQ(extensionIndexFromText("-1", 3), std::nullopt);
    EXPECT_EQ(extensionIndexFromText("1.5", 3), std::nullopt);
    EXPECT_EQ(extensionIndexFromText("Error", 3), std::nullopt);
    EXPECT_EQ(extensionIndexFromText("0", 0), std::nullopt);
}

TEST(SettingForms, NumberBoxKeepsTwoCharacters) {
    EXPECT_EQ(cutToTwo("123"), "12");
    EXPECT_EQ(cutToTwo("Error"), "Er");
    EXPECT_EQ(cutToTwo("8"), "8");
    EXPECT_EQ(cutToTwo(""), "");
}

TEST(SettingForms, RegistryBufferLosesLeadingSpacesKeepsTrailing) {
    const auto buffer = [](std::string_view stored) {
        std::string b(255, ' ');
        b.replace(0, stored.size(), stored);
        b[stored.size()] = '\0';
        return b;
    };
    EXPECT_EQ(trimRegistryBuffer(buffer("  8 ")), "8 ");
    EXPECT_EQ(trimRegistryBuffer(buffer("")), "");
    EXPECT_EQ(trimRegistryBuffer(buffer("C:\\a b\\")), "C:\\a b\\");
    EXPECT_EQ(trimRegistryBuffer(buffer(std::string(254, 'x'))), std::string(254, 'x'));
    EXPECT_EQ(trimRegistryBuffer(""), "");
}

} // namespace
