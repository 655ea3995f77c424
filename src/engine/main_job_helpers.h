// What the main window's job procedures share: reading the number box, the program's temporary
// files, the failed-files list and the folder run's progress step.
#pragma once

#include "run/trim_spaces.h"
#include "ui/frm_main.h"

#include <cstdint>
#include <string>
#include <vector>

namespace job {
inline const std::string fileReady = "File is ready!        ";
inline const std::string allDone = "All done!               ";
inline const std::string onClipboard = "Text is available on the Clipboard!      ";
inline const std::string noTextOnClipboard = "There is no text on the Clipboard.       ";
inline const std::string programTitle = "Quillmere";
} // namespace job

// The number of spaces in the number box, as a signed 16-bit integer (13 or 6 when it is none).
int16_t spacesNumber(const FrmMain &frm);

// The program's temporary file of that name in the per-user data folder.
std::string temporaryPath(const std::string &name);

// Removes the program's temporary file when it is there.
void removeTemporary(const std::string &path);

// Adds tEXTO to the failed-files list unless it is there already.
void recordFailedInput(FrmMain &frm);

std::vector<std::string> listEntries(const ListBox &list);
void replaceEntries(ListBox &list, const std::vector<std::string> &entries);

// After each file of a folder pass: the bar's maximum from the hidden count, its value, one yield.
void progressStep(FrmMain &frm, int32_t filesDone);

void showCompletion(const FrmMain &frm, const std::string &text);

// For long work between a job's blocks: lets the window handle its messages (paint, the ignored
// second press) when 50 ms have passed since it last did, so it never waits as long as 100 ms.
class MessagePump {
public:
    void operator()();

private:
    DWORD last_ = GetTickCount();
};
