// Agent choice, header completion and received-cookie collection for WebAccess.
#include "web/requestheaders.h"

#include <vector>

#include "text/gbktext.h"
#include "web/webaccess.h"

namespace lq {

std::string ChooseAgent(std::string_view headerText) {
    constexpr std::string_view kMarker = "User-Agent:";
    const int at = FindText(headerText, kMarker, 1, true);
    if (at == -1) return std::string(kDefaultAgent);
    std::string_view value = headerText.substr(static_cast<std::size_t>(at - 1) + kMarker.size());
    value = value.substr(0, value.find("\r\n"));
    return TrimSpaces(value);
}

std::string CompleteHeaderBlock(std::string headerText, std::string_view address,
                                std::string_view cookieText) {
    if (headerText.empty()) {
        headerText = "Accept: */*";
    } else if (!ContainsText(headerText, "Accept:")) {
        headerText += "\r\nAccept: */*";
    }
    if (!ContainsText(headerText, "Referer:")) {
        headerText += "\r\nReferer: ";
        headerText += address;
    }
    if (!ContainsText(headerText, "Accept-Language:")) headerText += "\r\nAccept-Language: zh-cn";
    if (!ContainsText(headerText, "Content-Type:")) {
        headerText += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!cookieText.empty()) {
        headerText += "\r\nCookie: ";
        headerText += cookieText;
    }
    return headerText;
}

namespace {

// The header block's lines, cut at every CR LF byte pair. Not by GBK characters: a header value
// in UTF-8 may end in a byte of 0x80 or more that would pair with the line's CR, and the next
// header line would then become part of this line's cookie (and of the next request's Cookie
// line, had a caller's jar taken it in).
std::vector<std::string_view> HeaderLines(std::string_view block) {
    std::vector<std::string_view> lines;
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back(block);
            break;
        }
        lines.push_back(block.substr(0, end));
        block.remove_prefix(end + 2);
    }
    return lines;
}

}  // namespace

std::string CollectReceivedCookies(std::string_view responseHeaders) {
    std::string received;
    responseHeaders = responseHeaders.substr(0, responseHeaders.find('\0'));
    for (const std::string_view line : HeaderLines(responseHeaders)) {
        if (!ContainsText(line, "Set-Cookie")) continue;
        // Only name=value: attributes after the first ";" are dropped.
        const std::string entry = ContainsText(line, ";")
                                      ? TextBetween(line, "Set-Cookie:", ";")
                                      : ReplaceAll(line, "Set-Cookie:", "", true);
        received += TrimSpaces(entry);
        received += "; ";
    }
    received.resize(received.size() > 2 ? received.size() - 2 : 0);
    return received;
}

}  // namespace lq
