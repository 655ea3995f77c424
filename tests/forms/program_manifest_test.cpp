// The program's own manifest, as its resource holds it (these tests are built with the program's
// resources).
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
    ASSERT_FALSE(manifest.empty());
    const auto trust = manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    ASSERT_NE(trust, std::string::npos);
    const auto level = manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>");
    ASSERT_NE(level, std::string::npos);
    EXPECT_GT(level, trust);
    EXPECT_LT(level, manifest.find("</trustInfo>"));
    const auto compatibility =
        manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    ASSERT_NE(compatibility, std::string::npos);
    for (const char *system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) // Windows 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>", compatibility),
                  std::string::npos)
            << system;
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
