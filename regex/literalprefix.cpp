// Leading literal of a pattern, and finding it in a text.
#include "regex/literalprefix.h"

#include <cstring>

namespace lq {

namespace {

bool IsAsciiAlnum(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

char AsciiLowerChar(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; }

// True when a "|" stands outside every group, class and escape.
bool HasTopLevelAlternation(std::string_view pattern) {
    int depth = 0;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char ch = pattern[at];
        if (ch == '\\') {
            if (at + 1 < pattern.size() && pattern[at + 1] == 'Q') {
                const std::size_t end = pattern.find("\\E", at + 2);
                if (end == std::string_view::npos) return false;
                at = end + 1;
            } else {
                ++at;
            }
        } else if (ch == '[') {
            ++at;
            if (at < pattern.size() && pattern[at] == '^') ++at;
            if (at < pattern.size() && pattern[at] == ']') ++at;
            while (at < pattern.size() && pattern[at] != ']') {
                if (pattern[at] == '\\') {
                    ++at;
                } else if (pattern[at] == '[' && at + 1 < pattern.size() &&
                           pattern[at + 1] == ':') {
                    const std::size_t close = pattern.find(":]", at + 2);
                    if (close != std::string_view::npos) at = close + 1;
                }
                ++at;
            }
        } else if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            --depth;
        } else if (ch == '|' && depth <= 0) {
            return true;
        }
    }
    return false;
}

std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string LiteralPrefix(std::string_view pattern, bool caseSensitive) {
    if (HasTopLevelAlternation(pattern)) return {};
    static constexpr std::string_view kSpecial = ".[](){}*+?^$|";
    std::string prefix;
    std::size_t lastLength = 0;  // bytes of the last literal character in prefix
    std::size_t at = 0;
    while (at < pattern.size()) {
        const char ch = pattern[at];
        std::string_view literal;
        std::size_t consumed = 0;
        if (ch == '\\') {
            // Only an escaped punctuation mark is that mark itself.
            if (at + 1 >= pattern.size()) break;
            const char next = pattern[at + 1];
            if (static_cast<unsigned char>(next) >= 0x80 || IsAsciiAlnum(next) || next == ' ')
                break;
            literal = pattern.substr(at + 1, 1);
            consumed = 2;
        } else if (kSpecial.find(ch) != std::string_view::npos) {
            // A quantifier may make the character before it optional.
            if (ch == '*' || ch == '?' || ch == '{') prefix.resize(prefix.size() - lastLength);
            break;
        } else {
            const std::size_t length = Utf8Length(static_cast<unsigned char>(ch));
            if (at + length > pattern.size()) break;
            literal = pattern.substr(at, length);
            consumed = length;
        }
        if (!caseSensitive) {
            const char folded = AsciiLowerChar(literal[0]);
            if (static_cast<unsigned char>(literal[0]) >= 0x80 || folded == 'k' || folded == 's')
                break;
            prefix.push_back(folded);
        } else {
            prefix.append(literal);
        }
        lastLength = literal.size();
        at += consumed;
    }
    return prefix;
}

std::size_t FindPrefix(std::string_view text, std::string_view prefix, std::size_t from,
                       bool caseSensitive) {
    if (caseSensitive) return text.find(prefix, from);
    if (prefix.empty()) return from <= text.size() ? from : std::string_view::npos;
    const char first = prefix[0];
    const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 32) : first;
    for (std::size_t at = from; at + prefix.size() <= text.size(); ++at) {
        if (first == firstUpper) {
            // Not a letter: let memchr find the next place it stands.
            const void* hit =
                std::memchr(text.data() + at, first, text.size() - prefix.size() + 1 - at);
            if (hit == nullptr) return std::string_view::npos;
            at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        } else if (text[at] != first && text[at] != firstUpper) {
            continue;
        }
        std::size_t i = 1;
        while (i < prefix.size() && AsciiLowerChar(text[at + i]) == prefix[i]) ++i;
        if (i == prefix.size()) return at;
    }
    return std::string_view::npos;
}

}  // namespace lq
