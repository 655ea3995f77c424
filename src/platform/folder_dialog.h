// The shell's folder dialog, driven by a FolderDialogRequest.
#pragma once

#include "platform/desktop.h"

bool runFolderDialog(FolderDialogRequest &request);
