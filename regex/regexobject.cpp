// RegexObject over RE2. The GBK pattern and subject are turned into UTF-8 once, so RE2 matches
// characters rather than GBK bytes. Create finds every match with RE2's DFAs alone and keeps
// only where each lies; the groups of a match are worked out when they are first read, and
// converted to GBK only then, since a page can hold thousands of matches.
#include "regex/regexobject.h"

#include <re2/re2.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "regex/capturegroups.h"
#include "regex/composition.h"
#include "regex/literalprefix.h"
#include "text/codepage.h"
#include "text/gbktext.h"

namespace lq {

namespace {

// Large pages with lazy "[\s\S]*?" groups need room for many DFA states; with too little
// memory RE2 falls back to slower engines.
constexpr std::int64_t kRegexMemoryBudget = 64 << 20;
constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
constexpr int kPositionNotFound = -2;
// Compiled patterns a RegexObject keeps for its next Create: a search run alternates between
// the page-count and the hit pattern, and a warm DFA matches a page much faster.
constexpr std::size_t kCompiledPatternsKept = 4;
// A leading literal this long is worth jumping to instead of an unanchored search.
constexpr std::size_t kMinimumUsefulPrefix = 3;
// Places where the leading literal stood but no match began, before the search stops jumping:
// such a try may read far ahead before it fails, so their number must stay bounded.
constexpr int kFailedStartsAllowed = 16;
// A match longer than this has all its groups worked out at once: going over it again for
// each newly read group would cost more than capturing the groups nobody reads.
constexpr std::size_t kLongMatch = 4096;

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

// Where a piece of the UTF-8 subject lies; begin == kNoOffset for a group that took no part.
struct Span {
    std::size_t begin = kNoOffset;
    std::size_t end = kNoOffset;
    bool Participated() const { return begin != kNoOffset; }
};

// A program that extracts some of the groups: a copy of the pattern in which the other groups
// do not capture. engine null means the full pattern, which captures every group.
struct GroupProgram {
    std::unique_ptr<RE2> engine;
    std::vector<int> groups;     // the original numbers of the groups it captures, ascending
    std::vector<bool> captures;  // by original group number, 0 (the whole match) included
    bool checked = false;        // its first extraction was compared with the full pattern's
};

// One pattern compiled with one set of options, with the group programs made for it so far.
struct CompiledPattern {
    std::string utf8Pattern;
    bool caseSensitive = false;
    bool multiline = true;
    std::unique_ptr<RE2> engine;  // null when RE2 rejected the pattern
    std::vector<std::size_t> groupOpenings;
    std::string prefix;       // what every match begins with (lower case without case sensitivity)
    bool looksAround = true;  // groups must be worked out with the text around the match
    std::vector<GroupProgram> programs;
    std::vector<bool> wanted;  // groups callers have read, by original number
    int currentProgram = -1;   // the program for wanted, once made
    int fullProgram = -1;      // the program of the full pattern, once made
};

RE2::Options EngineOptions(bool caseSensitive) {
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_case_sensitive(caseSensitive);
    options.set_longest_match(false);  // leftmost-first: alternatives in order, lazy stays lazy
    options.set_dot_nl(false);         // "." stops at a line feed
    options.set_max_mem(kRegexMemoryBudget);
    options.set_log_errors(false);
    return options;
}

std::unique_ptr<RE2> CompileEngine(const std::string& utf8Pattern, bool caseSensitive,
                                   bool multiline) {
    // "(?m)" makes "^" and "$" match at line feeds too.
    const std::string enginePattern = multiline ? "(?m)" + utf8Pattern : utf8Pattern;
    return std::make_unique<RE2>(enginePattern, EngineOptions(caseSensitive));
}

}  // namespace

struct RegexObject::State {
    // Survives Create: compiled patterns, most recently used first.
    std::list<CompiledPattern> compiled;

