// The demo site's search results: hits and page counts derived from the keyword alone, so the
// same keyword always gives the same pages. All texts here are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lq::demosite {

inline constexpr int kHitsPerPage = 20;
inline constexpr int kMaxPageCount = 200;

struct DemoHit {
    std::string shareId;    // ASCII letters and digits
    std::string name;       // the resource name, plain text (not yet escaped for HTML)
    std::string size;       // "1.5G", "700M", "23K", or "" for a hit the site shows without size
    std::string downloads;  // decimal
    std::string views;      // decimal
};

// A keyword as the site reads it. A keyword ending in "#pN" (N = 0 to kMaxPageCount) forces N
// result pages; the suffix is not part of the shown keyword. Otherwise the page count is 1 to
// 10, chosen by a hash of the keyword.
struct DemoQuery {
    std::string shownKeyword;  // valid UTF-8, control characters made spaces, bounded length
    int pageCount = 1;
};
DemoQuery ParseDemoKeyword(std::string_view utf8Keyword);

// The hits of one result page: kHitsPerPage for pages 1 to pageCount, none beyond (or below).
// Every seventh hit has no size.
std::vector<DemoHit> DemoHits(const DemoQuery& query, int page);

// A deterministic 64-bit hash of a text (FNV-1a), the seed of everything the site makes up.
unsigned long long DemoHash(std::string_view text);

}  // namespace lq::demosite
