// RegexObject: one regular expression run over one GBK text, with 1-based match and group
// numbers. Backed by RE2 (linear time on any input); matching is on characters, not bytes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lq {

class RegexObject {
public:
    RegexObject();
    ~RegexObject();
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    // Runs pattern over subject and keeps every match. False when the pattern is rejected;
    // nothing of an earlier run survives either way.
    bool Create(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
                bool multiline = true, bool global = true, bool expandQuotes = false);

    std::string GetPattern() const;
    std::string ReplaceMatches(std::string_view replacement) const;
    int MatchCount() const;
    // position, when given, receives the 0-based GBK byte offset of the returned text in the
    // subject, or -2 when it cannot be found.
    std::string MatchText(int i, int* position = nullptr) const;
    std::string SubMatchText(int i, int j, int* position = nullptr) const;
    int SubMatchCount() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lq
