// The shell's folder dialog, driven by a FolderDialogRequest.
#pragma once

#include "desktop/desktop.h"

bool runFolderDialog(FolderDialogRequest &request);
