// Code-page conversions. GBK goes through iconv ("CP936", the C library's GBK with the euro sign
// at 0x80); UTF-8 <-> UTF-16 is done here directly. Pages are mostly ASCII markup, so ASCII runs
// are copied without iconv and each run of other characters is converted with one iconv call.
#include "text/codepage.h"

#include <iconv.h>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace lq {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kGbkReplacement = "?";
constexpr const char* kGbkCharset = "CP936";
constexpr const char* kUtf16Charset =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion descriptor, owned. iconv keeps shift state in it, so it is never shared
// between threads: each thread keeps its own (see ThreadConverter).
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (Valid()) iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return handle_; }
    void ResetState() const { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t handle_;
};

enum class Route { GbkToUtf8, Utf8ToGbk, GbkToUtf16, Utf16ToGbk };

// Opening a descriptor costs microseconds and regex fields are converted one by one, so each
// thread opens each route once and keeps it until the thread ends.
const IconvHandle& ThreadConverter(Route route) {
    switch (route) {
        case Route::GbkToUtf8: {
            thread_local const IconvHandle handle("UTF-8", kGbkCharset);
            return handle;
        }
        case Route::Utf8ToGbk: {
            thread_local const IconvHandle handle(kGbkCharset, "UTF-8");
            return handle;
        }
        case Route::GbkToUtf16: {
            thread_local const IconvHandle handle(kUtf16Charset, kGbkCharset);
            return handle;
        }
        case Route::Utf16ToGbk:
        default: {
            thread_local const IconvHandle handle(kGbkCharset, kUtf16Charset);
            return handle;
        }
    }
}

// What to write for input iconv refused, and how many input bytes to skip.
struct Substitution {
    std::string_view replacement;
    std::size_t skip;
};

// Converts all of input with handle, appending to output (bytes of the target charset).
// maxOutPerIn bounds the output bytes per input byte so one iconv call normally does the run.
// iconv stops at input it cannot convert; onRefused says what to write and what to skip.
template <typename OnRefused>
void IconvAppend(const IconvHandle& handle, std::string_view input, std::size_t maxOutPerIn,
                 std::string& output, OnRefused onRefused) {
    if (input.empty()) return;
    std::size_t used = output.size();
    if (!handle.Valid()) {
        // No converter on this system: every character is one we cannot read.
        std::size_t at = 0;
        while (at < input.size()) {
            const Substitution sub = onRefused(input.substr(at));
            output.append(sub.replacement);
            at += sub.skip;
        }
        return;
    }
    handle.ResetState();
    output.resize(used + input.size() * maxOutPerIn + 8);
    char* in = const_cast<char*>(input.data());  // iconv's signature is not const-correct
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = output.data() + used;
        std::size_t outLeft = output.size() - used;
        const std::size_t result = iconv(handle.Get(), &in, &inLeft, &out, &outLeft);
        used = static_cast<std::size_t>(out - output.data());
        if (result != static_cast<std::size_t>(-1)) break;
        const int error = errno;
        if (error == E2BIG) {
            output.resize(output.size() + inLeft * maxOutPerIn + 8);
            continue;
        }
        if (error != EILSEQ && error != EINVAL) {
            // Not expected from iconv; replace the rest rather than loop forever.
            output.resize(used);
            output.append(onRefused(std::string_view(in, inLeft)).replacement);
            return;
        }
        const Substitution sub = onRefused(std::string_view(in, inLeft));
        output.resize(used);
        output.append(sub.replacement);
        used = output.size();
        in += sub.skip;
        inLeft -= sub.skip;
        handle.ResetState();
        output.resize(used + inLeft * maxOutPerIn + 8);
    }
    output.resize(used);
}

// ---- UTF-8 ----

struct Utf8Char {
    char32_t codePoint;
    std::size_t length;  // bytes taken: the whole character, or the maximal invalid subpart
    bool valid;
};

// Decodes the character at the start of bytes (not empty) by the well-formed byte sequences
// of Unicode; an ill-formed sequence is skipped by its maximal subpart, so one replacement
// stands for it and the byte that broke it is read again as the start of the next character.
Utf8Char DecodeUtf8(std::string_view bytes) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(0);
    if (lead < 0x80) return {lead, 1, true};
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
        return {kReplacementCharacter, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size()) return {kReplacementCharacter, i, false};
        const unsigned char next = byteAt(i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max) return {kReplacementCharacter, i, false};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return {codePoint, length, true};
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

