// The share-search site's page format: addresses it answers, and the pager, hits and go
// targets read out of its pages.
#include "search/sharesite.h"

#include <climits>

#include "regex/regexobject.h"
#include "search/settings.h"
#include "text/codepage.h"
#include "text/gbktext.h"
#include "text/urlencode.h"

namespace lq {

// The hit pattern as GBK text. The Chinese words are written as bytes (each literal piece ends
// after its escapes so that a following letter cannot extend a hex escape):
//   CE C4 BC FE B4 F3 D0 A1 A3 BA  file size + full-width colon
//   CF C2 D4 D8 B4 CE CA FD A3 BA  download count + full-width colon
//   E4 AF C0 C0 B4 CE CA FD A3 BA  view count + full-width colon
// The " | " in the size group is an alternation: the size segment and one space, or one space.
const std::string kResultRowPattern =
    "<a href=\"/t/([0-9a-zA-Z]{1,})\" target=\"_blank\" title=\"(.*?)\">([\\s\\S]*?)</a></div>"
    "<div class=\"catlist-li-info\">("
    "\xCE\xC4\xBC\xFE\xB4\xF3\xD0\xA1\xA3\xBA"
    "([0-9a-zA-Z.]{1,})<i></i> | )"
    "\xCF\xC2\xD4\xD8\xB4\xCE\xCA\xFD\xA3\xBA"
    "([0-9]{1,}) <i></i>"
    "\xE4\xAF\xC0\xC0\xB4\xCE\xCA\xFD\xA3\xBA"
    "[0-9]{1,}</div>";

namespace {

constexpr std::string_view kGoTargetStart = "location.href='";
constexpr std::string_view kGoTargetEnd = "';";

// A run of ASCII digits as a page number. The site may print a number past the 32-bit range:
// it is clamped to INT_MAX rather than overflowing. A clamped count is harmless, since a run
// stops at the first page without hits.
int ReadPageNumber(std::string_view digits) {
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        const int digit = c - '0';
        if (value > (INT_MAX - digit) / 10) return INT_MAX;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

std::string ResultPageText(const Bytes& body) { return Utf8ToGbk(TextBeforeZero(body)); }

std::string GoPageText(const Bytes& body) { return TextBeforeZero(body); }

std::string SearchAddressStem(std::string_view keyword) {
    return CurrentSettings().shareSiteBase +
           "/s/?kw=" + UrlEncode(keyword, /*keepUnreserved=*/true, /*asUtf8=*/true) + "&page=";
}

std::string SearchPageAddress(std::string_view keyword, int pageNumber) {
    return SearchAddressStem(keyword) + std::to_string(pageNumber);
}

int ExtractPageCount(RegexObject& regex, std::string_view pageText) {
    // A failed Create leaves no matches, which falls through to the count of 1.
    regex.Create(kPageCountPattern, pageText, /*caseSensitive=*/false, /*multiline=*/false,
                 /*global=*/true, /*expandQuotes=*/true);
    // The pager's last number decides, not its largest.
    int pageCount = 0;
    const int matches = regex.MatchCount();
    for (int i = 1; i <= matches; ++i) pageCount = ReadPageNumber(regex.SubMatchText(i, 1));
    return pageCount == 0 ? 1 : pageCount;
}

std::vector<SearchResult> ExtractResults(RegexObject& regex, std::string_view pageText) {
    std::vector<SearchResult> hits;
    if (!regex.Create(kResultRowPattern, pageText, /*caseSensitive=*/false, /*multiline=*/true,
                      /*global=*/true, /*expandQuotes=*/true)) {
        return hits;
    }
    const int matches = regex.MatchCount();
    hits.reserve(static_cast<std::size_t>(matches > 0 ? matches : 0));
    for (int i = 1; i <= matches; ++i) {
        SearchResult hit;
        hit.shareId = regex.SubMatchText(i, 1);
        hit.resourceName = regex.SubMatchText(i, 2);
        hit.fileSize = regex.SubMatchText(i, 5);  // "" when the page gives no size
        hit.downloadCount = regex.SubMatchText(i, 6);
        hits.push_back(std::move(hit));
    }
    return hits;
}

std::string GoPageAddress(std::string_view shareId) {
    std::string address = CurrentSettings().shareSiteBase + "/go/";
    address += shareId;
    return address;
}

std::string ExtractGoTarget(std::string_view goPageText) {
    return TextBetween(goPageText, kGoTargetStart, kGoTargetEnd);
}

}  // namespace lq
