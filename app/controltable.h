// The window as data: the window's own properties and its 25 controls, one row each, and the
// columns of the results list. The builder walks these tables; nothing else places a control.
#pragma once

#include <span>
#include <string_view>

namespace lq {

enum class ControlKind {
    Label,        // 标签
    EditBox,      // 编辑框
    Button,       // 按钮
    CheckBox,     // 选择框
    TabControl,   // 选择夹
    ListView,     // 超级列表框
    StatusBar,    // 状态条
    ProgressBar,  // 进度条
    SuperButton,  // 超级按钮
};

// The kind's name as the window definition writes it (UTF-8), e.g. "标签".
std::string_view KindName(ControlKind kind);

// Where a control's text comes from: the table itself or one of the fixed settings.
enum class TextSource {
    Literal,
    DonationAccount,      // the account text
    OfficialSiteCaption,  // the official site's address + "(官方)"
    NewsSiteCaption,      // the news site's address + "(IT资讯站)"
};

// Initial state and style bits of a control.
enum ControlStyle : unsigned {
    kPlain = 0,
    kHidden = 1u << 0,
    kChecked = 1u << 1,
    kReadOnly = 1u << 2,
    kRedText = 1u << 3,
    kWordWrap = 1u << 4,
    kCentred = 1u << 5,
    kLinkLook = 1u << 6,  // a super button drawn as a link
};

inline constexpr std::string_view kWindowParent = "";

struct ControlRow {
    std::string_view name;  // also the widget's objectName (UTF-8)
    ControlKind kind;
    std::string_view parent;  // kWindowParent or the tab control's name
    int page;                 // tab page index, -1 for a control on the window
    int left, top;            // in the parent's coordinates (the tab control's for page controls)
    int width, height;
    std::string_view text;  // UTF-8; a tab control's page captions are separated by '|'
    TextSource textSource;
    unsigned style;
};

struct WindowProperties {
    std::string_view title;
    int clientWidth, clientHeight;
    int outerWidth, outerHeight;  // with the classic frame; the desktop's frame adds the rest
};

struct ListColumn {
    std::string_view heading;  // UTF-8
    int width;
};

const WindowProperties& MainWindowProperties();
std::span<const ControlRow> MainWindowControls();
std::span<const ListColumn> ResultListColumns();
// The row of the named control, or nullptr.
const ControlRow* FindControlRow(std::string_view name);

inline constexpr int kAddressColumn = 4;

}  // namespace lq
