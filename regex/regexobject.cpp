// RegexObject over RE2. The GBK pattern and subject are turned into UTF-8 once, so RE2 matches
// characters rather than GBK bytes; matches are kept as byte spans of the UTF-8 subject and
// converted back to GBK only when a caller reads them, since a page can hold thousands.
#include "regex/regexobject.h"

#include <re2/re2.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "regex/composition.h"
#include "text/codepage.h"
#include "text/gbktext.h"

namespace lq {

namespace {

// Large pages with lazy "[\s\S]*?" groups need room for many DFA states; with too little
// memory RE2 falls back to slower engines.
constexpr std::int64_t kRegexMemoryBudget = 64 << 20;
constexpr std::size_t kNoSpan = static_cast<std::size_t>(-1);
constexpr int kPositionNotFound = -2;

std::size_t Utf8CharLength(std::string_view utf8, std::size_t at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return std::min(length, utf8.size() - at);
}

// Where a piece of the UTF-8 subject lies; begin == kNoSpan for a group that took no part.
struct Span {
    std::size_t begin = kNoSpan;
    std::size_t end = kNoSpan;
    bool Participated() const { return begin != kNoSpan; }
};

}  // namespace

struct RegexObject::State {
    bool engineCreated = false;   // a Create has run, even one whose pattern was rejected
    std::string pattern;          // GBK, quotes expanded, as GetPattern returns it
    std::unique_ptr<RE2> engine;  // null when the pattern was rejected
    std::string utf8Subject;
    int groupCount = 0;
    std::size_t matchCount = 0;
    // (groupCount + 1) spans per match: the whole match, then groups 1..groupCount.
    std::vector<Span> spans;
    // GBK offsets are found by converting the subject up to a point; reads usually go forward,
    // so the last point is kept and the next conversion starts from there.
    mutable std::size_t gbkCursorUtf8 = 0;
    mutable std::size_t gbkCursorOffset = 0;

    const Span& SpanOf(std::size_t match, std::size_t group) const {
        return spans[match * static_cast<std::size_t>(groupCount + 1) + group];
    }
    std::string_view Utf8Text(const Span& span) const {
        if (!span.Participated()) return {};
        return std::string_view(utf8Subject).substr(span.begin, span.end - span.begin);
    }
    int GbkOffset(std::size_t utf8Offset) const;
    void RunAll(bool global);
    std::string ReadText(int i, int j, int* position) const;
};

// The 0-based GBK byte offset of the character that starts at utf8Offset. Each character
// converts on its own (to one or two GBK bytes, or one "?"), so the GBK length of the
// converted prefix is exactly where that character stands in the GBK subject.
int RegexObject::State::GbkOffset(std::size_t utf8Offset) const {
    if (utf8Offset < gbkCursorUtf8) {
        gbkCursorUtf8 = 0;
        gbkCursorOffset = 0;
    }
    const std::string_view pending =
        std::string_view(utf8Subject).substr(gbkCursorUtf8, utf8Offset - gbkCursorUtf8);
    gbkCursorOffset += Utf8ToGbk(pending).size();
    gbkCursorUtf8 = utf8Offset;
    return static_cast<int>(gbkCursorOffset);
}

// Every match from left to right, each search starting where the previous match ended on the
// whole subject (so "^", "$" and the text before the start still count), an empty match
// moving on by one character. Each search is linear, and they never go back, so a page costs
// one pass however many matches or unclosed openings it holds.
void RegexObject::State::RunAll(bool global) {
    const re2::StringPiece text(utf8Subject);
    const int slots = groupCount + 1;
    std::vector<re2::StringPiece> groups(static_cast<std::size_t>(slots));
    std::size_t from = 0;
    while (from <= utf8Subject.size()) {
        if (!engine->Match(text, from, utf8Subject.size(), RE2::UNANCHORED, groups.data(), slots)) {
            break;
        }
        for (const re2::StringPiece& group : groups) {
            Span span;
            if (group.data() != nullptr) {
                span.begin = static_cast<std::size_t>(group.data() - text.data());
                span.end = span.begin + group.size();
            }
            spans.push_back(span);
        }
        ++matchCount;
        if (!global) break;
        const std::size_t matchEnd = spans[spans.size() - static_cast<std::size_t>(slots)].end;
        if (groups[0].empty()) {
            if (matchEnd >= utf8Subject.size()) break;
            from = matchEnd + Utf8CharLength(utf8Subject, matchEnd);
        } else {
            from = matchEnd;
        }
    }
}

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}

