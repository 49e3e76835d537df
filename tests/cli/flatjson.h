// A strict reader for the flat JSON objects the command line prints: string and integer values
// only, keys kept in their order. Enough to prove each line is well-formed JSON.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lq::test {

struct FlatJsonValue {
    bool isNumber = false;
    std::string text;  // the decoded string (UTF-8), or the number's digits
};
using FlatJsonObject = std::vector<std::pair<std::string, FlatJsonValue>>;

// nullopt when the text is not exactly one such object (surrounding whitespace allowed).
std::optional<FlatJsonObject> ParseFlatJson(std::string_view text);

}  // namespace lq::test
