// The system's open and save dialogs, driven by a FileDialogRequest.
#pragma once

#include "desktop/desktop.h"

bool runFileDialog(FileDialogRequest &request);
