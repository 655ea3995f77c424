// What both programs' manifests must say: run as the invoking user (without a requested execution level
// Windows virtualizes a 32-bit program's writes into protected folders, into the user's VirtualStore),
// and the systems from Windows 7 to 11 named, so that none treats the program as one of an older system.
#pragma once

#include <gtest/gtest.h>

#include <string>

inline void expectAsInvokerOnWindows7To11(const std::string &manifest) {
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
}
