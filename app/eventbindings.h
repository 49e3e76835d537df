// Which event of which control runs which action. Every event not listed here runs no code of
// the program: typing or Enter in the keyword box, tab changes, header clicks, closing.
#pragma once

#include <span>
#include <string_view>

namespace lq {

enum class ControlEvent {
    Created,  // the window, once, before it is shown
    Clicked,
    DoubleClicked,  // anywhere on the list, not only on a row
    LeftButtonReleased,
};

enum class WindowAction {
    StartUp,
    StartSearch,
    OpenSelectedResult,
    HotKeywordClick,
    OpenOfficialSite,
    OpenNewsSite,
    OpenGroupJoinLink,
    OpenDonationPage,
    CopyDonationAccount,
};

struct EventBinding {
    std::string_view control;  // a name of the control table, or "" for the window
    ControlEvent event;
    WindowAction action;
};

std::span<const EventBinding> MainWindowBindings();

}  // namespace lq
