// Fuzzes reading the site's pages from arbitrary bytes: the pager, the hits and the go target.
// Every hit has a share id of ASCII letters and digits, a one-line title, a size of letters,
// digits and points and a download count of digits; the page count is at least 1; the go target
// is a piece of the page, and it is opened only when it is a plain http or https address.
#include <string>

#include "fuzz/fuzzsupport.h"
#include "regex/regexobject.h"
#include "search/openresult.h"
#include "search/sharesite.h"
#include "text/gbktext.h"

namespace {

using lq::fuzz::Require;

bool AllOf(std::string_view text, bool (*allowed)(char)) {
    for (const char c : text) {
        if (!allowed(c)) return false;
    }
    return true;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSizeChar(char c) { return IsAlnum(c) || c == '.'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256 * 1024) return 0;
    const lq::Bytes body(data, data + size);
    // One regex object for the whole process, as a run keeps one for all its pages.
    static lq::RegexObject regex;

    const std::string pageText = lq::ResultPageText(body);
    Require(pageText.find('\0') == std::string::npos, "page text ends before any zero byte");
    Require(lq::ExtractPageCount(regex, pageText) >= 1, "the page count is at least 1");

    const std::vector<lq::SearchResult> hits = lq::ExtractResults(regex, pageText);
    std::size_t from = 0;
    for (const lq::SearchResult& hit : hits) {
        Require(!hit.shareId.empty() && AllOf(hit.shareId, IsAlnum),
                "a share id is ASCII letters and digits");
        Require(hit.resourceName.find('\n') == std::string::npos, "a title holds no line feed");
        Require(AllOf(hit.fileSize, IsSizeChar), "a size is letters, digits and points");
        Require(!hit.downloadCount.empty() && AllOf(hit.downloadCount, IsDigit),
                "a download count is digits");
        // Hits come in page order: each one's link lies after the previous one's.
        // The pattern ignores case, so the page may write the link as "/T/".
        const std::string link = "/t/" + hit.shareId + "\"";
        const int at = lq::FindText(pageText, link, static_cast<int>(from) + 1, true);
        Require(at != -1, "each hit's link is in the page, in page order");
        from = static_cast<std::size_t>(at - 1) + link.size();
        const std::string goAddress = lq::GoPageAddress(hit.shareId);
        Require(goAddress.ends_with("/go/" + hit.shareId), "the go address ends in the share id");
    }

    const std::string goText = lq::GoPageText(body);
    Require(goText == lq::fuzz::BeforeZero(lq::fuzz::AsText(data, size)),
            "go page text is the bytes before the first zero byte");
    const std::string target = lq::ExtractGoTarget(goText);
    Require(target.empty() || goText.find("location.href='" + target + "';") != std::string::npos,
            "the go target stands between its markers in the page");
    // What opening would do with it: only a web address without spaces or controls.
    if (lq::IsWebAddress(target)) {
        Require(target.size() >= 8, "a web address has a scheme and a host");
        for (const char c : target) {
            const auto byte = static_cast<unsigned char>(c);
            Require(byte > 0x20 && byte != 0x7F, "an address to open holds no space or control");
        }
    }
    return 0;
}
