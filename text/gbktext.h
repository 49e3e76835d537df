// GBK-aware text helpers: searching, replacing, case folding, trimming, splitting, markers.
// A byte of 0x80 or more starts a two-byte character; a match never starts on its second byte.
// Positions are 1-based byte positions; "not found" is -1. Texts end at their first zero byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lq {

// "#引号" in GBK: each occurrence stands for one double quote where it is expanded.
inline constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

// Replaces every quote placeholder by a double quote, left to right, without rescanning.
std::string ExpandQuotes(std::string_view gbk);

// First position at or after start (below 1 counts as 1) where needle begins on a character
// boundary; ignoreCase folds only A-Z/a-z. An empty needle is found at start when a byte lies
// there.
int FindText(std::string_view text, std::string_view needle, int start = 1,
             bool ignoreCase = false);
bool ContainsText(std::string_view text, std::string_view needle, bool ignoreCase = false);

// Every occurrence of from (found as FindText finds it) replaced by to, without rescanning.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                       bool ignoreCase = false);

// Case folding of the ASCII letters A-Z only; every other byte is left as it is.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Removes ASCII spaces and the full-width space (A1 A1) at both ends, nothing else.
std::string TrimSpaces(std::string_view text);
// Removes every ASCII space and full-width space, wherever it stands.
std::string RemoveSpaces(std::string_view text);

// An empty text gives no items; every piece that ends at a separator is an item, even an
// empty one; the piece after the last separator is an item only when it is not empty.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// The text between the first left marker (searched from start) and the next right marker;
// "" when either is missing or nothing lies between them. Both markers have their quote
// placeholders expanded first.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start = 1, bool ignoreCase = false);

}  // namespace lq
