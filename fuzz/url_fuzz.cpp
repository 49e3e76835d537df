// Fuzzes the address cuts (UrlHost, UrlPort, UrlPath) and the request target WebAccess builds
// from them: the host is lower-case and holds no "/", the path starts with "/" and is the tail of
// the address, and an address that is sent at all names a real port and cannot forge a line.
#include <string>

#include "fuzz/fuzzsupport.h"
#include "text/gbktext.h"
#include "web/requesttarget.h"
#include "web/url.h"

namespace {

using lq::fuzz::Require;

bool HasAsciiUpper(std::string_view text) {
    // Only single-byte characters are folded: the second byte of a GBK pair may be a capital.
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            ++at;
        } else if (byte >= 'A' && byte <= 'Z') {
            return true;
        }
    }
    return false;
}

bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::string_view address = lq::fuzz::AsText(data, size);

    const std::string host = lq::UrlHost(address);
    const std::string hostAndPort = lq::UrlHost(address, true);
    Require(!HasAsciiUpper(host) && !HasAsciiUpper(hostAndPort), "UrlHost is lower-cased");
    Require(hostAndPort.starts_with(host), "UrlHost with its port starts with the host");
    Require(host.find(':') == std::string::npos, "UrlHost without keepPort has no port");
    // A "/" that is the second byte of a GBK character belongs to that character.
    Require(lq::FindText(host, "/") == -1 && lq::FindText(hostAndPort, "/") == -1,
            "only a '/' ends the host");

    const int port = lq::UrlPort(address);
    Require(port >= 0, "UrlPort is never negative");
    if (hostAndPort.find(':') == std::string::npos) {
        Require(port == (lq::IsSecureAddress(address) ? 443 : 80), "no port text: the default");
    }

    const std::string path = lq::UrlPath(address);
    Require(!path.empty() && path.front() == '/', "UrlPath starts with '/'");
    // WebAccess cuts the address at its first zero byte before it splits it; UrlPath itself
    // takes the address as given.
    Require(path == "/" || address.ends_with(path), "UrlPath is the tail of the address");

    if (const auto target = lq::MakeRequestTarget(address)) {
        Require(target->port >= 1 && target->port <= 65535, "a sent address names a real port");
        Require(target->port == port, "the target's port is UrlPort");
        Require(target->host == host, "the target's host is UrlHost");
        Require(target->path == path, "the target's path is UrlPath");
        Require(target->secure == lq::IsSecureAddress(address), "TLS exactly for https");
        Require(!target->host.empty(), "a sent address has a host");
        Require(!HasLineBreakOrZero(target->path) && !HasLineBreakOrZero(target->hostLine),
                "no line break or zero byte reaches the request");
        Require(target->hostLine.starts_with("Host: "), "the Host line names the host");
    }
    return 0;
}
