// Percent-encoding of a keyword for a query string.
#pragma once

#include <string>
#include <string_view>

namespace lq {

// keepUnreserved copies A-Z a-z 0-9 "-" "." and encodes every other byte as "%XX" (upper-case);
// without it every byte is encoded. asUtf8 encodes the UTF-8 form of the GBK text.
std::string UrlEncode(std::string_view gbk, bool keepUnreserved = false, bool asUtf8 = false);

}  // namespace lq
