// Bytes: a response body or any other raw byte sequence, never taken for text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

using Bytes = std::vector<std::uint8_t>;

// The bytes before the first zero byte (all of them when there is none), as a text.
std::string TextBeforeZero(const Bytes& bytes);

inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace lq
