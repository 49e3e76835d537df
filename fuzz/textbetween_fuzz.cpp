// Fuzzes TextBetween and the GBK-aware search, replace and split it is built on, against a plain
// character-by-character model of the rules: a byte of 0x80 or more takes the next byte with it,
// a marker is found only where a character begins, positions are 1-based, texts end at a zero.
#include <string>
#include <vector>

#include "fuzz/fuzzsupport.h"
#include "text/gbktext.h"

namespace {

using lq::fuzz::BeforeZero;
using lq::fuzz::Require;

std::size_t CharLength(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool MatchesAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
    if (at + needle.size() > text.size()) return false;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        const char a = text[at + i];
        const char b = needle[i];
        if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
    }
    return true;
}

// 1-based position of needle at or after start, walking characters from start; -1 if none.
int ModelFind(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
    text = BeforeZero(text);
    needle = BeforeZero(needle);
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    for (std::size_t at = from; at < text.size(); at += CharLength(text, at)) {
        if (MatchesAt(text, at, needle, ignoreCase)) return static_cast<int>(at) + 1;
    }
    return -1;
}

std::string ModelReplace(std::string_view text, std::string_view from, std::string_view to) {
    text = BeforeZero(text);
    from = BeforeZero(from);
    if (from.empty()) return std::string(text);
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        if (MatchesAt(text, at, from, false)) {
            result += to;
            at += from.size();
        } else {
            const std::size_t length = std::min(CharLength(text, at), text.size() - at);
            result += text.substr(at, length);
            at += length;
        }
    }
    return result;
}

std::vector<std::string> ModelSplit(std::string_view text, std::string_view separator) {
    text = BeforeZero(text);
    separator = BeforeZero(separator);
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (separator.empty()) return {std::string(text)};
    std::string piece;
    for (std::size_t at = 0; at < text.size();) {
        if (MatchesAt(text, at, separator, false)) {
            items.push_back(piece);
            piece.clear();
            at += separator.size();
        } else {
            const std::size_t length = std::min(CharLength(text, at), text.size() - at);
            piece += text.substr(at, length);
            at += length;
        }
    }
    if (!piece.empty()) items.push_back(piece);
    return items;
}

std::string ModelTextBetween(std::string_view text, std::string_view left, std::string_view right,
                             int start, bool ignoreCase) {
    text = BeforeZero(text);
    const std::string leftMarker = ModelReplace(left, lq::kQuotePlaceholder, "\"");
    const std::string rightMarker = ModelReplace(right, lq::kQuotePlaceholder, "\"");
    const int p = ModelFind(text, leftMarker, start, ignoreCase);
    if (p < 1) return {};
    const long long q = p + static_cast<long long>(leftMarker.size());
    if (q > static_cast<long long>(text.size())) return {};
    const int r = ModelFind(text, rightMarker, static_cast<int>(q), ignoreCase);
    if (r < 1 || r - q <= 0) return {};
    return std::string(
        text.substr(static_cast<std::size_t>(q - 1), static_cast<std::size_t>(r - q)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 8192) return 0;  // the model is quadratic; short texts find the bugs
    const bool ignoreCase = (data[0] & 1) != 0;
    const int start = static_cast<int>(data[1]) - 8;  // below 1 too, and past the end
    const std::vector<std::string> pieces =
        lq::fuzz::Pieces(lq::fuzz::AsText(data + 2, size - 2), 3);
    const std::string& text = pieces[0];
    const std::string& left = pieces[1];
    const std::string& right = pieces[2];

    const std::string between = lq::TextBetween(text, left, right, start, ignoreCase);
    Require(between == ModelTextBetween(text, left, right, start, ignoreCase),
            "TextBetween follows the marker rules");
    Require(between.empty() || BeforeZero(text).find(between) != std::string::npos,
            "TextBetween returns a piece of the text");

    Require(lq::FindText(text, left, start, ignoreCase) == ModelFind(text, left, start, ignoreCase),
            "FindText finds the first match on a character boundary");
    Require(lq::ReplaceAll(text, left, right) == ModelReplace(text, left, BeforeZero(right)),
            "ReplaceAll replaces left to right without rescanning");
    Require(lq::SplitText(text, left) == ModelSplit(text, left),
            "SplitText follows the split rules");

    const std::string trimmed = lq::TrimSpaces(text);
    Require(BeforeZero(text).find(trimmed) != std::string::npos, "TrimSpaces keeps a piece");
    Require(lq::TrimSpaces(trimmed) == trimmed, "TrimSpaces is idempotent");
    Require(!trimmed.starts_with(' '), "TrimSpaces removes leading ASCII spaces");
    const std::string removed = lq::RemoveSpaces(text);
    Require(lq::RemoveSpaces(removed) == removed, "RemoveSpaces is idempotent");
    const std::string lower = lq::AsciiLower(text);
    Require(lower.size() == BeforeZero(text).size(), "AsciiLower keeps the length");
    Require(lq::AsciiLower(lq::AsciiUpper(text)) == lower, "case folding touches A-Z/a-z only");
    return 0;
}
