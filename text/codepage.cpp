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

// Collects output bytes in a small local buffer and appends them to a string in chunks, so
// converting a character costs a few stores instead of a string append per byte.
class ByteSink {
public:
    explicit ByteSink(std::string& output) : output_(output) {}
    ~ByteSink() { Flush(); }
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    // Room for up to kMaxCharBytes bytes; Commit says how many were written.
    char* Room() {
        if (used_ + kMaxCharBytes > sizeof buffer_) Flush();
        return buffer_ + used_;
    }
    void Commit(std::size_t count) { used_ += count; }
    void Append(const char* bytes, std::size_t count) {
        Flush();
        output_.append(bytes, count);
    }
    void Flush() {
        output_.append(buffer_, used_);
        used_ = 0;
    }

    static constexpr std::size_t kMaxCharBytes = 4;

private:
    std::string& output_;
    char buffer_[1024];
    std::size_t used_ = 0;
};

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

// Writes the UTF-8 form of codePoint at out and returns how many bytes it took.
std::size_t WriteUtf8(char32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

void AppendUtf8(char32_t codePoint, std::string& output) {
    char bytes[4];
    output.append(bytes, WriteUtf8(codePoint, bytes));
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

// Writes the GBK form of a character of U+0080 or above at out, or "?" when GBK has none;
// returns how many bytes it took.
std::size_t WriteGbk(const Cp936Table& table, char32_t codePoint, char* out) {
    const std::uint16_t code =
        codePoint < 0x10000 && !IsHighSurrogate(codePoint) && !IsLowSurrogate(codePoint)
            ? table.Encode(static_cast<char16_t>(codePoint))
            : 0;
    if (code == 0) {
        out[0] = kGbkReplacement;
        return 1;
    }
    if (code < 0x100) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return 2;
}

void AppendGbk(const Cp936Table& table, char32_t codePoint, std::string& output) {
    char bytes[2];
    output.append(bytes, WriteGbk(table, codePoint, bytes));
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    gbk = BeforeZero(gbk);
    const Cp936Table& table = Cp936Table::Get();
    std::string utf8;
    utf8.reserve(gbk.size() + gbk.size() / 2);
    ByteSink sink(utf8);
    std::size_t at = 0;
    while (at < gbk.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(gbk, at);
        if (asciiEnd > at) sink.Append(gbk.data() + at, asciiEnd - at);
        at = asciiEnd;
        while (at < gbk.size() && static_cast<unsigned char>(gbk[at]) >= 0x80) {
            const DecodedChar ch = DecodeGbk(table, gbk, at);
            sink.Commit(WriteUtf8(ch.codePoint, sink.Room()));
            at += ch.length;
        }
    }
    sink.Flush();
    return utf8;
}

std::string Utf8ToGbk(std::string_view utf8) {
    utf8 = BeforeZero(utf8);
    const Cp936Table& table = Cp936Table::Get();
    std::string gbk;
    gbk.reserve(utf8.size());
    ByteSink sink(gbk);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, at);
        if (asciiEnd > at) sink.Append(utf8.data() + at, asciiEnd - at);
        at = asciiEnd;
        while (at < utf8.size() && bytes[at] >= 0x80) {
            // Most characters here are three-byte ones (Chinese): read those directly.
            const unsigned char lead = bytes[at];
            if (lead >= 0xE1 && lead <= 0xEC && at + 2 < utf8.size() &&
                (bytes[at + 1] & 0xC0) == 0x80 && (bytes[at + 2] & 0xC0) == 0x80) {
                const char32_t codePoint = (static_cast<char32_t>(lead & 0x0F) << 12) |
                                           (static_cast<char32_t>(bytes[at + 1] & 0x3F) << 6) |
                                           (bytes[at + 2] & 0x3F);
                sink.Commit(WriteGbk(table, codePoint, sink.Room()));
                at += 3;
                continue;
            }
            // An ill-formed sequence decodes to U+FFFD, which GBK lacks: one "?" for it.
            const DecodedChar ch = DecodeUtf8(utf8.substr(at));
            sink.Commit(WriteGbk(table, ch.codePoint, sink.Room()));
            at += ch.length;
        }
    }
    sink.Flush();
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
