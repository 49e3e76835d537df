// The demo site's pages in the share-search site's markup: result pages, go pages, share pages,
// the top list and the notice. Pure functions of their arguments; all texts UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lq::demosite {

// Result page `page` for a keyword (see ParseDemoKeyword for the "#pN" suffix). A page beyond
// the keyword's page count carries no hits and no pager.
std::string ResultPage(std::string_view utf8Keyword, int page);
// The redirect page whose script sends the browser on to shareAddress.
std::string GoPage(std::string_view shareAddress);
// The hit's own page on the site (what its result link opens) and the share itself.
std::string DetailPage(std::string_view shareId);
std::string SharePage(std::string_view shareId);
std::string HomePage();
std::string NotFoundPage();

// The top list: more than 100 titles, some holding "?" and one holding "&".
const std::vector<std::string>& TopTitles();
std::string TopPage();

// The notice file: a welcome sentence, free of the digit pairs that would hide it.
std::string NoticeText();

// Helpers the pages share, exposed for tests.
std::string HtmlEscape(std::string_view text);
std::string PercentEncode(std::string_view text);  // every byte but A-Z a-z 0-9 - . _ ~

}  // namespace lq::demosite
