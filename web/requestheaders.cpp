// Agent choice, header completion and received-cookie collection for WebAccess.
#include "web/requestheaders.h"

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

std::string CollectReceivedCookies(std::string_view responseHeaders) {
    std::string received;
    for (const std::string& line : SplitText(responseHeaders, "\r\n")) {
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
