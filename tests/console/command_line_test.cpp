// The console program's options read into plain values, and every usage error it must refuse.
#include "command_line.h"

#include <gtest/gtest.h>

namespace {

ConsoleOptions parsed(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parseCommandLine(arguments);
    EXPECT_TRUE(result.options.has_value()) << result.error;
    return result.options.value_or(ConsoleOptions{});
}

std::string refusal(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parseCommandLine(arguments);
    EXPECT_FALSE(result.options.has_value());
    return result.error;
}

TEST(CommandLine, SpellingsOfTabStopsAsExpandWritesThem) {
    EXPECT_EQ(parsed({}).tabStops, "");
    EXPECT_EQ(parsed({"-t", "4"}).tabStops, "4");
    EXPECT_EQ(parsed({"-t4"}).tabStops, "4");
    EXPECT_EQ(parsed({"--tabs=4,8"}).tabStops, "4,8");
    EXPECT_EQ(parsed({"--tabs", "2 6"}).tabStops, "2 6");
    EXPECT_EQ(parsed({"--ta=3"}).tabStops, "3"); // a unique prefix names its option
    // Several -t add up, as expand's do.
    EXPECT_EQ(parsed({"-t", "2", "-t", "/8"}).tabStops, "2,/8");
    EXPECT_TRUE(parsed({"-i"}).mode.leadingOnly);
    EXPECT_TRUE(parsed({"--initial"}).mode.leadingOnly);
    EXPECT_EQ(parsed({"--spaces=16"}).fixedSpaces, 16);
    EXPECT_EQ(parsed({"--spaces", "1"}).fixedSpaces, 1);
}

// What the conversion of every input will be: always with line ends kept.
TEST(CommandLine, OptionsBecomeTheConversionMode) {
    ConversionMode mode = parsed({}).mode;
    EXPECT_EQ(mode.rule, TabRule::TabStops);
    EXPECT_EQ(mode.stops, TabStops::every(8));
    EXPECT_EQ(mode.lineEnds, LineEnds::Kept);
    EXPECT_FALSE(mode.leadingOnly);

    EXPECT_EQ(parsed({"-t", "4"}).mode.stops, TabStops::every(4));
    EXPECT_EQ(parsed({"-t", "4,8,12"}).mode.stops, TabStops::list({4, 8, 12}, TabStops::After::OneSpace, 0));
    EXPECT_EQ(parsed({"-t", "2", "-t", "+5"}).mode.stops,
              TabStops::list({2}, TabStops::After::EveryNAfterLast, 5));
    EXPECT_EQ(parsed({"--tabs=3 /6"}).mode.stops, TabStops::list({3}, TabStops::After::EveryN, 6));

    mode = parsed({"--spaces=3", "-i"}).mode;
    EXPECT_EQ(mode.rule, TabRule::FixedSpaces);
    EXPECT_EQ(mode.spaces, 3u);
    EXPECT_TRUE(mode.leadingOnly);
    EXPECT_EQ(mode.lineEnds, LineEnds::Kept);
}

TEST(CommandLine, OutputsFlagsAndInputs) {
    ConsoleOptions options = parsed({"-o", "out", "a.txt", "b.txt"});
    EXPECT_EQ(options.output, OutputKind::Destination);
    EXPECT_EQ(options.destination, "out");
    EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(parsed({"-oout", "a"}).destination, "out");
    EXPECT_EQ(parsed({"--output=C:\\x y\\"}).destination, "C:\\x y\\");
    EXPECT_EQ(parsed({"--in-place", "a"}).output, OutputKind::InPlace);
    EXPECT_EQ(parsed({"--check"}).output, OutputKind::Check);
    EXPECT_EQ(parsed({}).output, OutputKind::StandardOutput);

    // Bundled short flags, the last one taking its value from the next argument.
    options = parsed({"-rqit", "4", "src"});
    EXPECT_TRUE(options.recursive);
    EXPECT_TRUE(options.quiet);
    EXPECT_TRUE(options.mode.leadingOnly);
    EXPECT_EQ(options.tabStops, "4");
    EXPECT_EQ(options.inputs, std::vector<std::string>{"src"});

    EXPECT_EQ(parsed({"src"}).extensions, std::vector<std::string>{"txt"});
    EXPECT_EQ(parsed({"--ext=c", "--ext", ".h", "src"}).extensions, (std::vector<std::string>{"c", "h"}));

    // "-" is standard input; after "--" everything is a name, also what looks like an option.
    EXPECT_EQ(parsed({"-"}).inputs, std::vector<std::string>{"-"});
    EXPECT_EQ(parsed({"--", "-t", "--check"}).inputs, (std::vector<std::string>{"-t", "--check"}));
    EXPECT_TRUE(parsed({"--version"}).showVersion);
    EXPECT_TRUE(parsed({"--help"}).showHelp);

    // -o NUL discards the output: the run goes to standard output, which is then thrown away.
    for (const char *nul : {"NUL", "nul", "Nul:", "\\\\.\\NUL"}) {
        options = parsed({"-o", nul, "a.txt"});
        EXPECT_TRUE(options.discardOutput) << nul;
        EXPECT_EQ(options.output, OutputKind::StandardOutput) << nul;
        EXPECT_EQ(options.destination, "") << nul;
    }
    // A name that only looks like a device before its extension is a file.
    EXPECT_EQ(parsed({"-o", "nul.txt", "aux.txt", "dir\\com1.c"}).destination, ".\\nul.txt");
    EXPECT_EQ(parsed({"-o", "out\\nul.txt", "a"}).destination, "out\\nul.txt");
    EXPECT_FALSE(parsed({"-o", "nul.txt", "a"}).discardOutput);

    // The installer's step on the user's PATH.
    options = parsed({"--user-path-add=C:\\Program Files\\Quillmere"});
    EXPECT_EQ(options.userPathChange, UserPathChange::Add);
    EXPECT_EQ(options.userPathFolder, "C:\\Program Files\\Quillmere");
    EXPECT_EQ(parsed({"--user-path-remove", "C:\\Q"}).userPathChange, UserPathChange::Remove);
    EXPECT_EQ(parsed({"a.txt"}).userPathChange, UserPathChange::None);
}

TEST(CommandLine, UsageErrorsSayWhatIsWrong) {
    EXPECT_EQ(refusal({"--tabz=4"}), "unrecognized option '--tabz'");
    EXPECT_EQ(refusal({"--in"}), "option '--in' is ambiguous");
    EXPECT_EQ(refusal({"-z"}), "invalid option -- 'z'");
    EXPECT_EQ(refusal({"-t"}), "option '-t' requires an argument");
    EXPECT_EQ(refusal({"--output"}), "option '--output' requires an argument");
    EXPECT_EQ(refusal({"--check=yes"}), "option '--check' doesn't allow an argument");
    EXPECT_EQ(refusal({"-t", ""}), "tab stops must not be empty");
    EXPECT_EQ(refusal({"-t", "8,4"}), "tab stops must be ascending");
    EXPECT_EQ(refusal({"-t", "4x"}), "tab stop contains invalid character(s): 'x'");
    EXPECT_EQ(refusal({"-t", "0"}), "tab size cannot be 0");
    for (const char *bad : {"0", "17", "x", "", "4x", "-3"})
        EXPECT_EQ(refusal({std::string("--spaces=") + bad}),
                  std::string("--spaces takes a number of spaces from 1 to 16, not '") + bad + "'");
    EXPECT_EQ(refusal({"--spaces=4", "-t", "4"}), "--spaces cannot be combined with --tabs");
    EXPECT_EQ(refusal({"--check", "-o", "out", "a"}), "--output cannot be combined with --check");
    EXPECT_EQ(refusal({"-o", "a", "-o", "b", "x"}), "only one output may be given");
    EXPECT_EQ(refusal({"--in-place"}), "--in-place needs files to replace");
    EXPECT_EQ(refusal({"--in-place", "-"}), "--in-place needs files to replace");
    EXPECT_EQ(refusal({"-", "a.txt"}), "standard input ('-') cannot be mixed with files");
    EXPECT_EQ(refusal({"--ext=*", "src"}), "'*' is not an extension");
    EXPECT_EQ(refusal({"--ext=.", "src"}), "'' is not an extension");
    EXPECT_EQ(refusal({"-o", ""}), "the output path must not be empty");
    EXPECT_EQ(refusal({"--check", "-o", "NUL", "a"}), "--output cannot be combined with --check");

    // Under Windows' rules a quoted path that ends in a backslash keeps its closing quote and takes
    // the rest of the line: -o "D:\out dir\" a.txt arrives as one argument.
    const std::string swallowed = "D:\\out dir\" a.txt";
    EXPECT_EQ(refusal({"-o", swallowed}), "'" + swallowed +
                                              "' holds a quote, likely from a quoted path ending in a "
                                              "backslash: write it without the last backslash");
    EXPECT_EQ(refusal({"-t", "4", "src\" -r"}), "'src\" -r' holds a quote, likely from a quoted path ending "
                                                "in a backslash: write it without the last backslash");

    // Devices are no files to read or write.
    EXPECT_EQ(refusal({"CON"}), "'CON' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "out", "C:\\work\\com1:"}), "'C:\\work\\com1:' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "lpt1", "a.txt"}), "'lpt1' names a device, not a file");
    EXPECT_EQ(refusal({"--in-place", "\\\\.\\PRN"}), "'\\\\.\\PRN' names a device, not a file");
    EXPECT_EQ(refusal({"conin$"}), "'conin$' names a device, not a file");

    EXPECT_EQ(refusal({"--user-path-add=C:\\Q", "a.txt"}), "a change of the user's PATH takes no files");
    EXPECT_EQ(refusal({"--user-path-add=C:\\Q", "--user-path-remove=C:\\Q"}),
              "only one change of the user's PATH may be given");
    EXPECT_EQ(refusal({"--user-path-add="}), "the folder for the user's PATH must not be empty");
}

} // namespace
