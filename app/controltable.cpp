#include "app/controltable.h"

#include <array>

namespace lq {
namespace {

constexpr WindowProperties kWindow{"LumaquestV0.2", 603, 468, 609, 496};

constexpr std::string_view kTabs = "选择夹1";
constexpr int kResults = 0;
constexpr int kHot = 1;
constexpr int kAbout = 2;

using K = ControlKind;
using T = TextSource;

constexpr std::array kControls{
    ControlRow{"标签13", K::Label, kWindowParent, -1, 8, 13, 88, 16, "请输入关键字:", T::Literal,
               kPlain},
    ControlRow{"编辑框1", K::EditBox, kWindowParent, -1, 93, 9, 216, 24, "", T::Literal, kPlain},
    ControlRow{"按钮1", K::Button, kWindowParent, -1, 312, 8, 64, 24, "搜索", T::Literal, kPlain},
    ControlRow{"选择框1", K::CheckBox, kWindowParent, -1, 384, 4, 96, 24, "加快搜索速度",
               T::Literal, kChecked},
    ControlRow{"标签14", K::Label, kWindowParent, -1, 384, 26, 216, 16,
               "搜索无结果请重新搜索或者稍后搜索。", T::Literal, kRedText},
    ControlRow{"选择夹1", K::TabControl, kWindowParent, -1, 2, 46, 599, 379,
               "搜索结果|热门搜索|关于", T::Literal, kPlain},
    ControlRow{"进度条1", K::ProgressBar, kWindowParent, -1, 2, 428, 598, 16, "", T::Literal,
               kPlain},
    ControlRow{"状态条1", K::StatusBar, kWindowParent, -1, 0, 448, 603, 20, "", T::Literal, kPlain},
    ControlRow{"超级列表框1", K::ListView, kTabs, kResults, 0, 20, 598, 358, "", T::Literal,
               kPlain},
    ControlRow{"超级按钮1", K::SuperButton, kTabs, kHot, 14, 34, 56, 16, "超级按钮", T::Literal,
               kHidden},
    ControlRow{"标签2", K::Label, kTabs, kAbout, 12, 29, 56, 24, "常见问题:", T::Literal, kPlain},
    ControlRow{"标签3", K::Label, kTabs, kAbout, 68, 51, 154, 24, "Q1:为什么杀毒软件报毒?",
               T::Literal, kPlain},
    ControlRow{"标签4", K::Label, kTabs, kAbout, 69, 76, 472, 48,
               "A1:因为国产的杀毒软件技术不行,只要是分析不出来的文件都认为是病毒或者风险文件,"
               "甚至某数字卫士还需要程序开发者缴费1800元做程序认证才不报毒.",
               T::Literal, kWordWrap},
    ControlRow{"标签5", K::Label, kTabs, kAbout, 68, 102, 154, 24, "Q2:为什么搜索没结果?",
               T::Literal, kPlain},
    ControlRow{
        "标签6", K::Label, kTabs, kAbout, 69, 126, 472, 40,
        "A2:偶尔搜索引擎大姨妈也是很正常的多点击搜索按钮看看,如果还是没有的话说明你搜索的东西"
        "可能不存在.",
        T::Literal, kWordWrap},
    ControlRow{"标签8", K::Label, kTabs, kAbout, 14, 170, 328, 32,
               "如果你对软件开发或者IT行业有兴趣的话请戳旁边的按钮→", T::Literal, kPlain},
    ControlRow{"按钮2", K::Button, kTabs, kAbout, 344, 173, 120, 24, "一键加群", T::Literal,
               kPlain},
    ControlRow{"标签9", K::Label, kTabs, kAbout, 14, 215, 72, 16, "支付宝账号:", T::Literal,
               kPlain},
    ControlRow{"编辑框2", K::EditBox, kTabs, kAbout, 86, 211, 248, 24, "", T::DonationAccount,
               kReadOnly},
    ControlRow{"按钮3", K::Button, kTabs, kAbout, 343, 210, 120, 24, "捐赠-支付宝", T::Literal,
               kPlain},
    ControlRow{"标签10", K::Label, kTabs, kAbout, 14, 242, 456, 24,
               "金额不限,仅为支持制作更新更多免费软件。", T::Literal, kPlain},
    ControlRow{"标签11", K::Label, kTabs, kAbout, 14, 274, 64, 24, "官方网站：", T::Literal,
               kPlain},
    ControlRow{"超级按钮3", K::SuperButton, kTabs, kAbout, 80, 272, 176, 24, "",
               T::OfficialSiteCaption, kLinkLook},
    ControlRow{"超级按钮2", K::SuperButton, kTabs, kAbout, 267, 271, 176, 24, "",
               T::NewsSiteCaption, kLinkLook},
    ControlRow{"标签7", K::Label, kTabs, kAbout, 14, 310, 520, 24,
               "本软件为免费软件,欢迎分享转载,但是请勿上传淘宝作为商业软件。", T::Literal,
               kRedText | kWordWrap | kCentred},
};

constexpr std::array kColumns{
    ListColumn{"序号", 50},      ListColumn{"资源名(双击打开)", 300},
    ListColumn{"文件大小", 100}, ListColumn{"下载次数", 100},
    ListColumn{"地址", 0},
};

}  // namespace

std::string_view KindName(ControlKind kind) {
    switch (kind) {
        case K::Label:
            return "标签";
        case K::EditBox:
            return "编辑框";
        case K::Button:
            return "按钮";
        case K::CheckBox:
            return "选择框";
        case K::TabControl:
            return "选择夹";
        case K::ListView:
            return "超级列表框";
        case K::StatusBar:
            return "状态条";
        case K::ProgressBar:
            return "进度条";
        case K::SuperButton:
            return "超级按钮";
    }
    return "";
}

const WindowProperties& MainWindowProperties() { return kWindow; }
std::span<const ControlRow> MainWindowControls() { return kControls; }
std::span<const ListColumn> ResultListColumns() { return kColumns; }

const ControlRow* FindControlRow(std::string_view name) {
    for (const ControlRow& entry : kControls) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace lq
