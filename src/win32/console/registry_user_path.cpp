#include "console/registry_user_path.h"

#include "user_path.h"
#include "wide_text.h"
#include "win_error.h"

void RegistryUserPath::add(const std::string &folder) {
    if (!changeUserPath(PathChange::Add, toWide(folder))) raiseLastError();
}

void RegistryUserPath::remove(const std::string &folder) {
    if (!changeUserPath(PathChange::Remove, toWide(folder))) raiseLastError();
}
