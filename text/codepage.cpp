// Code-page conversions. GBK follows iconv's "CP936" through the tables of Cp936Table; UTF-8 and
// UTF-16 are done here directly. Pages are mostly ASCII markup, so ASCII runs are copied whole
// and only the other characters are looked up one by one.
#include "text/codepage.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "text/cp936table.h"

namespace lq {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char kGbkReplacement = '?';

// ---- shared walking helpers ----

// The bytes before the first zero byte; the units before the first zero unit.
std::string_view BeforeZero(std::string_view text) {
    const void* zero = std::memchr(text.data(), 0, text.size());
    return zero ? text.substr(
                      0, static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()))
                : text;
}
std::u16string_view BeforeZero(std::u16string_view units) {
    const std::size_t zero = units.find(u'\0');
    return zero == std::u16string_view::npos ? units : units.substr(0, zero);
}

// Length of the ASCII run that starts at from, eight bytes at a time where it can.
std::size_t AsciiRunEnd(std::string_view text, std::size_t from) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t at = from;
    while (at + 8 <= text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if (word & kHighBits) break;
        at += 8;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}

// ---- UTF-8 ----

struct DecodedChar {
    char32_t codePoint;
    std::size_t length;  // bytes taken: the whole character, or the maximal invalid subpart
};

// Decodes the UTF-8 character at the start of bytes (not empty) by Unicode's well-formed byte
// sequences; an ill-formed sequence gives U+FFFD and is skipped by its maximal subpart, so the
// byte that broke it is read again as the start of the next character.
DecodedChar DecodeUtf8(std::string_view bytes) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return {kReplacementCharacter, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size()) return {kReplacementCharacter, i};
        const unsigned char next = byteAt(i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max) return {kReplacementCharacter, i};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return {codePoint, length};
}

void AppendUtf8(char32_t codePoint, std::string& output) {
    if (codePoint < 0x80) {
        output.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        output.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        output.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        output.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        output.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        output.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        output.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        output.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        output.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        output.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// ---- UTF-16 ----

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf16(char32_t codePoint, std::u16string& output) {
    if (codePoint < 0x10000) {
        output.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        output.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        output.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

// The character at units[at]: a surrogate pair counts as one, a lone surrogate is given as
// itself (no code page has a form for it).
DecodedChar DecodeUtf16(std::u16string_view units, std::size_t at) {
    const char32_t unit = units[at];
    if (IsHighSurrogate(unit) && at + 1 < units.size() && IsLowSurrogate(units[at + 1])) {
        return {0x10000 + ((unit - 0xD800) << 10) + (units[at + 1] - 0xDC00u), 2};
    }
    return {unit, 1};
}

// ---- GBK ----

// Decodes the GBK character at gbk[at] (a byte of 0x80 or more). A well-formed pair that names
// no character (the user-defined areas among them) is skipped whole; a lead byte without a
// proper second byte is skipped alone, so an ASCII byte after it (markup such as "<") is read.
DecodedChar DecodeGbk(const Cp936Table& table, std::string_view gbk, std::size_t at) {
    const auto lead = static_cast<unsigned char>(gbk[at]);
    if (const char16_t single = table.DecodeSingle(lead)) return {single, 1};
    if (Cp936Table::IsLead(lead) && at + 1 < gbk.size()) {
        const auto second = static_cast<unsigned char>(gbk[at + 1]);
        if (Cp936Table::IsSecond(second)) {
            const char16_t unit = table.DecodePair(lead, second);
            return {unit ? unit : kReplacementCharacter, 2};
        }
    }
    return {kReplacementCharacter, 1};
}

// Appends the GBK form of a character of U+0080 or above, or "?" when GBK has none.
void AppendGbk(const Cp936Table& table, char32_t codePoint, std::string& output) {
    const std::uint16_t code =
        codePoint < 0x10000 && !IsHighSurrogate(codePoint) && !IsLowSurrogate(codePoint)
            ? table.Encode(static_cast<char16_t>(codePoint))
            : 0;
    if (code == 0) {
        output.push_back(kGbkReplacement);
    } else if (code < 0x100) {
        output.push_back(static_cast<char>(code));
    } else {
        output.push_back(static_cast<char>(code >> 8));
        output.push_back(static_cast<char>(code & 0xFF));
    }
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    gbk = BeforeZero(gbk);
    const Cp936Table& table = Cp936Table::Get();
    std::string utf8;
    utf8.reserve(gbk.size() + gbk.size() / 2);
    std::size_t at = 0;
    while (at < gbk.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(gbk, at);
        utf8.append(gbk.data() + at, asciiEnd - at);
        at = asciiEnd;
        while (at < gbk.size() && static_cast<unsigned char>(gbk[at]) >= 0x80) {
            const DecodedChar ch = DecodeGbk(table, gbk, at);
            AppendUtf8(ch.codePoint, utf8);
            at += ch.length;
        }
    }
    return utf8;
}

std::string Utf8ToGbk(std::string_view utf8) {
    utf8 = BeforeZero(utf8);
    const Cp936Table& table = Cp936Table::Get();
    std::string gbk;
    gbk.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, at);
        gbk.append(utf8.data() + at, asciiEnd - at);
        at = asciiEnd;
        while (at < utf8.size() && static_cast<unsigned char>(utf8[at]) >= 0x80) {
            // An ill-formed sequence decodes to U+FFFD, which GBK lacks: one "?" for it.
            const DecodedChar ch = DecodeUtf8(utf8.substr(at));
            AppendGbk(table, ch.codePoint, gbk);
            at += ch.length;
        }
    }
    return gbk;
}

std::u16string ToUtf16(std::string_view text, int codePage) {
    text = BeforeZero(text);
    std::u16string units;
    if (codePage != kCodePageUtf8 && codePage != kCodePageGbk) return units;
    units.reserve(text.size());
    const Cp936Table* table = codePage == kCodePageGbk ? &Cp936Table::Get() : nullptr;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            units.push_back(byte);
            ++at;
            continue;
        }
        const DecodedChar ch = table ? DecodeGbk(*table, text, at) : DecodeUtf8(text.substr(at));
        AppendUtf16(ch.codePoint, units);
        at += ch.length;
    }
    return units;
}

std::string FromUtf16(std::u16string_view units, int codePage) {
    units = BeforeZero(units);
    std::string bytes;
    if (codePage != kCodePageUtf8 && codePage != kCodePageGbk) return bytes;
    const Cp936Table* table = codePage == kCodePageGbk ? &Cp936Table::Get() : nullptr;
    bytes.reserve(units.size() * (table ? 2 : 3));
    for (std::size_t at = 0; at < units.size();) {
        if (units[at] < 0x80) {
            bytes.push_back(static_cast<char>(units[at]));
            ++at;
            continue;
        }
        const DecodedChar ch = DecodeUtf16(units, at);
        at += ch.length;
        if (table) {
            AppendGbk(*table, ch.codePoint, bytes);  // one "?" per character GBK lacks
        } else {
            const bool loneSurrogate =
                IsHighSurrogate(ch.codePoint) || IsLowSurrogate(ch.codePoint);
            AppendUtf8(loneSurrogate ? kReplacementCharacter : ch.codePoint, bytes);
        }
    }
    return bytes;
}

}  // namespace lq
