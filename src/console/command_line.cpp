#include "command_line.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

// Long options that take a value, and whether their value may follow as the next argument.
struct LongOption {
    std::string_view name;
    bool takesValue;
};

constexpr LongOption longOptions[] = {
    {"tabs", true},          {"initial", false},         {"spaces", true},   {"output", true},
    {"in-place", false},     {"recursive", false},       {"ext", true},      {"check", false},
    {"quiet", false},        {"silent", false},          {"version", false}, {"help", false},
    {"user-path-add", true}, {"user-path-remove", true},
};

const LongOption *findLongOption(std::string_view name, std::string &error) {
    // A unique prefix names its option, as in other GNU-style programs.
    const LongOption *found = nullptr;
    for (const LongOption &option : longOptions) {
        if (option.name == name) return &option;
        if (option.name.substr(0, name.size()) == name) {
            if (found) {
                error = "option '--" + std::string(name) + "' is ambiguous";
                return nullptr;
            }
            found = &option;
        }
    }
    if (!found) error = "unrecognized option '--" + std::string(name) + "'";
    return found;
}

class Parser {
public:
    Parser(const std::vector<std::string> &arguments, const InputNames &names)
        : arguments_(arguments), names_(names) {}

    ParsedCommandLine run() {
        quotesLeftInArguments();
        for (index_ = 0; index_ < arguments_.size() && error_.empty(); ++index_) {
            const std::string &argument = arguments_[index_];
            if (onlyInputs_ || argument == "-" || argument.size() < 2 || argument[0] != '-')
                options_.inputs.push_back(argument);
            else if (argument == "--")
                onlyInputs_ = true;
            else if (argument[1] == '-')
                longOption(std::string_view(argument).substr(2));
            else
                shortOptions(std::string_view(argument).substr(1));
        }
        if (error_.empty()) checkCombination();
        if (error_.empty()) chooseMode();
        if (error_.empty()) noDeviceInputs();
        if (!error_.empty()) return {std::nullopt, error_};
        if (options_.discardOutput) {
            options_.output = OutputKind::StandardOutput;
            options_.destination.clear();
        }
        if (options_.extensions.empty()) options_.extensions.push_back("txt");
        return {options_, {}};
    }

private:
    // A quote left in an argument by Windows' rules comes from a quoted path that ends in a backslash
    // ("D:\out dir\"), whose last quote took the rest of the line into one argument.
    void quotesLeftInArguments() {
        for (const std::string &argument : arguments_)
            if (names_.hasStrayQuote(argument)) {
                error_ = "'" + argument +
                         "' holds a quote, likely from a quoted path ending in a backslash: write it "
                         "without the last backslash";
                return;
            }
    }

    void noDeviceInputs() {
        for (const std::string &input : options_.inputs)
            if (names_.isBareDevice(input)) {
                error_ = "'" + input + "' names a device, not a file";
                return;
            }
    }

    // The value of an option: the rest of its argument when there is one, else the next argument.
    std::optional<std::string> valueFor(std::string_view attached, const std::string &shownName) {
        if (!attached.empty()) return std::string(attached);
        if (index_ + 1 < arguments_.size()) return arguments_[++index_];
        error_ = "option '" + shownName + "' requires an argument";
        return std::nullopt;
    }

    void longOption(std::string_view text) {
        const std::size_t equals = text.find('=');
        const std::string_view name = text.substr(0, equals);
        const LongOption *option = findLongOption(name, error_);
        if (!option) return;
        const std::string shown = "--" + std::string(option->name);
        if (!option->takesValue) {
            if (equals != std::string_view::npos)
                error_ = "option '" + shown + "' doesn't allow an argument";
            else
                flag(option->name);
            return;
        }
        std::optional<std::string> value;
        if (equals != std::string_view::npos)
            value = std::string(text.substr(equals + 1));
        else
            value = valueFor({}, shown);
        if (value) withValue(option->name, *value);
    }

    void shortOptions(std::string_view letters) {
        for (std::size_t i = 0; i < letters.size() && error_.empty(); ++i) {
            switch (letters[i]) {
            case 'i': flag("initial"); break;
            case 'r': flag("recursive"); break;
            case 'q': flag("quiet"); break;
            case 't':
            case 'o': {
                const auto value = valueFor(letters.substr(i + 1), std::string("-") + letters[i]);
                if (value) withValue(letters[i] == 't' ? "tabs" : "output", *value);
                return;
            }
            default: error_ = std::string("invalid option -- '") + letters[i] + "'";
            }
        }
    }

