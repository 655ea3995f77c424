// A window's controls bound from its table of {layout name, member}: each member drives the control of
// its name, and a row that names no control of the layout, or one of another kind, fails at once and
// says which.
#include "win_fixture.h"

#include "window/base_window.h"
#include "window/control_binding.h"
#include "window/tooltips.h"

#include <stdexcept>
#include <string>

namespace {

using K = ControlKind;

constexpr ControlRow layoutTable[] = {
    {"cmdGo", K::Button, "Go", 300, 150, 1500, 405, "", 0, nullptr, layout::GroupStart, 0},
    {"pic1", K::Panel, "", 200, 700, 3500, 1000, "", 1, nullptr, 0, 0},
    {"cboKind", K::DropDownList, "", 45, 400, 720, 315, "pic1", 2, nullptr, 0, 0},
    {"txtPath", K::TextBox, "c:\\", 900, 400, 2000, 285, "pic1", 3, " The path ", 0, 0},
};

struct Sample {
    Button goButton;
    Control panel;
    ComboBox kindBox;
    TextBox pathBox;
};

class SampleWindow final : public BaseWindow {
public:
    SampleWindow() {
        createWindow("QuillmereBindingWindow", "Sample", WS_OVERLAPPED | WS_CAPTION, 0, 4500, 3000, nullptr,
                     96);
        tooltips.attach(hwnd());
        made.create(hwnd(), layoutTable, tooltips, 96);
    }
    // The message of the fault a table makes, or "" when it binds.
    std::string faultOf(std::span<const ControlBinding<Sample>> table) {
        Sample sample;
        try {
            bindControls(sample, table, made, "frmSample", &tooltips, nullptr);
        } catch (const std::logic_error &fault) {
            return fault.what();
        }
        return "";
    }
    Tooltips tooltips;
    TableControls made;
};

TEST(ControlBinding, EachMemberDrivesTheControlOfItsName) {
    SampleWindow window;
    constexpr ControlBinding<Sample> table[] = {
        {"txtPath", &Sample::pathBox},
        {"cmdGo", &Sample::goButton},
        {"pic1", &Sample::panel}, // a plain control takes any kind
        {"cboKind", &Sample::kindBox},
    };
    Sample sample;
    bindControls(sample, std::span(table), window.made, "frmSample", &window.tooltips, nullptr);
    EXPECT_EQ(sample.goButton.hwnd(), window.made.at("cmdGo"));
    EXPECT_EQ(sample.panel.hwnd(), window.made.at("pic1"));
    EXPECT_EQ(sample.kindBox.hwnd(), window.made.at("cboKind"));
    EXPECT_EQ(sample.goButton.caption(), "Go");
    EXPECT_EQ(sample.pathBox.text(), "c:\\");
    EXPECT_EQ(sample.pathBox.toolTipText(), " The path ");
}

TEST(ControlBinding, ARowThatNamesNoControlOrOneOfAnotherKindFailsNamingIt) {
    SampleWindow window;
    constexpr ControlBinding<Sample> misspelt[] = {{"cmdGo", &Sample::goButton},
                                                   {"txtPth", &Sample::pathBox}};
    EXPECT_EQ(window.faultOf(misspelt), "frmSample: the layout has no control named \"txtPth\"");
    constexpr ControlBinding<Sample> wrongKind[] = {{"cboKind", &Sample::pathBox}};
    EXPECT_EQ(window.faultOf(wrongKind),
              "frmSample: the control \"cboKind\" is of another kind than the member bound to it");
    // Names are matched whole and as spelt.
    constexpr ControlBinding<Sample> cased[] = {{"CMDGO", &Sample::goButton}};
    EXPECT_NE(window.faultOf(cased), "");
}

} // namespace
