// Conversions between GBK (code page 936), UTF-8 (65001) and UTF-16, always through UTF-16.
// Input texts end at their first zero byte (or zero unit). Malformed input becomes U+FFFD
// when decoding; a character GBK cannot hold becomes "?". No byte-order mark handling.
#pragma once

#include <string>
#include <string_view>

namespace lq {

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// The characters of the text as UTF-16 units (std::u16string keeps the terminating zero unit
// implicitly). An unknown code page gives an empty result.
std::u16string ToUtf16(std::string_view text, int codePage);
// The units before the first zero unit, encoded in the code page.
std::string FromUtf16(std::u16string_view units, int codePage);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace lq
