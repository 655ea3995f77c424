#include "window/accessibility.h"

#include "wide_text.h"

#include <objbase.h>
#include <oleacc.h>

namespace {

// The identifiers of oleacc.h, here so that the program needs no import library for them.
constexpr CLSID accPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID accPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID accessibleNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

} // namespace

SystemAccessibility::SystemAccessibility() = default;

SystemAccessibility::~SystemAccessibility() {
    if (services_) services_->Release();
}

bool SystemAccessibility::highContrast() const {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Made once: where the system has no such service, every name is refused without asking again.
IAccPropServices *SystemAccessibility::services() {
    if (tried_) return services_;
    tried_ = true;
    void *made = nullptr;
    if (SUCCEEDED(CoCreateInstance(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                   accPropServicesInterface, &made)))
        services_ = static_cast<IAccPropServices *>(made);
    return services_;
}

// The name belongs to the control's client object, as a screen reader asks the control for it.
bool SystemAccessibility::setControlName(HWND control, const std::string &name) {
    IAccPropServices *annotation = services();
    if (!annotation) return false;
    return SUCCEEDED(annotation->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                accessibleNameProperty, toWide(name).c_str()));
}

void SystemAccessibility::clearControlName(HWND control) {
    IAccPropServices *annotation = services();
    if (!annotation) return;
    MSAAPROPID property = accessibleNameProperty;
    annotation->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property, 1);
}