void AppendUtf16(char32_t codePoint, std::u16string& output) {
    if (codePoint < 0x10000) {
        output.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        output.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        output.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The bytes before the first zero byte; the units before the first zero unit.
std::string_view BeforeZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}
std::u16string_view BeforeZero(std::u16string_view units) {
    const std::size_t zero = units.find(u'\0');
    return zero == std::u16string_view::npos ? units : units.substr(0, zero);
}

// Length of the ASCII run at the start of text.
std::size_t AsciiRunLength(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && static_cast<unsigned char>(text[length]) < 0x80) ++length;
    return length;
}

// ---- GBK ----

// Length of the run at the start of gbk (which begins with a byte of 0x80 or more) that ends
// where an ASCII byte starts a character. In CP936 the bytes 0x80 (euro) and 0xFF stand alone;
// every other byte of 0x81 or more leads a pair, and its second byte may be ASCII.
std::size_t GbkRunLength(std::string_view gbk) {
    std::size_t at = 0;
    while (at < gbk.size() && static_cast<unsigned char>(gbk[at]) >= 0x80) {
        const auto byte = static_cast<unsigned char>(gbk[at]);
        at += (byte == 0x80 || byte == 0xFF) ? 1 : 2;
    }
    return at < gbk.size() ? at : gbk.size();
}

bool IsGbkSecondByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// A GBK sequence that iconv refused: a well-formed pair that names no character (the
// user-defined areas among them) is skipped whole; a lead byte without a proper second byte is
// skipped alone, so an ASCII byte after it (markup such as "<") is still read.
std::size_t GbkRefusedLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (lead >= 0x81 && lead <= 0xFE && rest.size() >= 2 &&
        IsGbkSecondByte(static_cast<unsigned char>(rest[1]))) {
        return 2;
    }
    return 1;
}

template <typename Output, typename AppendAscii, typename AppendRun>
void WalkGbk(std::string_view gbk, Output& output, AppendAscii appendAscii, AppendRun appendRun) {
    std::size_t at = 0;
    while (at < gbk.size()) {
        const std::size_t ascii = AsciiRunLength(gbk.substr(at));
        appendAscii(gbk.substr(at, ascii), output);
        at += ascii;
        if (at >= gbk.size()) break;
        const std::size_t run = GbkRunLength(gbk.substr(at));
        appendRun(gbk.substr(at, run), output);
        at += run;
    }
}

// The units of a UTF-16 run, as the bytes iconv reads.
std::string_view UnitBytes(std::u16string_view units) {
    return {reinterpret_cast<const char*>(units.data()), units.size() * sizeof(char16_t)};
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    gbk = BeforeZero(gbk);
    std::string utf8;
    utf8.reserve(gbk.size() + gbk.size() / 2 + 16);
    const IconvHandle& handle = ThreadConverter(Route::GbkToUtf8);
    WalkGbk(
        gbk, utf8, [](std::string_view ascii, std::string& out) { out.append(ascii); },
        [&handle](std::string_view run, std::string& out) {
            // A GBK byte becomes at most three UTF-8 bytes (the euro sign: 80 -> E2 82 AC).
            IconvAppend(handle, run, 3, out, [](std::string_view rest) {
                return Substitution{kUtf8Replacement, GbkRefusedLength(rest)};
            });
        });
    return utf8;
}

std::string Utf8ToGbk(std::string_view utf8) {
    utf8 = BeforeZero(utf8);
    std::string gbk;
    gbk.reserve(utf8.size());
    const IconvHandle& handle = ThreadConverter(Route::Utf8ToGbk);
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t ascii = AsciiRunLength(utf8.substr(at));
        gbk.append(utf8.substr(at, ascii));
        at += ascii;
        // A run of non-ASCII bytes: its valid stretches go to iconv in one call each; each
        // ill-formed sequence becomes one "?" (U+FFFD has no GBK form).
        while (at < utf8.size() && static_cast<unsigned char>(utf8[at]) >= 0x80) {
            std::size_t validEnd = at;
            Utf8Char ch{};
            while (validEnd < utf8.size() && static_cast<unsigned char>(utf8[validEnd]) >= 0x80) {
                ch = DecodeUtf8(utf8.substr(validEnd));
                if (!ch.valid) break;
                validEnd += ch.length;
            }
            // Every UTF-8 sequence of two or more bytes becomes at most two GBK bytes.
            IconvAppend(handle, utf8.substr(at, validEnd - at), 1, gbk, [](std::string_view rest) {
                // A character GBK cannot hold: one "?" for the whole character.
                return Substitution{kGbkReplacement, DecodeUtf8(rest).length};
            });
            at = validEnd;
            if (at < utf8.size() && static_cast<unsigned char>(utf8[at]) >= 0x80) {
                gbk.append(kGbkReplacement);
                at += ch.length;
            }
        }
    }
    return gbk;
}

