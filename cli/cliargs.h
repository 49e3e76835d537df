// The command line's grammar: global site options, one command and its operands. Parsing only;
// nothing here touches the network or the settings.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lq {

enum class CliCommand { kHelp, kVersion, kSearch, kHot, kNotice, kResolve };

struct CliArguments {
    CliCommand command = CliCommand::kHelp;
    std::optional<std::string> utf8Site;      // --site BASE
    std::optional<std::string> utf8NewsSite;  // --news-site BASE
    bool resolve = false;                     // search --resolve: real addresses
    bool json = false;                        // search --json: one JSON object per line
    std::string utf8Operand;                  // the keyword of search, the address of resolve
};

struct CliParseResult {
    std::optional<CliArguments> arguments;  // empty on a usage error
    std::string error;                      // one line, without the program name
};

// args: the command line without the program name.
CliParseResult ParseCliArguments(std::span<const std::string_view> args);

extern const std::string_view kCliUsage;

}  // namespace lq
