// Names with rules a test can read at a glance, standing in for a platform's: DISCARD is the name
// that throws the output away, DEVICE a device, DEVICE.txt a file that the platform reaches only as
// "./DEVICE.txt", and a quote in an argument is one the system's rules left there. What an argument
// names and a folder's entries come from maps the test fills; any other argument is a file.
#pragma once

#include "app_error.h"
#include "input_names.h"

#include <map>
#include <string>
#include <vector>

class ScriptedNames : public InputNames {
public:
    // What the arguments name (a folder, a pattern), by argument.
    std::map<std::string, NamedInput> given;
    // The entries of each folder by its path, and the folders that fail to list with a given error.
    std::map<std::string, std::vector<FolderEntry>> folders;
    std::map<std::string, std::int32_t> failing;

    bool hasStrayQuote(const std::string &argument) const override {
        return argument.find('"') != std::string::npos;
    }
    bool isNullDevice(const std::string &name) const override { return name == "DISCARD"; }
    bool isBareDevice(const std::string &name) const override { return name == "DEVICE"; }
    std::string asFileName(const std::string &name) const override {
        return name == "DEVICE.txt" ? "./" + name : name;
    }

    bool isSeparator(char c) const override { return c == '/'; }
    std::string joined(const std::string &folder, const std::string &name) const override {
        if (folder.empty()) return name;
        return folder.back() == '/' ? folder + name : folder + "/" + name;
    }
    bool hasExtension(const std::string &name, const std::string &extension) const override {
        const std::string dotted = "." + extension;
        return name.size() > dotted.size() && name.ends_with(dotted);
    }

    NamedInput named(const std::string &argument) override {
        if (const auto found = given.find(argument); found != given.end()) return found->second;
        NamedInput named;
        const std::size_t slash = argument.find_last_of('/');
        named.files.push_back({argument, argument.substr(slash + 1)});
        named.folder = slash == std::string::npos ? "" : argument.substr(0, slash);
        return named;
    }
    std::vector<FolderEntry> entries(const std::string &folder) override {
        if (const auto failure = failing.find(folder); failure != failing.end()) raiseError(failure->second);
        return folders.at(folder);
    }
};
