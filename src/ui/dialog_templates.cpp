#include "ui/dialog_template.h"

#include <array>

namespace quarvel {

namespace {

using K = ControlKind;

constexpr std::array<std::string_view, 2> portItems = {"1", "2"};
constexpr std::array<std::string_view, 17> channelItems = {
    "All", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"};

constexpr std::array<ControlTemplate, 12> loaderControls = {{
    {FilePathBoxId, K::Edit, "", {70, 21, 125, 12}, {}},
    {BrowseButtonId, K::PushButton, "Browse...", {200, 20, 40, 15}, {}},
    {PortListId, K::DropDownList, "", {70, 47, 50, 86}, portItems},
    {ChannelListId, K::DropDownList, "", {190, 47, 50, 60}, channelItems},
    {GoButtonId, K::PushButton, "Go", {93, 90, 69, 13}, {}},
    {HelpButtonId, K::PushButton, "Help", {75, 120, 50, 14}, {}},
    {OkButtonId, K::DefaultPushButton, "Exit", {130, 120, 50, 14}, {}},
    {NoControlId, K::LeftText, "Transfer File :", {10, 23, 45, 8}, {}},
    {NoControlId, K::LeftText, "From Comm Port :", {10, 51, 60, 8}, {}},
    {NoControlId, K::LeftText, "To Midi Channel :", {130, 51, 55, 8}, {}},
    {NoControlId, K::GroupBox, "Setup Transfer", {5, 6, 248, 67}, {}},
    {NoControlId, K::GroupBox, "Transfer", {5, 76, 248, 39}, {}},
}};

constexpr std::array<ControlTemplate, 5> loadingControls = {{
    {MessageListId, K::ListBox, "", {5, 20, 250, 40}, {}},
    {OkButtonId, K::PushButton, "Cancel", {106, 110, 50, 14}, {}},
    {ProgressFrameId, K::BlackFrame, "", {5, 90, 250, 12}, {}},
    {NoControlId, K::CentredText, "Percentage Transferred", {5, 75, 250, 10}, {}},
    {NoControlId, K::CentredText, "Messages", {5, 5, 250, 8}, {}},
}};

constexpr std::array<ControlTemplate, 3> retryControls = {{
    {CancelButtonId, K::PushButton, "Cancel", {40, 30, 50, 14}, {}},
    {OkButtonId, K::DefaultPushButton, "Try Again", {95, 30, 50, 14}, {}},
    {NoControlId,
     K::LeftText,
     "The application could not send some of the data. Would you like it to try sending it "
     "again?",
     {10, 5, 165, 25},
     {}},
}};

} // namespace

const DialogTemplate loaderDialogTemplate = {102, "Loader", 259, 143, "Arial", 8, loaderControls};
const DialogTemplate loadingDialogTemplate = {103, "Loading...",   263, 133, "Arial",
                                              8,   loadingControls};
const DialogTemplate retryDialogTemplate = {105, "Dialog",     187, 50, "MS Sans Serif",
                                            8,   retryControls};

} // namespace quarvel
