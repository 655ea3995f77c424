// The console program's options read into plain values, and every usage error it must refuse, on any
// system: the platform's own rules for names come from a scripted set here (the real ones are tested
// with each platform's tests).
#include "command_line.h"
#include "scripted_names.h"

#include <gtest/gtest.h>

namespace {

ConsoleOptions parsed(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parseCommandLine(arguments, ScriptedNames());
    EXPECT_TRUE(result.options.has_value()) << result.error;
    return result.options.value_or(ConsoleOptions{});
}

std::string refusal(const std::vector<std::string> &arguments) {
    const ParsedCommandLine result = parseCommandLine(arguments, ScriptedNames());
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
    EXPECT_EQ(parsed({"--output=x y/"}).destination, "x y/");
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

    // The name that discards the output: the run goes to standard output, which is then thrown away.
    options = parsed({"-o", "DISCARD", "a.txt"});
    EXPECT_TRUE(options.discardOutput);
    EXPECT_EQ(options.output, OutputKind::StandardOutput);
    EXPECT_EQ(options.destination, "");
    // The output is named as the platform names a file: a name it would take for a device is made the
    // file of that name.
    EXPECT_EQ(parsed({"-o", "DEVICE.txt", "a.txt"}).destination, "./DEVICE.txt");

    // The installer's step on the user's PATH (refused later where the system has none).
    options = parsed({"--user-path-add=/opt/Program Files/Quillmere"});
    EXPECT_EQ(options.userPathChange, UserPathChange::Add);
    EXPECT_EQ(options.userPathFolder, "/opt/Program Files/Quillmere");
    EXPECT_EQ(parsed({"--user-path-remove", "Q"}).userPathChange, UserPathChange::Remove);
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
    EXPECT_EQ(refusal({"--check", "-o", "DISCARD", "a"}), "--output cannot be combined with --check");

    // An argument with a quote that the system's rules left in it (a quoted path that ends in a
    // backslash, on Windows), anywhere on the line.
    const std::string swallowed = "out dir\" a.txt";
    EXPECT_EQ(refusal({"-o", swallowed}), "'" + swallowed +
                                              "' holds a quote, likely from a quoted path ending in a "
                                              "backslash: write it without the last backslash");
    EXPECT_EQ(refusal({"-t", "4", "src\" -r"}), "'src\" -r' holds a quote, likely from a quoted path ending "
                                                "in a backslash: write it without the last backslash");

    // Devices are no files to read or write, as inputs or as the output.
    EXPECT_EQ(refusal({"DEVICE"}), "'DEVICE' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "out", "a.txt", "DEVICE"}), "'DEVICE' names a device, not a file");
    EXPECT_EQ(refusal({"-o", "DEVICE", "a.txt"}), "'DEVICE' names a device, not a file");
    EXPECT_EQ(refusal({"--in-place", "DEVICE"}), "'DEVICE' names a device, not a file");

    EXPECT_EQ(refusal({"--user-path-add=Q", "a.txt"}), "a change of the user's PATH takes no files");
    EXPECT_EQ(refusal({"--user-path-add=Q", "--user-path-remove=Q"}),
              "only one change of the user's PATH may be given");
    EXPECT_EQ(refusal({"--user-path-add="}), "the folder for the user's PATH must not be empty");
}

} // namespace
