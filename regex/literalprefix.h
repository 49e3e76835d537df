// The literal text that every match of a pattern begins with, so a search can jump from one
// place where a match may start to the next instead of asking the engine at every byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lq {

// The leading literal characters of a pattern in RE2's syntax (UTF-8), or "" when the pattern
// does not begin with one or has an alternation at its top level. Without case sensitivity
// only ASCII characters count and the prefix stops before "k" and "s" (which also match the
// Kelvin sign and the long s); the prefix is then given in lower case.
std::string LiteralPrefix(std::string_view pattern, bool caseSensitive);

// The first offset at or after from where prefix occurs in text (ASCII letters compared
// without case when caseSensitive is false), or npos.
std::size_t FindPrefix(std::string_view text, std::string_view prefix, std::size_t from,
                       bool caseSensitive);

}  // namespace lq
