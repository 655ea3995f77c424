// The program's own files beside a user's files on POSIX (their names are own_file_names.h, measured
// in bytes as NAME_MAX is), and putting right what a program that was ended in the middle of a
// replace left in a folder.
#pragma once

#include "posix_calls.h"

#include <string>

// "~qm<this process's id>-<number>".
std::string ownFileStem();

// Whether a process of that id runs now (one of another user's included; one that has ended but not
// yet been waited for too). An id that no POSIX process can have runs nowhere.
bool processIsRunning(unsigned long processId);

// In the folder, what processes that no longer run left of their replaces: every temporary file of
// theirs is removed. A replace here leaves no backup (rename(2) replaces in one step), but a folder
// shared with Windows may hold one: a destination whose name is missing gets its former text back from
// its backup, and every other backup is removed. Only regular files under the very names the program
// makes ("~qm", ".tmp" and ".bak" in small letters) are touched; failures are passed over: what cannot
// be put right stays as it was.
void recoverLeftovers(const std::string &folder, PosixCalls &calls);