    // The last run; Create starts these afresh.
    bool engineCreated = false;          // a Create has run, even one whose pattern was rejected
    std::string pattern;                 // GBK, quotes expanded, as GetPattern returns it
    CompiledPattern* current = nullptr;  // null when the pattern was rejected
    std::string utf8Subject;
    int groupCount = 0;
    std::vector<Span> wholeMatches;
    // groupCount spans per match (groups 1..groupCount), made and filled when first read.
    std::vector<Span> groupSpans;
    std::vector<int> groupsFrom;  // per match: the program that filled its spans, -1 none
    // GBK offsets are found by converting the subject up to a point; reads usually go
    // forward, so the last point is kept and the next conversion starts from there.
    mutable std::size_t gbkCursorUtf8 = 0;
    mutable std::size_t gbkCursorOffset = 0;

    void Reset();
    CompiledPattern& Compile(const std::string& utf8Pattern, bool caseSensitive, bool multiline);
    void FindAll(bool global);
    const Span& Group(std::size_t match, int group);
    int ProgramFor(int group);
    int FullProgram();
    bool Extract(std::size_t match, const GroupProgram& program, std::vector<Span>& spans) const;
    int GbkOffset(std::size_t utf8Offset) const;
    std::string ReadText(int i, int j, int* position);
    std::string_view Utf8Text(const Span& span) const {
        if (!span.Participated()) return {};
        return std::string_view(utf8Subject).substr(span.begin, span.end - span.begin);
    }
};

void RegexObject::State::Reset() {
    engineCreated = false;
    pattern.clear();
    current = nullptr;
    utf8Subject.clear();
    groupCount = 0;
    wholeMatches.clear();
    groupSpans.clear();
    groupsFrom.clear();
    gbkCursorUtf8 = 0;
    gbkCursorOffset = 0;
}

CompiledPattern& RegexObject::State::Compile(const std::string& utf8Pattern, bool caseSensitive,
                                             bool multiline) {
    for (auto it = compiled.begin(); it != compiled.end(); ++it) {
        if (it->utf8Pattern == utf8Pattern && it->caseSensitive == caseSensitive &&
            it->multiline == multiline) {
            compiled.splice(compiled.begin(), compiled, it);
            return compiled.front();
        }
    }
    CompiledPattern entry;
    entry.utf8Pattern = utf8Pattern;
    entry.caseSensitive = caseSensitive;
    entry.multiline = multiline;
    entry.engine = CompileEngine(utf8Pattern, caseSensitive, multiline);
    if (!entry.engine->ok()) {
        entry.engine.reset();
    } else {
        entry.groupOpenings = CapturingGroupOpenings(utf8Pattern);
        entry.prefix = LiteralPrefix(utf8Pattern, caseSensitive);
        entry.looksAround = LooksAroundMatches(utf8Pattern);
        entry.wanted.assign(static_cast<std::size_t>(entry.engine->NumberOfCapturingGroups()) + 1,
                            false);
    }
    compiled.push_front(std::move(entry));
    if (compiled.size() > kCompiledPatternsKept) compiled.pop_back();
    return compiled.front();
}

// Every match from left to right, each search starting where the previous match ended on the
// whole subject (so "^", "$" and "\b" see the text around the starting point), an empty match
// moving on by one character. Only the whole match is asked for, which RE2 answers with its
// DFAs alone; each search is linear and none goes back, so a page costs one pass however many
// matches or unclosed openings it holds.
//
// When every match begins with a literal text, the search jumps to each place where that text
// stands and asks RE2 for a match anchored there: the first place that has one is where the
// unanchored search would have found its match, and RE2 need not run backwards to find where
// the match began. A place without a match is followed by one ordinary search for the next
// match, and after kFailedStartsAllowed such places the ordinary search does the rest.
void RegexObject::State::FindAll(bool global) {
    const RE2& engine = *current->engine;
    const std::string_view prefix = current->prefix;
    const bool caseSensitive = current->caseSensitive;
    const re2::StringPiece text(utf8Subject);
    const std::size_t size = utf8Subject.size();
    re2::StringPiece whole;
    int failedStarts = prefix.size() >= kMinimumUsefulPrefix ? 0 : kFailedStartsAllowed;
    std::size_t from = 0;
    while (from <= size) {
        bool found = false;
        if (failedStarts < kFailedStartsAllowed) {
            const std::size_t start = FindPrefix(utf8Subject, prefix, from, caseSensitive);
            if (start == std::string_view::npos) break;  // no match can begin anywhere later
            found = engine.Match(text, start, size, RE2::ANCHOR_START, &whole, 1);
            if (!found) {
                ++failedStarts;
                from = start + Utf8CharLength(utf8Subject, start);
            }
        }
        if (!found && !engine.Match(text, from, size, RE2::UNANCHORED, &whole, 1)) break;
        Span span;
        span.begin = static_cast<std::size_t>(whole.data() - text.data());
        span.end = span.begin + whole.size();
        wholeMatches.push_back(span);
        if (!global) break;
        if (whole.empty()) {
            if (span.end >= size) break;
            from = span.end + Utf8CharLength(utf8Subject, span.end);
        } else {
            from = span.end;
        }
    }
    // Group spans are made room for when a group is first read.
}

// The groups of one match, worked out again on exactly the match's text (with the subject
// around it as context): the same leftmost-first choice RE2 makes when it reports groups.
// spans receives groups 1..groupCount; those the program does not capture are left alone.
bool RegexObject::State::Extract(std::size_t match, const GroupProgram& program,
                                 std::vector<Span>& spans) const {
    const RE2& engine = program.engine ? *program.engine : *current->engine;
    const Span& whole = wholeMatches[match];
    // Without assertions that look beyond the match, its own text is all the engine needs,
    // and a short text lets RE2 go straight to its group-tracking engine.
    const re2::StringPiece text =
        current->looksAround
            ? re2::StringPiece(utf8Subject)
            : re2::StringPiece(utf8Subject.data() + whole.begin, whole.end - whole.begin);
    const std::size_t begin = current->looksAround ? whole.begin : 0;
    const std::size_t end = current->looksAround ? whole.end : text.size();
    std::vector<re2::StringPiece> found(program.groups.size() + 1);
    if (!engine.Match(text, begin, end, RE2::ANCHOR_BOTH, found.data(),
                      static_cast<int>(found.size()))) {
        return false;
    }
    for (std::size_t k = 0; k < program.groups.size(); ++k) {
        Span span;
        if (found[k + 1].data() != nullptr) {
            span.begin = static_cast<std::size_t>(found[k + 1].data() - utf8Subject.data());
            span.end = span.begin + found[k + 1].size();
        }
        spans[static_cast<std::size_t>(program.groups[k] - 1)] = span;
    }
    return true;
}

// The program that captures every group read so far and group: made from a copy of the
// pattern whose other groups do not capture. If the copy cannot be made or does not behave
// exactly like the pattern, the full pattern does the work.
int RegexObject::State::ProgramFor(int group) {
    CompiledPattern& compiledPattern = *current;
    compiledPattern.wanted[static_cast<std::size_t>(group)] = true;
    if (compiledPattern.currentProgram >= 0 &&
        compiledPattern.programs[static_cast<std::size_t>(compiledPattern.currentProgram)]
            .captures[static_cast<std::size_t>(group)]) {
        return compiledPattern.currentProgram;
    }
    GroupProgram program;
    program.captures.assign(compiledPattern.wanted.size(), false);
    program.captures[0] = true;
    for (int g = 1; g <= groupCount; ++g) {
        if (compiledPattern.wanted[static_cast<std::size_t>(g)]) {
            program.groups.push_back(g);
            program.captures[static_cast<std::size_t>(g)] = true;
        }
    }
    const bool allGroups = static_cast<int>(program.groups.size()) == groupCount;
    const bool scannerAgrees = static_cast<int>(compiledPattern.groupOpenings.size()) == groupCount;
    if (!allGroups && scannerAgrees) {
        auto engine = CompileEngine(KeepOnlyGroups(compiledPattern.utf8Pattern,
                                                   compiledPattern.groupOpenings, program.groups),
                                    compiledPattern.caseSensitive, compiledPattern.multiline);
        if (engine->ok() &&
            engine->NumberOfCapturingGroups() == static_cast<int>(program.groups.size())) {
            program.engine = std::move(engine);
        }
    }
    if (!program.engine) {  // the full pattern: every group
        program.groups.clear();
        for (int g = 1; g <= groupCount; ++g) program.groups.push_back(g);
        program.captures.assign(program.captures.size(), true);
        program.checked = true;
    }
    compiledPattern.programs.push_back(std::move(program));
    compiledPattern.currentProgram = static_cast<int>(compiledPattern.programs.size()) - 1;
    return compiledPattern.currentProgram;
}

int RegexObject::State::FullProgram() {
    CompiledPattern& compiledPattern = *current;
    if (compiledPattern.fullProgram < 0) {
        GroupProgram program;
        for (int g = 1; g <= groupCount; ++g) program.groups.push_back(g);
        program.captures.assign(static_cast<std::size_t>(groupCount) + 1, true);
        program.checked = true;
        compiledPattern.programs.push_back(std::move(program));
        compiledPattern.fullProgram = static_cast<int>(compiledPattern.programs.size()) - 1;
    }
    return compiledPattern.fullProgram;
}

const Span& RegexObject::State::Group(std::size_t match, int group) {
    if (groupsFrom.empty()) {
        groupSpans.assign(wholeMatches.size() * static_cast<std::size_t>(groupCount), Span{});
        groupsFrom.assign(wholeMatches.size(), -1);
    }
    const std::size_t base = match * static_cast<std::size_t>(groupCount);
    const int from = groupsFrom[match];
    if (from >= 0 && current->programs[static_cast<std::size_t>(from)]
                         .captures[static_cast<std::size_t>(group)]) {
        return groupSpans[base + static_cast<std::size_t>(group - 1)];
    }
    const Span& whole = wholeMatches[match];
    const int programIndex =
        whole.end - whole.begin > kLongMatch ? FullProgram() : ProgramFor(group);
    GroupProgram& program = current->programs[static_cast<std::size_t>(programIndex)];
    std::vector<Span> spans(static_cast<std::size_t>(groupCount));
    bool ok = Extract(match, program, spans);
    if (ok && !program.checked) {
        // The first use of a reduced copy: the full pattern must agree on every group it keeps.
        GroupProgram full;
        for (int g = 1; g <= groupCount; ++g) full.groups.push_back(g);
        std::vector<Span> reference(static_cast<std::size_t>(groupCount));
        const bool referenceOk = Extract(match, full, reference);
        bool same = referenceOk;
        for (const int g : program.groups) {
            const Span& a = spans[static_cast<std::size_t>(g - 1)];
            const Span& b = reference[static_cast<std::size_t>(g - 1)];
            same = same && a.begin == b.begin && a.end == b.end;
        }
        program.checked = true;
        if (!same) {
            program.engine.reset();
            program.groups = full.groups;
            program.captures.assign(program.captures.size(), true);
            spans = reference;
            ok = referenceOk;
        }
    }
    std::copy(spans.begin(), spans.end(), groupSpans.begin() + static_cast<std::ptrdiff_t>(base));
    groupsFrom[match] = ok ? programIndex : -1;
    return groupSpans[base + static_cast<std::size_t>(group - 1)];
}

// The 0-based GBK byte offset of the character that starts at utf8Offset. Each character
// converts on its own (to one or two GBK bytes, or one "?"), so the GBK length of the
// converted prefix is exactly where that character stands in the GBK form of the subject.
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

// Match i's group j (0: the whole match) in GBK; "" and position -2 when there is none.
std::string RegexObject::State::ReadText(int i, int j, int* position) {
    if (position) *position = kPositionNotFound;
    if (current == nullptr || i < 1 || static_cast<std::size_t>(i) > wholeMatches.size() || j < 0 ||
        j > groupCount) {
        return {};
    }
    const std::size_t match = static_cast<std::size_t>(i - 1);
    const Span& span = j == 0 ? wholeMatches[match] : Group(match, j);
    if (!span.Participated()) return {};
    if (position) *position = GbkOffset(span.begin);
    const std::string_view utf8 = Utf8Text(span);
    return j == 0 ? Utf8ToGbk(ComposeCombiningSequences(utf8)) : Utf8ToGbk(utf8);
}

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}

