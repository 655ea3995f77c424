// The failed-files window: the inputs a verification pass could not handle, and saving them to
// the error log.
//
// The design's names and the C++ names:
//   frmError                FrmError
//   List2, List2_MouseMove  failedFilesList, failedListMouseMove
//   cmdSave, cmdSave_Click  saveButton, saveClicked
//   (frmMain) itemIsInList  lists
#pragma once

#include "failed/failure_window.h"
#include "window/controls.h"
#include "window/mouse_watch.h"

#include <cstdint>
#include <string>
#include <vector>

class FrmError final : public FailureWindow, private MouseListener {
public:
    // Loads the window hidden, with an empty list; its messages go through the desktop.
    FrmError(Desktop &desktop, Accessibility &accessibility, HWND owner);
    const char *formName() const override { return "frmError"; }

    // The failed inputs it lists, in the order they were added.
    void addFailedFile(const std::string &path);
    bool lists(const std::string &path) const;
    std::vector<std::string> failedFiles() const;
    int32_t failedFileCount() const;
    void clearFailedFiles();
    // The list is drawn once after a long fill: it does not draw while the answer lives.
    DrawingPaused pauseListDrawing() { return DrawingPaused(controls_.failedFilesList.hwnd()); }

    // What a person does on the window.
    void saveClicked();
    void failedListMouseMove(int16_t button, int16_t shift, float x, float y);

private:
    friend class WindowProbe; // the tests' view of the controls

    struct Controls {
        ListBox failedFilesList;
        Button saveButton;
    };
    static constexpr ControlBinding<Controls> controlTable[] = {
        {"List2", &Controls::failedFilesList},
        {"cmdSave", &Controls::saveButton},
    };

    void onClick(HWND control) override;
    void childMouse(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;

    Desktop &desktop_;
    Controls controls_;
};

inline constexpr COLORREF failedEntryColour = 0x000000C0; // dark red
