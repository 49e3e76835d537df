// Fuzzes the code-page conversions and UrlEncode. Besides not crashing: the conversions agree
// with the C library's iconv wherever iconv converts the whole input, GBK text that decodes
// cleanly comes back unchanged, every output is well formed, and UrlEncode writes only the
// characters a query string may carry and decodes back to its input.
#include <iconv.h>

#include <cstring>
#include <string>

#include "fuzz/fuzzsupport.h"
#include "text/codepage.h"
#include "text/urlencode.h"

namespace {

using lq::fuzz::BeforeZero;
using lq::fuzz::IsValidUtf8;
using lq::fuzz::Require;

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// The whole of input converted by iconv, or nothing when iconv stops anywhere.
bool IconvAll(const char* to, const char* from, std::string_view input, std::string& output) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    output.assign(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    output.resize(output.size() - outLeft);
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // lower-case hex digits are not allowed either
}

void CheckUrlEncode(std::string_view gbk, bool keepUnreserved, bool asUtf8) {
    const std::string encoded = lq::UrlEncode(gbk, keepUnreserved, asUtf8);
    const std::string_view text = BeforeZero(gbk);
    const std::string expected = asUtf8 ? lq::GbkToUtf8(text) : std::string(text);
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '%') {
            Require(i + 2 < encoded.size(), "UrlEncode: '%' is followed by two hex digits");
            const int high = HexValue(encoded[i + 1]);
            const int low = HexValue(encoded[i + 2]);
            Require(high >= 0 && low >= 0, "UrlEncode: escapes use upper-case hex digits");
            decoded.push_back(static_cast<char>(high * 16 + low));
            i += 2;
            continue;
        }
        const bool unreserved = c == '-' || c == '.' || (c >= '0' && c <= '9') ||
                                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        Require(keepUnreserved && unreserved, "UrlEncode: only A-Z a-z 0-9 - . stay as they are");
        decoded.push_back(c);
    }
    Require(decoded == expected, "UrlEncode: the output decodes to the encoded bytes");
    if (keepUnreserved) {
        // Every byte that may stay, stays: nothing is escaped needlessly.
        for (std::size_t i = 0; i + 2 < encoded.size(); ++i) {
            if (encoded[i] != '%') continue;
            const char byte =
                static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
            const bool unreserved = byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
                                    (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
            Require(!unreserved, "UrlEncode: unreserved bytes are not escaped");
            i += 2;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned flags = data[0];
    const std::string_view input = lq::fuzz::AsText(data + 1, size - 1);
    const std::string_view text = BeforeZero(input);

    // GBK to UTF-8.
    const std::string utf8 = lq::GbkToUtf8(input);
    Require(IsValidUtf8(utf8), "GbkToUtf8 gives well-formed UTF-8");
    std::string oracle;
    if (IconvAll("UTF-8", "CP936", text, oracle)) {
        Require(utf8 == oracle, "GbkToUtf8 agrees with iconv CP936 on text iconv converts whole");
    }
    if (utf8.find(kUtf8Replacement) == std::string::npos) {
        // Text that decoded without a replacement is valid GBK outside the user-defined areas.
        Require(lq::Utf8ToGbk(utf8) == text, "Utf8ToGbk(GbkToUtf8(x)) == x for valid GBK");
    }

    // UTF-8 to GBK.
    const std::string gbk = lq::Utf8ToGbk(input);
    Require(gbk.find('\0') == std::string::npos, "Utf8ToGbk writes no zero byte");
    const std::string back = lq::GbkToUtf8(gbk);
    Require(back.find(kUtf8Replacement) == std::string::npos,
            "Utf8ToGbk writes only characters GBK can decode again");
    Require(lq::Utf8ToGbk(back) == gbk, "GBK written by Utf8ToGbk round-trips");
    if (IsValidUtf8(text) && IconvAll("CP936", "UTF-8", text, oracle)) {
        Require(gbk == oracle, "Utf8ToGbk agrees with iconv CP936 on text iconv converts whole");
    }

    // Through UTF-16 directly.
    const std::u16string units = lq::ToUtf16(input, lq::kCodePageUtf8);
    Require(units.find(u'\0') == std::u16string::npos, "ToUtf16 stops at the first zero byte");
    const std::string again = lq::FromUtf16(units, lq::kCodePageUtf8);
    Require(IsValidUtf8(again), "FromUtf16 gives well-formed UTF-8");
    if (IsValidUtf8(text)) Require(again == text, "valid UTF-8 round-trips through UTF-16");
    Require(lq::ToUtf16(input, 1252).empty(), "an unknown code page gives nothing");
    std::u16string rawUnits(input.size() / 2, u'\0');
    std::memcpy(rawUnits.data(), input.data(), rawUnits.size() * sizeof(char16_t));
    Require(IsValidUtf8(lq::FromUtf16(rawUnits, lq::kCodePageUtf8)),
            "any UTF-16 units, lone surrogates included, give well-formed UTF-8");
    const std::string rawGbk = lq::FromUtf16(rawUnits, lq::kCodePageGbk);
    Require(lq::GbkToUtf8(rawGbk).find(kUtf8Replacement) == std::string::npos,
            "any UTF-16 units give GBK that decodes again");

    CheckUrlEncode(input, (flags & 1) != 0, (flags & 2) != 0);
    return 0;
}
