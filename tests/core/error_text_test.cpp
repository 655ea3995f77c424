#include <gtest/gtest.h>

#include "app_error.h"
#include "error_message.h"

namespace {

TEST(ErrorMessage, StandardTextHasSevenCrLfLines) {
    EXPECT_EQ(standardErrorText(5, "Invalid procedure call or argument", "frmMain - countFILES"),
              "An Error was generated:\r\n"
              "\r\n"
              "Description:\r\n"
              "Error 5 - Invalid procedure call or argument\r\n"
              "frmMain - countFILES\r\n"
              "\r\n"
              "Please inform the author with the error description above.");
}

TEST(ErrorMessage, NumberTextHasBlankUnlessNegative) {
    EXPECT_EQ(errorNumberText(53), " 53");
    EXPECT_EQ(errorNumberText(0), " 0");
    EXPECT_EQ(errorNumberText(-5), "-5");
    EXPECT_EQ(errorNumberText(-2147483647 - 1), "-2147483648");
    const std::string text = standardErrorText(-7, "Odd", "frmError - cmdSave_Click");
    EXPECT_NE(text.find("\r\nError-7 - Odd\r\nfrmError - cmdSave_Click\r\n"), std::string::npos);
}

TEST(ErrorMessage, FolderPickerClosingsByNumber) {
    EXPECT_EQ(browseDirClosing(429), "Re-install the program to fix this.");
    EXPECT_EQ(browseDirClosing(53),
              "You need Internet Explorer 4 or higher installed.\r\n\r\nQuiting now...");
    EXPECT_EQ(browseDirClosing(5), closing::standard);
    EXPECT_EQ(browseDir2SaveClosing(429), "Re-install the program to fix this.");
    EXPECT_EQ(browseDir2SaveClosing(53), closing::standard);

    EXPECT_EQ(standardErrorText(53, "File not found", "frmMain - cmdBrowseDir_Click", browseDirClosing(53)),
              "An Error was generated:\r\n\r\nDescription:\r\nError 53 - File not found\r\n"
              "frmMain - cmdBrowseDir_Click\r\n\r\n"
              "You need Internet Explorer 4 or higher installed.\r\n\r\nQuiting now...");
}

TEST(ErrorMessage, StartupFormHasNoProcedureLineAndOwnClosings) {
    EXPECT_EQ(startupErrorText(339, "Component not correctly registered"),
              "An Error was generated:\r\nDescription: Error 339 - Component not correctly registered\r\n\r\n"
              "Re-install the program to fix this.");
    EXPECT_EQ(startupErrorText(50003, "Unexpected error"),
              "An Error was generated:\r\nDescription: Error 50003 - Unexpected error\r\n\r\n"
              "Re-install the program to fix this, or get the latest vbruntimes at Hollowcrest.");
    EXPECT_EQ(startupErrorText(7, "Out of memory"),
              "An Error was generated:\r\nDescription: Error 7 - Out of memory\r\n\r\n"
              "Please inform the author with the error description above.");
}

TEST(ErrorLog, RecordStartsWithEmptyLineAndEndsWithCrLf) {
    EXPECT_EQ(errorLogRecord("07/12/2026 08:30:00", {"C:\\a.txt", "C:\\b c.txt"}),
              "\r\n07/12/2026 08:30:00\r\nC:\\a.txt\r\nC:\\b c.txt\r\n");
    EXPECT_EQ(errorLogRecord("d t", {}), "\r\nd t\r\n");
}

} // namespace
