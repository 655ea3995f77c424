// Work run in a child process, for what must not touch a test's own process: another user's rights,
// mounts of its own. Shared by the POSIX layer's tests and the native console program's.
#pragma once

#include <functional>
#include <string>

// Whether the test runs as root, which no permission bit stops.
bool runningAsRoot();

// Runs the work in a child process and hands back its answer, or "error <number>" where it raised the
// program's error, or "ended: ..." where the child did not finish. The child makes no expectation
// itself: the test checks what it answers.
std::string inChild(const std::function<std::string()> &work);

// In a child: gives up root for the "nobody" user (65534). False where that cannot be done.
bool becomeNobody();
inline constexpr unsigned nobodyUser = 65534;

// In a child: a tmpfs of the size given ("64k") mounted over the folder, in a mount namespace of the
// child's own, so nothing of it outlives the child. "" once mounted; otherwise why it cannot be, for a
// test to skip with.
std::string mountSmallDisk(const std::string &folder, const std::string &size);
