#include "window/control_names.h"

void ControlNames::give(HWND control, const std::string &name) {
    if (!control) return;
    if (accessibility_.setControlName(control, name)) named_.push_back(control);
}

void ControlNames::takeBackAll() {
    for (HWND control : named_) accessibility_.clearControlName(control);
    named_.clear();
}
