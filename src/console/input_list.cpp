#include "input_list.h"

#include "app_error.h"

#include <algorithm>

namespace {

class Collector {
public:
    Collector(const std::vector<std::string> &extensions, bool recursive, InputNames &names,
              const BeforeTakingFrom &beforeTakingFrom)
        : extensions_(extensions), recursive_(recursive), names_(names), beforeTakingFrom_(beforeTakingFrom) {
    }

    InputList take(const std::vector<std::string> &arguments) {
        for (const std::string &argument : arguments) add(argument);
        return std::move(list_);
    }

private:
    void add(const std::string &argument) {
        NamedInput named = names_.named(argument);
        switch (named.kind) {
        case NamedInput::Kind::File:
            if (beforeTakingFrom_) beforeTakingFrom_(named.folder);
            list_.files.insert(list_.files.end(), named.files.begin(), named.files.end());
            return;
        case NamedInput::Kind::Folder:
            list_.many = true;
            guarded(named.path, [&] { addFolder(named.path, ""); });
            return;
        case NamedInput::Kind::Pattern:
            list_.many = true;
            if (beforeTakingFrom_) {
                // The platform matched the pattern as it named it: matched again once put right.
                beforeTakingFrom_(named.folder);
                named = names_.named(argument);
            }
            if (named.errorNumber)
                list_.problems.push_back({named.path, named.errorNumber});
            else if (named.files.empty())
                list_.problems.push_back({named.path, err::FileNotFound});
            list_.files.insert(list_.files.end(), named.files.begin(), named.files.end());
            return;
        }
    }

    void addFolder(const std::string &folder, const std::string &relative) {
        if (beforeTakingFrom_) beforeTakingFrom_(folder);
        for (const FolderEntry &entry : names_.entries(folder)) {
            if (entry.folder) {
                if (recursive_ && !entry.linked) {
                    const std::string inner = names_.joined(folder, entry.name);
                    guarded(inner, [&] { addFolder(inner, names_.joined(relative, entry.name)); });
                }
            } else if (hasChosenExtension(entry.name)) {
                list_.files.push_back(
                    {names_.joined(folder, entry.name), names_.joined(relative, entry.name)});
            }
        }
    }

    bool hasChosenExtension(const std::string &name) const {
        return std::any_of(extensions_.begin(), extensions_.end(), [&](const std::string &extension) {
            return names_.hasExtension(name, extension);
        });
    }

    template <class Step> void guarded(const std::string &name, Step step) {
        try {
            step();
        } catch (const AppError &error) {
            list_.problems.push_back({name, error.number});
        }
    }

    const std::vector<std::string> &extensions_;
    bool recursive_;
    InputNames &names_;
    const BeforeTakingFrom &beforeTakingFrom_;
    InputList list_;
};

} // namespace

InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive, InputNames &names, const BeforeTakingFrom &beforeTakingFrom) {
    return Collector(extensions, recursive, names, beforeTakingFrom).take(arguments);
}
