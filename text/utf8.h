// Strict reading of one UTF-8 character, for the edges that walk UTF-8 text themselves (the
// command line's printed rows, the demo site's keywords) and treat every stray byte on its own.
#pragma once

#include <cstddef>
#include <string_view>

namespace lq {

struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 0;  // bytes the character takes; 0 when the bytes there are not one
};

// The well-formed UTF-8 character at text[at] (at < text.size()). Overlong forms, surrogates,
// code points above U+10FFFF and sequences cut short all give length 0.
Utf8Char ReadUtf8Char(std::string_view text, std::size_t at);

}  // namespace lq