RegexObject::~RegexObject() = default;

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool expandQuotes) {
    State& state = *state_;
    state.Reset();
    state.engineCreated = true;
    const std::string gbkPattern =
        expandQuotes ? ExpandQuotes(pattern) : std::string(pattern.substr(0, pattern.find('\0')));
    const std::string utf8Pattern = GbkToUtf8(gbkPattern);
    state.pattern = Utf8ToGbk(utf8Pattern);
    state.utf8Subject = GbkToUtf8(subject);
    CompiledPattern& compiledPattern = state.Compile(utf8Pattern, caseSensitive, multiline);
    if (!compiledPattern.engine) return false;
    state.current = &compiledPattern;
    state.groupCount = compiledPattern.engine->NumberOfCapturingGroups();
    state.FindAll(global);
    return true;
}

std::string RegexObject::GetPattern() const { return state_->engineCreated ? state_->pattern : ""; }

std::string RegexObject::ReplaceMatches(std::string_view replacement) const {
    const State& state = *state_;
    if (state.current == nullptr) return {};
    const std::string utf8Replacement = GbkToUtf8(replacement);
    const bool readsGroups = utf8Replacement.find('$') != std::string::npos;
    GroupProgram full;
    for (int g = 1; g <= state.groupCount; ++g) full.groups.push_back(g);
    std::vector<Span> groups(static_cast<std::size_t>(state.groupCount));
    const std::string_view subject = state.utf8Subject;
    std::string result;
    result.reserve(subject.size());
    std::size_t copied = 0;
    for (std::size_t match = 0; match < state.wholeMatches.size(); ++match) {
        const Span& whole = state.wholeMatches[match];
        result.append(subject.substr(copied, whole.begin - copied));
        std::fill(groups.begin(), groups.end(), Span{});
        if (readsGroups && state.groupCount > 0) state.Extract(match, full, groups);
        const auto groupText = [&](int group) {
            return state.Utf8Text(groups[static_cast<std::size_t>(group - 1)]);
        };
        // "$n" and "$nn" name groups 1 to 99 (two digits win when that group exists), "$&" is
        // the whole match and "$$" a dollar sign; any other "$" stands for itself.
        const std::string_view text = utf8Replacement;
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        for (std::size_t at = 0; at < text.size();) {
            const char next = at + 1 < text.size() ? text[at + 1] : '\0';
            if (text[at] != '$' || next == '\0') {
                result.push_back(text[at]);
                ++at;
            } else if (next == '$') {
                result.push_back('$');
                at += 2;
            } else if (next == '&') {
                result.append(state.Utf8Text(whole));
                at += 2;
            } else {
                const int one = isDigit(next) ? next - '0' : 0;
                const char third = at + 2 < text.size() ? text[at + 2] : '\0';
                const int two = one * 10 + (isDigit(third) ? third - '0' : 0);
                if (isDigit(next) && isDigit(third) && two >= 1 && two <= state.groupCount) {
                    result.append(groupText(two));
                    at += 3;
                } else if (one >= 1 && one <= state.groupCount) {
                    result.append(groupText(one));
                    at += 2;
                } else {
                    result.push_back('$');
                    ++at;
                }
            }
        }
        copied = whole.end;
    }
    result.append(subject.substr(copied));
    return Utf8ToGbk(result);
}

int RegexObject::MatchCount() const { return static_cast<int>(state_->wholeMatches.size()); }

std::string RegexObject::MatchText(int i, int* position) const {
    return state_->ReadText(i, 0, position);
}

std::string RegexObject::SubMatchText(int i, int j, int* position) const {
    if (j < 1) {  // group 0 is the whole match, read through MatchText only
        if (position) *position = kPositionNotFound;
        return {};
    }
    return state_->ReadText(i, j, position);
}

int RegexObject::SubMatchCount() const {
    return state_->wholeMatches.empty() ? 0 : state_->groupCount;
}

}  // namespace lq
