// The program's own manifest, as its resource holds it (these tests are built with the program's
// resources).
#include "manifest_checks.h"

#include <gtest/gtest.h>

#include "win.h"

#include <string>

namespace {

// The program's manifest, as its resource holds it (the tests are built with the program's resources).
std::string programManifest() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
    if (!found) return "";
    const char *bytes = static_cast<const char *>(LockResource(LoadResource(self, found)));
    return bytes ? std::string(bytes, SizeofResource(self, found)) : "";
}

// Without a requested execution level Windows virtualizes this 32-bit program's writes to protected
// folders (they land in the user's VirtualStore); the supportedOS entries keep Windows from
// treating it as a program of an older system.
TEST(ProgramManifest, RunsAsInvokerAndNamesWindows7To11) {
    const std::string manifest = programManifest();
    expectAsInvokerOnWindows7To11(manifest);
    // Visual styles and DPI awareness stay.
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(
        manifest.find(
            "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
        std::string::npos);
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "true</longPathAware>"),
              std::string::npos);
}

// Without per-monitor awareness Windows 8.1 and later stretch the windows as a bitmap on a monitor
// whose scale differs from the main one's; Windows 7 reads only dpiAware, which stays.
TEST(ProgramManifest, IsPerMonitorAwareV2WithV1AndSystemAwarenessToFallBackOn) {
    const std::string manifest = programManifest();
    const auto settings = manifest.find("<windowsSettings>");
    ASSERT_NE(settings, std::string::npos);
    const auto awareness = manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                         "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>");
    ASSERT_NE(awareness, std::string::npos);
    EXPECT_GT(awareness, settings);
    EXPECT_LT(awareness, manifest.find("</windowsSettings>"));
}

} // namespace
