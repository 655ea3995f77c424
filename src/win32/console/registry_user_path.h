// The user's PATH in the registry (user_path.h) as the console program changes it.
#pragma once

#include "user_path_setting.h"

class RegistryUserPath : public UserPathSetting {
public:
    void add(const std::string &folder) override;
    void remove(const std::string &folder) override;
};
