#include "window/control_binding.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

// A fault of the program's own tables. It goes to the error stream too: a window made inside a
// message handler (the About window, the failed-files windows) has its exception dropped at the
// window procedure, and the fault must still be seen.
[[noreturn]] void tableFault(const std::string &text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    throw std::logic_error(text);
}

} // namespace

HWND boundControl(const TableControls &made, const char *windowName, const char *name,
                  bool (*drives)(ControlKind)) {
    const ControlRow *row = made.row(name);
    const HWND control = made.at(name);
    if (!row || !control)
        tableFault(std::string(windowName) + ": the layout has no control named \"" + name + "\"");
    if (!drives(row->kind))
        tableFault(std::string(windowName) + ": the control \"" + name +
                   "\" is of another kind than the member bound to it");
    return control;
}
