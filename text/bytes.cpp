// Bytes: turning a raw body into the text that stands before its first zero byte.
#include "text/bytes.h"

#include <cstring>

namespace lq {

std::string TextBeforeZero(const Bytes& bytes) {
    if (bytes.empty()) return {};
    const auto* begin = reinterpret_cast<const char*>(bytes.data());
    const void* zero = std::memchr(begin, 0, bytes.size());
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin) : bytes.size();
    return std::string(begin, length);
}

}  // namespace lq
