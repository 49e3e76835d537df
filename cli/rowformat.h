// How the command line writes what it prints: result rows as tab-separated or JSON lines, and
// any text from the web made safe for a terminal. Inputs are UTF-8 (stray bytes allowed);
// outputs are always valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lq {

struct PrintedRow {  // the five cells of a result row, UTF-8
    std::string sequence;
    std::string name;
    std::string size;
    std::string downloads;
    std::string address;
};

// Invalid UTF-8 sequences replaced by U+FFFD, one per offending byte.
std::string ValidUtf8(std::string_view bytes);

// One field on one line: tab, CR, LF and backslash as \t \r \n \\, any other control character
// (C0, DEL, C1) as \xHH or \u00HH, so a page cannot break lines or drive the terminal.
std::string EscapeField(std::string_view utf8);

// A multi-line text shown whole: line breaks and tabs stay; other control characters are
// written as EscapeField writes them.
std::string TerminalSafeText(std::string_view utf8);

// A JSON string literal with its quotes.
std::string JsonString(std::string_view utf8);

// "seq\tname\tsize\tdownloads\taddress\n", each field escaped.
std::string TabSeparatedLine(const PrintedRow& row);
// {"seq":N,"name":"…","size":"…","downloads":"…","address":"…"} and "\n".
std::string JsonLine(const PrintedRow& row);

}  // namespace lq
