#include <gtest/gtest.h>

#include "app_error.h"
#include "spaces_number.h"

namespace {

int32_t errorOf(std::string_view text) {
    try {
        spacesFromText(text);
    } catch (const AppError &e) {
        return e.number;
    }
    return 0;
}

TEST(SpacesFromText, ReadsNumbersIgnoringBlanks) {
    EXPECT_EQ(spacesFromText("8"), 8);
    EXPECT_EQ(spacesFromText("16"), 16);
    EXPECT_EQ(spacesFromText("  12 "), 12);
    EXPECT_EQ(spacesFromText("+7"), 7);
    EXPECT_EQ(spacesFromText("-5"), -5);
    EXPECT_EQ(spacesFromText("0"), 0);
    EXPECT_EQ(spacesFromText("007"), 7);
    EXPECT_EQ(spacesFromText("32767"), 32767);
    EXPECT_EQ(spacesFromText("-32768"), -32768);
}

TEST(SpacesFromText, RoundsHalvesToEven) {
    EXPECT_EQ(spacesFromText("2.5"), 2);
    EXPECT_EQ(spacesFromText("3.5"), 4);
    EXPECT_EQ(spacesFromText("0.5"), 0);
    EXPECT_EQ(spacesFromText("-2.5"), -2);
    EXPECT_EQ(spacesFromText("-3.5"), -4);
    EXPECT_EQ(spacesFromText("2.4999"), 2);
    EXPECT_EQ(spacesFromText("2.50000000000000000001"), 3);
    EXPECT_EQ(spacesFromText("4.6"), 5);
    EXPECT_EQ(spacesFromText(".5"), 0);
    EXPECT_EQ(spacesFromText("7."), 7);
    EXPECT_EQ(spacesFromText("-32768.5"), -32768);
}

TEST(SpacesFromText, NonNumericFailsWithTypeMismatch) {
    for (const char *text :
         {"", "   ", "Er", "abc", "1a", "1 2", "--1", "+", ".", "1.2.3", "- 1", "Waiting ..."})
        EXPECT_EQ(errorOf(text), 13) << '"' << text << '"';
}

TEST(SpacesFromText, OutOfSixteenBitsFailsWithOverflow) {
    for (const char *text : {"40000", "32768", "-32769", "32767.5", "99999999999999999999999"})
        EXPECT_EQ(errorOf(text), 6) << text;
}

} // namespace
