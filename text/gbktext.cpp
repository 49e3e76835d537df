// GBK-aware text helpers. Every walk steps over a byte of 0x80 or more together with the byte
// after it, so nothing is ever found, changed or cut on the second byte of a character.
#include "text/gbktext.h"

#include <climits>
#include <cstring>

namespace lq {

namespace {

constexpr unsigned char kAsciiSpace = 0x20;
constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // the full-width space is A1 A1

// A text ends at its first zero byte.
std::string_view BeforeZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

bool StartsDoubleByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

std::size_t CharLength(std::string_view text, std::size_t at) {
    return StartsDoubleByte(text[at]) ? 2 : 1;
}

char FoldLower(char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + 32) : byte;
}
char FoldUpper(char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 32) : byte;
}

bool EqualsAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
    if (needle.size() > text.size() - at) return false;
    if (!ignoreCase) return std::memcmp(text.data() + at, needle.data(), needle.size()) == 0;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (FoldLower(text[at + i]) != FoldLower(needle[i])) return false;
    }
    return true;
}

// 0-based offset of the first match at or after from, on a character boundary counted from
// from; npos when there is none. The case-sensitive path lets memchr/memcmp find candidates
// and only walks the characters up to each candidate, so a long page costs one pass.
std::size_t FindFrom(std::string_view text, std::string_view needle, std::size_t from,
                     bool ignoreCase) {
    if (from >= text.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    std::size_t boundary = from;
    if (!ignoreCase) {
        while (boundary < text.size()) {
            const std::size_t candidate = text.find(needle, boundary);
            if (candidate == std::string_view::npos) return std::string_view::npos;
            while (boundary < candidate) boundary += CharLength(text, boundary);
            if (boundary == candidate) return candidate;
            // The candidate began on a second byte; the next character starts at boundary.
        }
        return std::string_view::npos;
    }
    for (; boundary < text.size(); boundary += CharLength(text, boundary)) {
        if (EqualsAt(text, boundary, needle, true)) return boundary;
    }
    return std::string_view::npos;
}

bool IsSpaceAt(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == kAsciiSpace) return true;
    return byte == kFullWidthSpaceByte && at + 1 < text.size() &&
           static_cast<unsigned char>(text[at + 1]) == kFullWidthSpaceByte;
}

template <typename Fold>
std::string FoldCase(std::string_view text, Fold fold) {
    text = BeforeZero(text);
    std::string result(text);
    for (std::size_t at = 0; at < result.size(); at += CharLength(result, at)) {
        if (!StartsDoubleByte(result[at])) result[at] = fold(result[at]);
    }
    return result;
}

}  // namespace

std::string ExpandQuotes(std::string_view gbk) { return ReplaceAll(gbk, kQuotePlaceholder, "\""); }

int FindText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    text = BeforeZero(text);
    needle = BeforeZero(needle);
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return -1;  // positions are ints
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    const std::size_t found = FindFrom(text, needle, from, ignoreCase);
    return found == std::string_view::npos ? -1 : static_cast<int>(found) + 1;
}

bool ContainsText(std::string_view text, std::string_view needle, bool ignoreCase) {
    return FindText(text, needle, 1, ignoreCase) > 0;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                       bool ignoreCase) {
    text = BeforeZero(text);
    from = BeforeZero(from);
    to = BeforeZero(to);
    if (from.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    while (true) {
        const std::size_t found = FindFrom(text, from, copied, ignoreCase);
        if (found == std::string_view::npos) break;
        result.append(text.substr(copied, found - copied));
        result.append(to);
        copied = found + from.size();  // replaced text is never looked at again
    }
    result.append(text.substr(copied));
    return result;
}

std::string AsciiLower(std::string_view text) { return FoldCase(text, FoldLower); }
std::string AsciiUpper(std::string_view text) { return FoldCase(text, FoldUpper); }

std::string TrimSpaces(std::string_view text) {
    text = BeforeZero(text);
    std::size_t begin = 0;
    while (begin < text.size() && IsSpaceAt(text, begin)) begin += CharLength(text, begin);
    // Walk forward to learn where the last character that is not a space ends: a trailing
    // A1 A1 may be the second byte of one character and the first of the next.
    std::size_t end = begin;
    for (std::size_t at = begin; at < text.size();) {
        const std::size_t length = CharLength(text, at);
        const bool space = IsSpaceAt(text, at);
        at += length;
        if (!space) end = at < text.size() ? at : text.size();
    }
    return std::string(text.substr(begin, end - begin));
}

std::string RemoveSpaces(std::string_view text) {
    text = BeforeZero(text);
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharLength(text, at);
        if (!IsSpaceAt(text, at)) result.append(text.substr(at, length));
        at += length;
    }
    return result;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    text = BeforeZero(text);
    separator = BeforeZero(separator);
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (separator.empty()) {
        items.emplace_back(text);
        return items;
    }
    std::size_t pieceStart = 0;
    while (true) {
        const std::size_t found = FindFrom(text, separator, pieceStart, false);
        if (found == std::string_view::npos) break;
        items.emplace_back(text.substr(pieceStart, found - pieceStart));
        pieceStart = found + separator.size();
    }
    if (pieceStart < text.size()) items.emplace_back(text.substr(pieceStart));
    return items;
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start, bool ignoreCase) {
    text = BeforeZero(text);
    const std::string leftMarker = ExpandQuotes(left);
    const std::string rightMarker = ExpandQuotes(right);
    const int leftAt = FindText(text, leftMarker, start, ignoreCase);
    if (leftAt < 1) return {};
    const long long afterLeft =
        static_cast<long long>(leftAt) + static_cast<long long>(leftMarker.size());
    if (afterLeft > static_cast<long long>(text.size())) return {};
    const int rightAt = FindText(text, rightMarker, static_cast<int>(afterLeft), ignoreCase);
    if (rightAt < 1 || rightAt <= afterLeft) return {};
    return std::string(text.substr(static_cast<std::size_t>(afterLeft) - 1,
                                   static_cast<std::size_t>(rightAt - afterLeft)));
}

}  // namespace lq