RegexObject::~RegexObject() = default;

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool expandQuotes) {
    state_ = std::make_unique<State>();
    State& state = *state_;
    state.engineCreated = true;
    const std::string gbkPattern =
        expandQuotes ? ExpandQuotes(pattern) : std::string(pattern.substr(0, pattern.find('\0')));
    const std::string utf8Pattern = GbkToUtf8(gbkPattern);
    state.pattern = Utf8ToGbk(utf8Pattern);
    state.utf8Subject = GbkToUtf8(subject);

    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_case_sensitive(caseSensitive);
    options.set_longest_match(false);  // leftmost-first: alternatives in order, lazy stays lazy
    options.set_dot_nl(false);         // "." stops at a line feed
    options.set_max_mem(kRegexMemoryBudget);
    options.set_log_errors(false);
    // "(?m)" makes "^" and "$" match at line feeds too.
    const std::string enginePattern = multiline ? "(?m)" + utf8Pattern : utf8Pattern;
    auto engine = std::make_unique<RE2>(enginePattern, options);
    if (!engine->ok()) return false;
    state.engine = std::move(engine);
    state.groupCount = state.engine->NumberOfCapturingGroups();
    state.RunAll(global);
    return true;
}

std::string RegexObject::GetPattern() const { return state_->engineCreated ? state_->pattern : ""; }

std::string RegexObject::ReplaceMatches(std::string_view replacement) const {
    const State& state = *state_;
    if (!state.engine) return {};
    const std::string utf8Replacement = GbkToUtf8(replacement);
    const std::string_view subject = state.utf8Subject;
    std::string result;
    result.reserve(subject.size());
    std::size_t copied = 0;
    for (std::size_t match = 0; match < state.matchCount; ++match) {
        const Span& whole = state.SpanOf(match, 0);
        result.append(subject.substr(copied, whole.begin - copied));
        // "$n" and "$nn" name groups 1 to 99 (two digits win when that group exists), "$&" is
        // the whole match and "$$" a dollar sign; any other "$" stands for itself.
        const std::string_view pattern = utf8Replacement;
        for (std::size_t at = 0; at < pattern.size();) {
            const char ch = pattern[at];
            const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
            if (ch != '$' || next == '\0') {
                result.push_back(ch);
                ++at;
                continue;
            }
            if (next == '$') {
                result.push_back('$');
                at += 2;
                continue;
            }
            if (next == '&') {
                result.append(state.Utf8Text(whole));
                at += 2;
                continue;
            }
            const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
            if (isDigit(next)) {
                const int one = next - '0';
                const char third = at + 2 < pattern.size() ? pattern[at + 2] : '\0';
                if (isDigit(third)) {
                    const int two = one * 10 + (third - '0');
                    if (two >= 1 && two <= state.groupCount) {
                        result.append(
                            state.Utf8Text(state.SpanOf(match, static_cast<std::size_t>(two))));
                        at += 3;
                        continue;
                    }
                }
                if (one >= 1 && one <= state.groupCount) {
                    result.append(
                        state.Utf8Text(state.SpanOf(match, static_cast<std::size_t>(one))));
                    at += 2;
                    continue;
                }
            }
            result.push_back('$');
            ++at;
        }
        copied = whole.end;
    }
    result.append(subject.substr(copied));
    return Utf8ToGbk(result);
}

int RegexObject::MatchCount() const { return static_cast<int>(state_->matchCount); }

// Match i's group j (0: the whole match) in GBK; "" and position -2 when there is none.
std::string RegexObject::State::ReadText(int i, int j, int* position) const {
    if (position) *position = kPositionNotFound;
    if (i < 1 || static_cast<std::size_t>(i) > matchCount || j < 0 || j > groupCount) return {};
    const Span& span = SpanOf(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(j));
    if (!span.Participated()) return {};
    if (position) *position = GbkOffset(span.begin);
    const std::string_view utf8 = Utf8Text(span);
    return j == 0 ? Utf8ToGbk(ComposeCombiningSequences(utf8)) : Utf8ToGbk(utf8);
}

std::string RegexObject::MatchText(int i, int* position) const {
    return state_->ReadText(i, 0, position);
}

std::string RegexObject::SubMatchText(int i, int j, int* position) const {
    if (j < 1) {
        if (position) *position = kPositionNotFound;
        return {};
    }
    return state_->ReadText(i, j, position);
}

int RegexObject::SubMatchCount() const { return state_->matchCount > 0 ? state_->groupCount : 0; }

}  // namespace lq
