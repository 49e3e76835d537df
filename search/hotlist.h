// The site's hot-search list and the maker's notice: fetched and read at start-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

inline constexpr std::string_view kHotListPattern =
    "<a href=\"/s/\\?kw=(.*?)\" target=\"_blank\" title=\"(.*?)\">";

// Titles of the top list's links, in page order (GBK), as the page gives them.
std::vector<std::string> ExtractHotTitles(std::string_view topPageText);
std::vector<std::string> FetchHotTitles();  // fetch TopListAddress(), then extract
// A title with every "?" removed: the caption of its button and the keyword it searches.
std::string CleanHotTitle(std::string_view title);

// The notice text when it may be shown (it holds neither "50" nor "40"), else nothing.
std::optional<std::string> NoticeToShow(std::string_view noticeText);
std::string FetchNoticeText();  // fetch NoticeAddress(); body to GBK text

}  // namespace lq
