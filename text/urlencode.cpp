// Percent-encoding of a keyword for the query string of a search address.
#include "text/urlencode.h"

#include "text/codepage.h"

namespace lq {

namespace {

bool IsKeptUnreserved(unsigned char byte) {
    return byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
           (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

}  // namespace

std::string UrlEncode(std::string_view gbk, bool keepUnreserved, bool asUtf8) {
    const std::size_t zero = gbk.find('\0');
    if (zero != std::string_view::npos) gbk = gbk.substr(0, zero);
    if (gbk.empty()) return {};
    const std::string bytes = asUtf8 ? GbkToUtf8(gbk) : std::string(gbk);
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (keepUnreserved && IsKeptUnreserved(byte)) {
            encoded.push_back(ch);
        } else {
            encoded.push_back('%');
            encoded.push_back(kHexDigits[byte >> 4]);
            encoded.push_back(kHexDigits[byte & 0x0F]);
        }
    }
    return encoded;
}

}  // namespace lq
