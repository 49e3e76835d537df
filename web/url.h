// Cutting an address into host, port and request path; text cuts, not a general URL parser.
#pragma once

#include <string>
#include <string_view>

namespace lq {

// True when the first five characters, lower-cased, are "https".
bool IsSecureAddress(std::string_view address);
// The host, lower-cased; with keepPort the ":port" text stays on it.
std::string UrlHost(std::string_view address, bool keepPort = false);
int UrlPort(std::string_view address);
// From the first "/" after the host to the end, in the caller's case; never empty.
std::string UrlPath(std::string_view address);

}  // namespace lq
