// Capturing-group scanner for RE2's pattern syntax.
#include "regex/capturegroups.h"

#include <algorithm>

namespace lq {

namespace {

// The end of the bracketed class that starts at pattern[at] == '['.
std::size_t SkipClass(std::string_view pattern, std::size_t at) {
    ++at;
    if (at < pattern.size() && pattern[at] == '^') ++at;
    if (at < pattern.size() && pattern[at] == ']') ++at;  // a leading "]" is a literal
    while (at < pattern.size()) {
        const char ch = pattern[at];
        if (ch == '\\') {
            at += 2;
        } else if (ch == '[' && at + 1 < pattern.size() && pattern[at + 1] == ':') {
            const std::size_t close = pattern.find(":]", at + 2);
            at = close == std::string_view::npos ? at + 1 : close + 2;
        } else if (ch == ']') {
            return at + 1;
        } else {
            ++at;
        }
    }
    return pattern.size();
}

bool IsNamedGroupAt(std::string_view pattern, std::size_t at) {
    return pattern.substr(at, 4) == "(?P<" ||
           (pattern.substr(at, 3) == "(?<" && at + 3 < pattern.size() && pattern[at + 3] != '=' &&
            pattern[at + 3] != '!');
}

}  // namespace

std::vector<std::size_t> CapturingGroupOpenings(std::string_view pattern) {
    std::vector<std::size_t> openings;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const char ch = pattern[at];
        if (ch == '\\') {
            if (at + 1 < pattern.size() && pattern[at + 1] == 'Q') {
                const std::size_t end = pattern.find("\\E", at + 2);
                at = end == std::string_view::npos ? pattern.size() : end + 2;
            } else {
                at += 2;
            }
        } else if (ch == '[') {
            at = SkipClass(pattern, at);
        } else if (ch == '(') {
            if (at + 1 >= pattern.size() || pattern[at + 1] != '?' || IsNamedGroupAt(pattern, at)) {
                openings.push_back(at);
            }
            ++at;
        } else {
            ++at;
        }
    }
    return openings;
}

bool LooksAroundMatches(std::string_view pattern) {
    std::size_t at = 0;
    while (at < pattern.size()) {
        const char ch = pattern[at];
        if (ch == '\\') {
            if (at + 1 >= pattern.size()) return false;
            const char next = pattern[at + 1];
            if (next == 'Q') {
                const std::size_t end = pattern.find("\\E", at + 2);
                at = end == std::string_view::npos ? pattern.size() : end + 2;
                continue;
            }
            if (next == 'b' || next == 'B' || next == 'A' || next == 'z') return true;
            at += 2;
        } else if (ch == '[') {
            at = SkipClass(pattern, at);
        } else if (ch == '^' || ch == '$') {
            return true;
        } else {
            ++at;
        }
    }
    return false;
}

std::string KeepOnlyGroups(std::string_view pattern, const std::vector<std::size_t>& openings,
                           const std::vector<int>& keep) {
    std::string result;
    result.reserve(pattern.size() + openings.size() * 2);
    std::size_t copied = 0;
    for (std::size_t index = 0; index < openings.size(); ++index) {
        const int group = static_cast<int>(index) + 1;
        if (std::binary_search(keep.begin(), keep.end(), group)) continue;
        const std::size_t at = openings[index];
        result.append(pattern.substr(copied, at - copied));
        result.append("(?:");
        copied = at + 1;
        if (IsNamedGroupAt(pattern, at)) {
            const std::size_t close = pattern.find('>', at);
            copied = close == std::string_view::npos ? pattern.size() : close + 1;
        }
    }
    result.append(pattern.substr(copied));
    return result;
}

}  // namespace lq
