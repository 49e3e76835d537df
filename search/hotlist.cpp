// The site's hot-search list and the maker's notice, read once at start-up.
#include "search/hotlist.h"

#include "regex/regexobject.h"
#include "search/settings.h"
#include "search/sharesite.h"
#include "text/gbktext.h"
#include "web/webaccess.h"

namespace lq {

std::vector<std::string> ExtractHotTitles(std::string_view topPageText) {
    std::vector<std::string> titles;
    RegexObject regex;
    if (!regex.Create(kHotListPattern, topPageText, /*caseSensitive=*/false, /*multiline=*/false,
                      /*global=*/true, /*expandQuotes=*/false)) {
        return titles;
    }
    // Group 1 is the link's own keyword parameter; the button shows and searches the title.
    const int matches = regex.MatchCount();
    for (int i = 1; i <= matches; ++i) titles.push_back(regex.SubMatchText(i, 2));
    return titles;
}

std::vector<std::string> FetchHotTitles() {
    return ExtractHotTitles(ResultPageText(WebAccess(TopListAddress())));
}

std::string CleanHotTitle(std::string_view title) { return ReplaceAll(title, "?", ""); }

std::optional<std::string> NoticeToShow(std::string_view noticeText) {
    // The notice file's host answers errors such as 404 or 502 with a page of their own; any
    // text holding either digit pair is taken for one and kept off the status bar.
    if (ContainsText(noticeText, "50") || ContainsText(noticeText, "40")) return std::nullopt;
    return std::string(noticeText);
}

std::string FetchNoticeText() { return ResultPageText(WebAccess(NoticeAddress())); }

}  // namespace lq
