// Small helpers shared by the fuzz targets: cutting one fuzzer input into several texts and
// failing loudly (abort, so libFuzzer keeps the input) when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lq::fuzz {

// Aborts with the property's description: libFuzzer then saves the input as a crash file.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every "\x01\x02" into at most count pieces (the last takes the rest). Two
// bytes rather than one, so that a single 0x01 inside a text stays an ordinary byte.
inline std::vector<std::string> Pieces(std::string_view input, std::size_t count) {
    constexpr std::string_view kCut = "\x01\x02";
    std::vector<std::string> pieces;
    while (pieces.size() + 1 < count) {
        const std::size_t at = input.find(kCut);
        if (at == std::string_view::npos) break;
        pieces.emplace_back(input.substr(0, at));
        input.remove_prefix(at + kCut.size());
    }
    pieces.emplace_back(input);
    pieces.resize(count);
    return pieces;
}

// The text before its first zero byte, as every text of the program ends there.
inline std::string_view BeforeZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
inline bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            const unsigned char min = k == 1 ? low : 0x80;
            const unsigned char max = k == 1 ? high : 0xBF;
            if (next < min || next > max) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace lq::fuzz
