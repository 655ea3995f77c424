// The command line read with Windows' rules for names: devices, NUL, and the quote that a quoted path
// ending in a backslash leaves in an argument.
#include "command_line.h"
#include "console/windows_input_names.h"

#include <gtest/gtest.h>

namespace {

ParsedCommandLine parsedWithWindowsNames(const std::vector<std::string> &arguments) {
    const WindowsInputNames names;
    return parseCommandLine(arguments, names);
}

ConsoleOptions parsed(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parsedWithWindowsNames(arguments);
    EXPECT_TRUE(result.options.has_value()) << result.error;
    return result.options.value_or(ConsoleOptions{});
}

std::string refusal(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parsedWithWindowsNames(arguments);
    EXPECT_FALSE(result.options.has_value());
    return result.error;
}

TEST(WindowsNames, NulDiscardsTheOutputAndNamesThatLookLikeDevicesAreFiles) {
    for (const char *nul : {"NUL", "nul", "Nul:", "\\\\.\\NUL"}) {
        const ConsoleOptions options = parsed({"-o", nul, "a.txt"});
        EXPECT_TRUE(options.discardOutput) << nul;
        EXPECT_EQ(options.output, OutputKind::StandardOutput) << nul;
        EXPECT_EQ(options.destination, "") << nul;
    }
    EXPECT_EQ(parsed({"--output=C:\\x y\\"}).destination, "C:\\x y\\");
    // A name that only looks like a device before its extension is a file.
    EXPECT_EQ(parsed({"-o", "nul.txt", "aux.txt", "dir\\com1.c"}).destination, ".\\nul.txt");
    EXPECT_EQ(parsed({"-o", "out\\nul.txt", "a"}).destination, "out\\nul.txt");
    EXPECT_FALSE(parsed({"-o", "nul.txt", "a"}).discardOutput);
    EXPECT_EQ(parsed({"--user-path-add=C:\\Program Files\\Quillmere"}).userPathFolder,
              "C:\\Program Files\\Quillmere");
}

TEST(WindowsNames, DevicesAndStrayQuotesAreUsageErrors) {
    EXPECT_EQ(refusal({"--check", "-o", "NUL", "a"}), "--output cannot be combined with --check");

    // Under Windows' rules a quoted path that ends in a backslash keeps its closing quote and takes
    // the rest of the line: -o "D:\out dir\" a.txt arrives as one argument.
    const std::string swallowed = "D:\\out dir\" a.txt";
    EXPECT_EQ(refusal({"-o", swallowed}), "'" + swallowed +
                                              "' holds a quote, likely from a quoted path ending in a "
                                              "backslash: write it without the last backslash");

    EXPECT_EQ(refusal({"CON"}), "'CON' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "out", "C:\\work\\com1:"}), "'C:\\work\\com1:' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "lpt1", "a.txt"}), "'lpt1' names a device, not a file");
    EXPECT_EQ(refusal({"--in-place", "\\\\.\\PRN"}), "'\\\\.\\PRN' names a device, not a file");
    EXPECT_EQ(refusal({"conin$"}), "'conin$' names a device, not a file");
}

} // namespace
