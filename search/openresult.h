// Resolving a result's address for opening: a go address is fetched and its target taken;
// only an http or https address is ever handed on.
#pragma once

#include <stop_token>
#include <string>
#include <string_view>

namespace lq {

// True for an address that starts with "http://" or "https://" (any case), has a host, and holds
// no space or control character anywhere.
bool IsWebAddress(std::string_view address);
// The address to open for a row's address cell (GBK), or "" when nothing may be opened.
std::string ResolveForOpening(std::string_view address, std::stop_token stop = {});

}  // namespace lq
