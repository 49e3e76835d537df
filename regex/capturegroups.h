// Finding the capturing groups of a pattern in RE2's syntax, so that a copy of the pattern can
// capture only the groups a caller reads: RE2 tracks every capture while it extracts groups,
// and a lazy group that spans a long stretch of text costs more than the rest together.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lq {

// Where each capturing group's "(" stands in the pattern, in group order (group 1 first).
// Escapes, "\Q...\E" and bracketed classes are skipped; "(?P<name>" counts as capturing,
// "(?:", "(?i)" and the like do not.
std::vector<std::size_t> CapturingGroupOpenings(std::string_view pattern);

// True when the pattern holds "^", "$", "\b", "\B", "\A" or "\z" outside a class: assertions
// that look at the text around a match, so its groups must be worked out with that text.
bool LooksAroundMatches(std::string_view pattern);

// The pattern with every capturing group whose number is not in keep (1-based, ascending)
// turned into a non-capturing one; openings as CapturingGroupOpenings gives them.
std::string KeepOnlyGroups(std::string_view pattern, const std::vector<std::size_t>& openings,
                           const std::vector<int>& keep);

}  // namespace lq