std::u16string ToUtf16(std::string_view text, int codePage) {
    text = BeforeZero(text);
    std::u16string units;
    if (codePage == kCodePageUtf8) {
        units.reserve(text.size());
        for (std::size_t at = 0; at < text.size();) {
            const Utf8Char ch = DecodeUtf8(text.substr(at));
            AppendUtf16(ch.codePoint, units);
            at += ch.length;
        }
        return units;
    }
    if (codePage != kCodePageGbk) return units;
    units.reserve(text.size());
    const IconvHandle& handle = ThreadConverter(Route::GbkToUtf16);
    std::string runBytes;
    WalkGbk(
        text, units,
        [](std::string_view ascii, std::u16string& out) {
            for (const char byte : ascii) out.push_back(static_cast<char16_t>(byte));
        },
        [&handle, &runBytes](std::string_view run, std::u16string& out) {
            runBytes.clear();
            IconvAppend(handle, run, 2, runBytes, [](std::string_view rest) {
                static constexpr char16_t kReplacement[] = {u'\xFFFD'};
                return Substitution{UnitBytes(std::u16string_view(kReplacement, 1)),
                                    GbkRefusedLength(rest)};
            });
            const std::size_t count = runBytes.size() / sizeof(char16_t);
            const std::size_t oldSize = out.size();
            out.resize(oldSize + count);
            std::memcpy(out.data() + oldSize, runBytes.data(), count * sizeof(char16_t));
        });
    return units;
}

std::string FromUtf16(std::u16string_view units, int codePage) {
    units = BeforeZero(units);
    std::string bytes;
    if (codePage == kCodePageUtf8) {
        bytes.reserve(units.size() * 3);
        for (std::size_t at = 0; at < units.size(); ++at) {
            const char16_t unit = units[at];
            if (IsHighSurrogate(unit) && at + 1 < units.size() && IsLowSurrogate(units[at + 1])) {
                const char32_t codePoint = 0x10000 +
                                           ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                           (static_cast<char32_t>(units[at + 1]) - 0xDC00);
                AppendUtf8(codePoint, bytes);
                ++at;
            } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
                AppendUtf8(kReplacementCharacter, bytes);  // a lone surrogate has no form
            } else {
                AppendUtf8(unit, bytes);
            }
        }
        return bytes;
    }
    if (codePage != kCodePageGbk) return bytes;
    bytes.reserve(units.size() * 2);
    const IconvHandle& handle = ThreadConverter(Route::Utf16ToGbk);
    std::size_t at = 0;
    while (at < units.size()) {
        while (at < units.size() && units[at] < 0x80)
            bytes.push_back(static_cast<char>(units[at++]));
        std::size_t runEnd = at;
        while (runEnd < units.size() && units[runEnd] >= 0x80) ++runEnd;
        IconvAppend(handle, UnitBytes(units.substr(at, runEnd - at)), 1, bytes,
                    [](std::string_view rest) {
                        // One "?" per character: a whole surrogate pair, or one unit.
                        char16_t first = 0;
                        char16_t second = 0;
                        std::memcpy(&first, rest.data(), sizeof first);
                        if (rest.size() >= 2 * sizeof(char16_t)) {
                            std::memcpy(&second, rest.data() + sizeof first, sizeof second);
                        }
                        const bool pair = IsHighSurrogate(first) && IsLowSurrogate(second);
                        return Substitution{kGbkReplacement, (pair ? 2 : 1) * sizeof(char16_t)};
                    });
        at = runEnd;
    }
    return bytes;
}

}  // namespace lq
