// Strict UTF-8 reading: a character is taken only when its whole sequence is well-formed.
#include "text/utf8.h"

namespace lq {

Utf8Char ReadUtf8Char(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000;
    } else {
        return {};
    }
    if (length > text.size() - at) return {};
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return {};
        codePoint = (codePoint << 6) | (byte(at + k) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF) return {};
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return {};
    return {codePoint, length};
}

}  // namespace lq