    void flag(std::string_view name) {
        if (name == "initial")
            options_.mode.leadingOnly = true;
        else if (name == "recursive")
            options_.recursive = true;
        else if (name == "quiet" || name == "silent")
            options_.quiet = true;
        else if (name == "version")
            options_.showVersion = true;
        else if (name == "help")
            options_.showHelp = true;
        else if (name == "in-place")
            setOutput(OutputKind::InPlace, "--in-place");
        else if (name == "check")
            setOutput(OutputKind::Check, "--check");
    }

    void withValue(std::string_view name, const std::string &value) {
        if (name == "tabs")
            tabs(value);
        else if (name == "spaces")
            spaces(value);
        else if (name == "output")
            output(value);
        else if (name == "ext")
            extension(value);
        else if (name == "user-path-add" || name == "user-path-remove")
            userPath(name == "user-path-add" ? UserPathChange::Add : UserPathChange::Remove, value);
    }

    void userPath(UserPathChange change, const std::string &folder) {
        if (options_.userPathChange != UserPathChange::None) {
            error_ = "only one change of the user's PATH may be given";
            return;
        }
        if (folder.empty()) {
            error_ = "the folder for the user's PATH must not be empty";
            return;
        }
        options_.userPathChange = change;
        options_.userPathFolder = folder;
    }

    void tabs(const std::string &value) {
        if (value.empty()) {
            error_ = "tab stops must not be empty";
            return;
        }
        // Several -t options add up, as expand's do.
        options_.tabStops += options_.tabStops.empty() ? value : "," + value;
    }

    void spaces(const std::string &value) {
        char *end = nullptr;
        const long number = value.empty() ? 0 : std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || number < 1 || number > 16) {
            error_ = "--spaces takes a number of spaces from 1 to 16, not '" + value + "'";
            return;
        }
        options_.fixedSpaces = static_cast<int>(number);
    }

    void output(const std::string &value) {
        if (value.empty()) {
            error_ = "the output path must not be empty";
            return;
        }
        if (names_.isNullDevice(value)) {
            options_.discardOutput = true;
        } else if (names_.isBareDevice(value)) {
            error_ = "'" + value + "' names a device, not a file";
            return;
        }
        if (setOutput(OutputKind::Destination, "--output")) options_.destination = names_.asFileName(value);
    }

    void extension(std::string value) {
        while (!value.empty() && value.front() == '.') value.erase(0, 1);
        if (value.empty() || value.find_first_of("\\/:*?\"<>|") != std::string::npos) {
            error_ = "'" + value + "' is not an extension";
            return;
        }
        options_.extensions.push_back(value);
    }

    // Where the results go can be said once: to standard output, a destination, in place, or nowhere.
    bool setOutput(OutputKind kind, const char *shown) {
        if (options_.output != OutputKind::StandardOutput && options_.output != kind) {
            error_ = std::string(shown) + " cannot be combined with " + outputShown_;
            return false;
        }
        if (options_.output == kind && kind == OutputKind::Destination) {
            error_ = "only one output may be given";
            return false;
        }
        options_.output = kind;
        outputShown_ = shown;
        return true;
    }

    void chooseMode() {
        ConversionMode &mode = options_.mode;
        mode.lineEnds = LineEnds::Kept;
        if (options_.fixedSpaces) {
            mode.rule = TabRule::FixedSpaces;
            mode.spaces = static_cast<std::size_t>(options_.fixedSpaces);
            return;
        }
        mode.rule = TabRule::TabStops;
        if (options_.tabStops.empty()) return;
        std::string reason;
        if (const auto stops = parseTabStops(options_.tabStops, reason))
            mode.stops = *stops;
        else
            error_ = reason;
    }

    void checkCombination() {
        if (options_.userPathChange != UserPathChange::None && !options_.inputs.empty()) {
            error_ = "a change of the user's PATH takes no files";
            return;
        }
        if (options_.fixedSpaces && !options_.tabStops.empty()) {
            error_ = "--spaces cannot be combined with --tabs";
            return;
        }
        const bool noInputs =
            options_.inputs.empty() || (options_.inputs.size() == 1 && options_.inputs.front() == "-");
        if (!noInputs &&
            std::find(options_.inputs.begin(), options_.inputs.end(), "-") != options_.inputs.end())
            error_ = "standard input ('-') cannot be mixed with files";
        else if (options_.output == OutputKind::InPlace && noInputs)
            error_ = "--in-place needs files to replace";
    }

    const std::vector<std::string> &arguments_;
    const InputNames &names_;
    std::size_t index_ = 0;
    ConsoleOptions options_;
    std::string error_;
    std::string outputShown_;
    bool onlyInputs_ = false;
};

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments, const InputNames &names) {
    return Parser(arguments, names).run();
}
