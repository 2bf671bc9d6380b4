#pragma once

#include <span>
#include <string_view>

namespace quarvel {

// Control identifiers of the three dialogs; 1 and 2 are the dialog manager's OK and Cancel.
enum ControlId : int {
    NoControlId = -1,
    OkButtonId = 1,
    CancelButtonId = 2,
    ProgressFrameId = 1001,
    FilePathBoxId = 1002,
    BrowseButtonId = 1003,
    PortListId = 1004,
    ChannelListId = 1005,
    HelpButtonId = 1006,
    GoButtonId = 1007,
    MessageListId = 1009,
};

enum class ControlKind {
    Edit,
    PushButton,
    DefaultPushButton,
    DropDownList,
    ListBox,
    LeftText,
    CentredText,
    GroupBox,
    BlackFrame,
};

// A rectangle in dialog units: x and width in quarters, y and height in eighths of the dialog
// font's average character cell.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = NoControlId;
    ControlKind kind = ControlKind::LeftText;
    std::string_view caption;
    // For drop-down lists the height is the dropped-down one.
    DialogRect rect;
    std::span<const std::string_view> items;
};

// One dialog as its template gives it; the controls are in tab order.
struct DialogTemplate {
    int id = 0;
    std::string_view title;
    int width = 0;
    int height = 0;
    std::string_view fontFamily;
    int pointSize = 0;
    std::span<const ControlTemplate> controls;
};

extern const DialogTemplate loaderDialogTemplate;
extern const DialogTemplate loadingDialogTemplate;
extern const DialogTemplate retryDialogTemplate;

} // namespace quarvel
