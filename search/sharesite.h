// The share-search site's format: search and go addresses, the pager, hits and go targets.
// Pure text work over GBK texts; fetches nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/bytes.h"

namespace lq {

class RegexObject;

inline constexpr std::string_view kPageCountPattern = "&nbsp;([0-9]{1,})&nbsp;";
extern const std::string kResultRowPattern;  // GBK text of the hit pattern

struct SearchResult {
    int sequenceNumber = 0;
    std::string shareId;
    std::string resourceName;
    std::string fileSize;
    std::string downloadCount;
    std::string address;
};

// Result page text: the body up to its first zero byte, converted from UTF-8 to GBK.
std::string ResultPageText(const Bytes& body);
// Go page text: the body up to its first zero byte, unconverted.
std::string GoPageText(const Bytes& body);

// ShareSiteBase + "/s/?kw=" + encoded keyword + "&page=" (the run appends page numbers).
std::string SearchAddressStem(std::string_view keyword);
std::string SearchPageAddress(std::string_view keyword, int pageNumber);
int ExtractPageCount(RegexObject& regex, std::string_view pageText);
std::vector<SearchResult> ExtractResults(RegexObject& regex, std::string_view pageText);
std::string GoPageAddress(std::string_view shareId);
std::string ExtractGoTarget(std::string_view goPageText);

}  // namespace lq
