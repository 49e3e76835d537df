#include "tools/demo-site/demopages.h"

#include <algorithm>
#include <array>
#include <set>

#include "tools/demo-site/demohits.h"

namespace lq::demosite {
namespace {

constexpr std::string_view kSiteName = "演示网盘搜索";

std::string PageHead(std::string_view title) {
    std::string head =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    head += title;
    head +=
        "</title>\n<meta name=\"keywords\" content=\"百度云,网盘搜索,资源分享\">\n"
        "<link rel=\"stylesheet\" href=\"/static/site.css\">\n</head>\n<body>\n";
    return head;
}

std::string SiteHeader(std::string_view escapedKeyword) {
    std::string header = "<div class=\"header\"><a href=\"/\" class=\"logo\">";
    header += kSiteName;
    header += "</a>\n<form action=\"/s/\" method=\"get\"><input type=\"text\" name=\"kw\" value=\"";
    header += escapedKeyword;
    header +=
        "\"><input type=\"submit\" value=\"搜索\"></form></div>\n"
        "<div class=\"nav\"><a href=\"/\">首页</a> <a href=\"/top/?b=3\">热门搜索</a> "
        "<a href=\"/vrx.txt\">网站公告</a></div>\n";
    return header;
}

std::string SiteFooter() {
    return "<div class=\"footer\">本站仅提供网盘分享链接的检索服务，所有资源均来自网友公开分享，"
           "版权归原作者所有；如有侵权请联系我们删除。<br>演示站点，数据为本地生成。</div>\n"
           "</body>\n</html>\n";
}

std::string_view ExtensionIcon(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot > 5) return "folder";
    return name.substr(dot + 1);
}

// The name as the link shows it: escaped, the keyword emphasised, a line break after the icon.
std::string LinkInnerMarkup(const DemoHit& hit, std::string_view keyword) {
    std::string inner = "<span class=\"ico ico-";
    inner += ExtensionIcon(hit.name);
    inner += "\"></span>\n";
    const std::size_t at = keyword.empty() ? std::string::npos : hit.name.find(keyword);
    if (at == std::string::npos) {
        inner += HtmlEscape(hit.name);
    } else {
        inner += HtmlEscape(std::string_view(hit.name).substr(0, at));
        inner += "<em>" + HtmlEscape(keyword) + "</em>";
        inner += HtmlEscape(std::string_view(hit.name).substr(at + keyword.size()));
    }
    return inner;
}

// One hit: the link closes its title block and the information line follows at once, as the
// site writes it. Without a size the information line starts with a single space.
std::string HitMarkup(const DemoHit& hit, std::string_view keyword) {
    std::string row = "<div class=\"catlist-li\"><div class=\"catlist-li-title\"><a href=\"/t/";
    row += hit.shareId;
    row += "\" target=\"_blank\" title=\"";
    row += HtmlEscape(hit.name);
    row += "\">";
    row += LinkInnerMarkup(hit, keyword);
    row += "</a></div><div class=\"catlist-li-info\">";
    if (!hit.size.empty()) row += "文件大小：" + hit.size + "<i></i>";
    row += " 下载次数：" + hit.downloads + " <i></i>浏览次数：" + hit.views + "</div></div>\n";
    return row;
}

std::string PagerLink(std::string_view encodedKeyword, int page, std::string_view text) {
    return "<a href=\"/s/?kw=" + std::string(encodedKeyword) + "&amp;page=" + std::to_string(page) +
           "\">" + std::string(text) + "</a>";
}

// The first page, a window around the current one and the last page, each number between its
// own pair of &nbsp;: the last number the pager shows is the page count.
std::string Pager(std::string_view encodedKeyword, int page, int pageCount) {
    std::set<int> shown = {1, pageCount};
    for (int n = std::max(1, page - 3); n <= std::min(pageCount, page + 3); ++n) shown.insert(n);
    std::string pager = "<div class=\"pager\">共 " + std::to_string(pageCount) + " 页\n";
    if (page > 1) pager += PagerLink(encodedKeyword, page - 1, "上一页") + "\n";
    int previous = 0;
    for (const int n : shown) {
        if (n > previous + 1) pager += "<span class=\"gap\">…</span>\n";
        const std::string number = "&nbsp;" + std::to_string(n) + "&nbsp;";
        if (n == page) {
            pager += "<span class=\"current\">" + number + "</span>\n";
        } else {
            pager += PagerLink(encodedKeyword, n, number) + "\n";
        }
        previous = n;
    }
    if (page < pageCount) pager += PagerLink(encodedKeyword, page + 1, "下一页") + "\n";
    pager += "</div>\n";
    return pager;
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
            byte == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string ResultPage(std::string_view utf8Keyword, int page) {
    const DemoQuery query = ParseDemoKeyword(utf8Keyword);
    const std::string escapedKeyword = HtmlEscape(query.shownKeyword);
    const std::vector<DemoHit> hits = DemoHits(query, page);

    std::string html = PageHead(escapedKeyword + "_网盘资源_第" + std::to_string(page) + "页 - " +
                                std::string(kSiteName));
    html += SiteHeader(escapedKeyword);
    if (hits.empty()) {
        html += "<div class=\"tips\">没有找到与“" + escapedKeyword +
                "”相关的分享资源，请换个关键词试试。</div>\n";
        html += SiteFooter();
        return html;
    }
    html += "<div class=\"tips\">为您找到约 " + std::to_string(query.pageCount * kHitsPerPage) +
            " 条与“" + escapedKeyword + "”相关的分享资源，以下是第 " + std::to_string(page) +
            " 页。</div>\n<div class=\"catlist\">\n";
    for (const DemoHit& hit : hits) html += HitMarkup(hit, query.shownKeyword);
    html += "</div>\n";
    html += Pager(PercentEncode(utf8Keyword), page, query.pageCount);
    html += SiteFooter();
    return html;
}

std::string GoPage(std::string_view shareAddress) {
    std::string html = PageHead("正在跳转到分享页面 - " + std::string(kSiteName));
    html += "<p>正在为您跳转到网盘分享页面，如果没有自动跳转，请刷新本页。</p>\n";
    html += "<script type=\"text/javascript\">location.href='";
    html += shareAddress;
    html += "';</script>\n</body>\n</html>\n";
    return html;
}

std::string DetailPage(std::string_view shareId) {
    std::string html = PageHead("资源详情 - " + std::string(kSiteName));
    html += SiteHeader("");
    html += "<div class=\"detail\"><p>分享编号：" + std::string(shareId) +
            "</p>\n<p><a href=\"/go/" + std::string(shareId) +
            "\" rel=\"nofollow\">前往网盘下载</a></p></div>\n";
    html += SiteFooter();
    return html;
}

std::string SharePage(std::string_view shareId) {
    std::string html = PageHead("网盘分享 " + std::string(shareId));
    html += "<h1>网盘分享 " + std::string(shareId) +
            "</h1>\n<p>这是演示站点上的分享页面，真实的网盘分享会在这里显示文件列表。</p>\n"
            "</body>\n</html>\n";
    return html;
}

std::string HomePage() {
    std::string html = PageHead(std::string(kSiteName));
    html += SiteHeader("");
    html += "<p>输入关键词，搜索网友公开分享的网盘资源。</p>\n";
    html += SiteFooter();
    return html;
}

std::string NotFoundPage() {
    return PageHead("页面不存在 - " + std::string(kSiteName)) +
           "<p>您访问的页面不存在。</p>\n</body>\n</html>\n";
}

const std::vector<std::string>& TopTitles() {
    static const std::vector<std::string> titles = [] {
        static constexpr std::array<std::string_view, 24> kSubjects = {
            "三体",     "考研英语",  "Python教程", "高等数学", "雅思真题", "宫崎骏",
            "纪录片",   "周杰伦",    "摄影教程",   "红楼梦",   "日语入门", "健身计划",
            "小学奥数", "Excel技巧", "吉他谱",     "英剧",     "会计实务", "机器学习",
            "围棋",     "中医养生",  "中国通史",   "天文",     "钢琴曲",   "PS教程"};
        static constexpr std::array<std::string_view, 5> kForms = {"", "全集", "怎么下载?", "高清",
                                                                   "电子书"};
        std::vector<std::string> made;
        for (const std::string_view form : kForms) {
            for (const std::string_view subject : kSubjects) {
                made.push_back(std::string(subject) + std::string(form));
            }
        }
        made.insert(made.begin() + 7, "猫和老鼠 Tom&Jerry");
        made.insert(made.begin() + 12, "哪里有好看的电影?");
        return made;
    }();
    return titles;
}

std::string TopPage() {
    std::string html = PageHead("热门搜索 - " + std::string(kSiteName));
    html += SiteHeader("");
    html += "<div class=\"hot-list\"><h2>热门搜索排行</h2>\n<ul>\n";
    int rank = 0;
    for (const std::string& title : TopTitles()) {
        ++rank;
        html += "<li><span class=\"num\">" + std::to_string(rank) + "</span>";
        html += "<a href=\"/s/?kw=" + PercentEncode(title) + "\" target=\"_blank\" title=\"";
        html += title + "\">" + title + "</a>";
        html += "<span class=\"hot\">热度 " + std::to_string(100000 / rank) + "</span></li>\n";
    }
    html += "</ul></div>\n";
    html += SiteFooter();
    return html;
}

std::string NoticeText() {
    return "欢迎使用 "
           "Lumaquest！这里是演示站点的公告：搜索结果均为本地生成的示例数据，祝您使用愉快。";
}

}  // namespace lq::demosite
