#include "bench/benchpages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tools/demo-site/demohits.h"
#include "tools/demo-site/demopages.h"

namespace lq::bench {
namespace {

constexpr std::string_view kListStart = "<div class=\"catlist\">\n";
constexpr std::string_view kListEnd = "</div>\n<div class=\"pager\">";
constexpr std::string_view kRowStart = "<div class=\"catlist-li\">";
constexpr std::string_view kSizedInfo = "<i></i> \xE4\xB8\x8B\xE8\xBD\xBD";     // "<i></i> 下载"
constexpr std::string_view kSizelessInfo = "info\"> \xE4\xB8\x8B\xE8\xBD\xBD";  // "info"> 下载"

// Keywords a user would type; each gives up to the site's page limit of distinct hits.
constexpr std::array<std::string_view, 6> kKeywords = {
    "\xE4\xB8\x89\xE4\xBD\x93",                          // 三体
    "\xE7\xBA\xA2\xE6\xA5\xBC\xE6\xA2\xA6",              // 红楼梦
    "\xE5\xAE\xAB\xE5\xB4\x8E\xE9\xAA\x8F",              // 宫崎骏
    "\xE8\x80\x83\xE7\xA0\x94\xE8\x8B\xB1\xE8\xAF\xAD",  // 考研英语
    "\xE7\xBA\xAA\xE5\xBD\x95\xE7\x89\x87",              // 纪录片
    "\xE4\xB8\xAD\xE5\x9B\xBD\xE9\x80\x9A\xE5\x8F\xB2",  // 中国通史
};

[[noreturn]] void GeneratorBroken(const char* what) {
    std::fprintf(stderr, "benchpages: the demo site's result page has no %s\n", what);
    std::abort();
}

struct PageParts {
    std::string head;  // up to and including the list's opening tag
    std::string rows;
    std::string tail;  // from the list's closing tag: pager and footer
};

PageParts SplitResultPage(const std::string& page) {
    const std::size_t listStart = page.find(kListStart);
    if (listStart == std::string::npos) GeneratorBroken("hit list");
    const std::size_t rowsStart = listStart + kListStart.size();
    const std::size_t listEnd = page.find(kListEnd, rowsStart);
    if (listEnd == std::string::npos) GeneratorBroken("pager after the hit list");
    return {page.substr(0, rowsStart), page.substr(rowsStart, listEnd - rowsStart),
            page.substr(listEnd)};
}

// The first count rows of a block of rows (each starts with kRowStart).
std::string FirstRows(const std::string& rows, int count) {
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) {
        at = rows.find(kRowStart, at);
        if (at == std::string::npos) return rows;
        at += kRowStart.size();
    }
    const std::size_t next = rows.find(kRowStart, at);
    return next == std::string::npos ? rows : rows.substr(0, next);
}

std::string ForcedKeyword(std::string_view keyword, int pages) {
    return std::string(keyword) + "#p" + std::to_string(pages);
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string replaced;
    replaced.reserve(text.size() + text.size() / 8);
    std::size_t copied = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, copied)) {
        replaced.append(text, copied, at - copied);
        replaced.append(to);
        copied = at + from.size();
    }
    replaced.append(text, copied);
    text = std::move(replaced);
}

}  // namespace

std::string ResultPageWithHits(int hitCount) {
    using demosite::kHitsPerPage;
    using demosite::kMaxPageCount;
    const int pagesNeeded = std::max(1, (hitCount + kHitsPerPage - 1) / kHitsPerPage);
    const int firstKeywordPages = std::min(pagesNeeded, kMaxPageCount);
    const PageParts first =
        SplitResultPage(demosite::ResultPage(ForcedKeyword(kKeywords[0], firstKeywordPages), 1));

    std::string rows;
    int rowsLeft = hitCount;
    for (std::size_t k = 0; k < kKeywords.size() && rowsLeft > 0; ++k) {
        const int pages = std::min((rowsLeft + kHitsPerPage - 1) / kHitsPerPage, kMaxPageCount);
        const std::string keyword = ForcedKeyword(kKeywords[k], pages);
        for (int page = 1; page <= pages && rowsLeft > 0; ++page) {
            const PageParts parts = SplitResultPage(demosite::ResultPage(keyword, page));
            const int take = std::min(rowsLeft, kHitsPerPage);
            rows += take == kHitsPerPage ? parts.rows : FirstRows(parts.rows, take);
            rowsLeft -= take;
        }
    }
    if (rowsLeft > 0) {
        std::fprintf(stderr, "benchpages: at most %d hits can be made\n", hitCount - rowsLeft);
        std::abort();
    }
    return first.head + rows + first.tail;
}

std::string UnclosedOpeningsPage(int openings) {
    const PageParts frame = SplitResultPage(demosite::ResultPage(kKeywords[0], 1));
    std::string rows;
    const demosite::DemoQuery query = demosite::ParseDemoKeyword(ForcedKeyword(kKeywords[0], 1));
    const std::vector<demosite::DemoHit> hits = demosite::DemoHits(query, 1);
    for (int i = 0; i < openings; ++i) {
        const demosite::DemoHit& hit = hits[static_cast<std::size_t>(i) % hits.size()];
        rows += "<div class=\"catlist-li\"><div class=\"catlist-li-title\"><a href=\"/t/";
        rows += hit.shareId;
        rows += "\" target=\"_blank\" title=\"";
        rows += demosite::HtmlEscape(hit.name);
        rows += "\">";
        rows += demosite::HtmlEscape(hit.name);
        rows += "\n";
    }
    return frame.head + rows + frame.tail;
}

std::string BarredInfoLinesPage(int hitCount) {
    std::string page = ResultPageWithHits(hitCount);
    const std::string sizedBarred = "<i></i> | \xE4\xB8\x8B\xE8\xBD\xBD";
    const std::string sizelessBarred = "info\"> | \xE4\xB8\x8B\xE8\xBD\xBD";
    ReplaceAll(page, kSizedInfo, sizedBarred);
    ReplaceAll(page, kSizelessInfo, sizelessBarred);
    return page;
}

std::string BarredButLastPage(int hitCount) {
    std::string page = BarredInfoLinesPage(hitCount);
    const std::size_t sized = page.rfind("<i></i> | \xE4\xB8\x8B");
    const std::size_t sizeless = page.rfind("info\"> | \xE4\xB8\x8B");
    const std::size_t last = sized == std::string::npos      ? sizeless
                             : sizeless == std::string::npos ? sized
                                                             : std::max(sized, sizeless);
    if (last == std::string::npos) GeneratorBroken("information line");
    const std::size_t bar = page.find(" | ", last);
    page.erase(bar, 2);  // " | X" becomes " X"
    return page;
}

std::size_t CountHitRows(const std::string& page) {
    std::size_t count = 0;
    for (std::size_t at = page.find(kRowStart); at != std::string::npos;
         at = page.find(kRowStart, at + kRowStart.size())) {
        ++count;
    }
    return count;
}

}  // namespace lq::bench
