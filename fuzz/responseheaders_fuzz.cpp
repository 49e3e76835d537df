// Fuzzes the text work WebAccess does on a response's header block: rewriting "Set-Cookie" in
// any case, collecting the received cookies, merging them into a caller's jar, and reading the
// status and a redirect's Location. A redirect is followed only to an http or https address the
// program can send; cookies come out one per Set-Cookie line, trimmed, without line breaks.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzzsupport.h"
#include "text/gbktext.h"
#include "web/cookies.h"
#include "web/redirect.h"
#include "web/requestheaders.h"
#include "web/requesttarget.h"

namespace {

using lq::fuzz::Require;

// The block as the exchange delivers it: libcurl hands over lines ended by LF, the exchange
// drops the line end, turns a stray CR or zero byte into a space and ends each line with CR LF.
std::string DeliveredBlock(std::string_view raw) {
    std::string block;
    while (!raw.empty()) {
        const std::size_t end = raw.find('\n');
        std::string line(raw.substr(0, end));
        raw.remove_prefix(end == std::string_view::npos ? raw.size() : end + 1);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        for (char& c : line) {
            if (c == '\r' || c == '\0') c = ' ';
        }
        block += line + "\r\n";
    }
    return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16 * 1024) return 0;
    const std::vector<std::string> pieces = lq::fuzz::Pieces(lq::fuzz::AsText(data, size), 3);
    const std::string block = DeliveredBlock(pieces[0]);
    const std::string& requested = pieces[1];
    std::string jar = pieces[2];

    // As WebAccess does it: one spelling of the header name, then the cookies of its lines.
    const std::string headers = lq::ReplaceAll(block, "Set-Cookie", "Set-Cookie", true);
    for (int at = lq::FindText(headers, "set-cookie", 1, true); at != -1;
         at = lq::FindText(headers, "set-cookie", at + 10, true)) {
        Require(headers.compare(static_cast<std::size_t>(at - 1), 10, "Set-Cookie") == 0,
                "every spelling of Set-Cookie is rewritten");
    }
    std::string received = lq::CollectReceivedCookies(headers);
    Require(received.find_first_of("\r\n") == std::string::npos,
            "received cookies hold no line break");
    std::size_t cookieLines = 0;
    // Lines end at every CR LF, whatever byte stands before it.
    for (std::string_view rest = headers; !rest.empty();) {
        const std::size_t end = rest.find("\r\n");
        if (lq::ContainsText(rest.substr(0, end), "Set-Cookie")) ++cookieLines;
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    }
    const std::vector<std::string> items = lq::SplitText(received, "; ");
    Require(items.size() <= cookieLines, "at most one received cookie per Set-Cookie line");
    for (const std::string& item : items) {
        // Only for plain ASCII items: a cookie ending in a lone lead byte pairs with the "; "
        // after it, so such items cannot be told apart again.
        const bool ascii = std::none_of(
            item.begin(), item.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (ascii) Require(lq::TrimSpaces(item) == item, "each received cookie is trimmed");
    }
    lq::MergeCookies(jar, received);
    for (const std::string& item : lq::SplitText(jar, "; ")) {
        Require(!item.ends_with("=deleted"), "the merged jar holds no deleted item");
    }

    const int status = lq::ResponseStatus(block);
    Require(status >= 0 && status <= 999, "a status has at most three digits");
    if (const auto next = lq::RedirectAddress(requested, block)) {
        const std::string lowered = lq::AsciiLower(*next);
        Require(lowered.starts_with("http://") || lowered.starts_with("https://"),
                "a redirect leads only to http or https");
        Require(status == 301 || status == 302 || status == 303 || status == 307 || status == 308,
                "only a redirect status redirects");
        // The exchange follows it only when it can be sent as the program splits it.
        if (const auto target = lq::MakeRequestTarget(*next)) {
            Require(target->port >= 1 && target->port <= 65535, "a followed hop names a real port");
        }
    }
    return 0;
}
