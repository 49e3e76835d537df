// Reading a response's status and deciding where a redirect leads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lq {

// The status code of a raw header block's status line ("HTTP/1.1 302 Found"), 0 when unreadable.
int ResponseStatus(std::string_view headerBlock);

// For a redirect (301, 302, 303, 307, 308 with a Location line) the absolute address it leads
// to, resolved against the address that was requested. Empty for any other response and for a
// Location of another scheme than http or https: such a redirect is not followed.
std::optional<std::string> RedirectAddress(std::string_view requested,
                                           std::string_view headerBlock);

// Whether the next request of a redirect keeps the method and body (307, 308) or drops the body,
// a POST becoming a GET, as browsers do.
bool RedirectKeepsBody(int status);

}  // namespace lq
