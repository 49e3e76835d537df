// The text work around one exchange: choosing the agent, completing the caller's header block,
// and collecting the cookies a response set.
#pragma once

#include <string>
#include <string_view>

namespace lq {

// The value of a "User-Agent:" line (found without regard to case) up to the next CR LF, trimmed;
// the default agent when the header text has none.
std::string ChooseAgent(std::string_view headerText);

// Adds the default lines the header text lacks (Accept, Referer = the address as written,
// Accept-Language, Content-Type; case-sensitive tests) and a Cookie line for a non-empty cookie
// text, each joined by CR LF.
std::string CompleteHeaderBlock(std::string headerText, std::string_view address,
                                std::string_view cookieText);

// "name=value" of every Set-Cookie line of a raw header block, joined by "; ".
std::string CollectReceivedCookies(std::string_view responseHeaders);

}  // namespace lq
