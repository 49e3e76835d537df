#include "app/eventbindings.h"

#include <array>

namespace lq {
namespace {

using E = ControlEvent;
using A = WindowAction;

constexpr std::array kBindings{
    EventBinding{"", E::Created, A::StartUp},
    EventBinding{"按钮1", E::Clicked, A::StartSearch},
    EventBinding{"超级列表框1", E::DoubleClicked, A::OpenSelectedResult},
    EventBinding{"超级按钮1", E::Clicked, A::HotKeywordClick},  // and every clone of it
    EventBinding{"超级按钮3", E::Clicked, A::OpenOfficialSite},
    EventBinding{"超级按钮2", E::Clicked, A::OpenNewsSite},
    EventBinding{"按钮2", E::Clicked, A::OpenGroupJoinLink},
    EventBinding{"按钮3", E::Clicked, A::OpenDonationPage},
    EventBinding{"编辑框2", E::LeftButtonReleased, A::CopyDonationAccount},
};

}  // namespace

std::span<const EventBinding> MainWindowBindings() { return kBindings; }

}  // namespace lq
