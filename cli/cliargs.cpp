#include "cli/cliargs.h"

#include <vector>

namespace lq {

const std::string_view kCliUsage =
    "usage: lumaquest-cli [--site BASE] [--news-site BASE] COMMAND\n"
    "\n"
    "commands:\n"
    "  search [--resolve] [--json] KEYWORD\n"
    "      search the share site; one line per hit as it is found:\n"
    "      seq<TAB>name<TAB>size<TAB>downloads<TAB>address\n"
    "      (tab, CR, LF and backslash in a field are written \\t \\r \\n \\\\, other control\n"
    "      characters \\xHH). Addresses are the site's go addresses; --resolve fetches each\n"
    "      go page and prints the real share address. --json: one JSON object per line with\n"
    "      the keys seq, name, size, downloads, address. Progress goes to stderr on a terminal.\n"
    "  hot               the site's hot keywords, \"?\" removed, one per line (escaped\n"
    "                    as search fields are)\n"
    "  notice            the news site's notice, unless it holds \"50\" or \"40\" (control\n"
    "                    characters other than line breaks and tabs written \\xHH)\n"
    "  resolve ADDRESS   the address opening a result would hand to the browser;\n"
    "                    exit status 3 when nothing would be opened\n"
    "\n"
    "options:\n"
    "  --site BASE       share-search site to use instead of the built-in one\n"
    "  --news-site BASE  news site (notice) to use instead of the built-in one\n"
    "  --help, --version\n"
    "  --                ends the options (for a keyword that starts with \"-\")\n"
    "\n"
    "exit status: 0 done, 2 usage error, 3 nothing to open\n";

namespace {

struct Parser {
    explicit Parser(std::span<const std::string_view> arguments) : args(arguments) {}

    std::span<const std::string_view> args;
    std::size_t next = 0;
    CliArguments parsed;
    std::vector<std::string_view> positionals;
    bool sawHelp = false;
    bool sawVersion = false;

    // "--site X" or "--site=X"; false (with error) when the value is missing or empty.
    bool TakeValue(std::string_view arg, std::string_view name, std::optional<std::string>& into,
                   std::string& error) {
        std::string_view value;
        if (arg.size() > name.size()) {
            value = arg.substr(name.size() + 1);  // after "="
        } else if (next < args.size()) {
            value = args[next++];
        } else {
            error = std::string(name) + " needs an address";
            return false;
        }
        if (value.empty()) {
            error = std::string(name) + " needs an address";
            return false;
        }
        into = std::string(value);
        return true;
    }

    static bool IsOption(std::string_view arg, std::string_view name) {
        return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                               arg[name.size()] == '=');
    }

    bool Scan(std::string& error) {
        bool optionsEnded = false;
        while (next < args.size()) {
            const std::string_view arg = args[next++];
            if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
                positionals.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help" || arg == "-h") {
                sawHelp = true;
            } else if (arg == "--version") {
                sawVersion = true;
            } else if (IsOption(arg, "--site")) {
                if (!TakeValue(arg, "--site", parsed.utf8Site, error)) return false;
            } else if (IsOption(arg, "--news-site")) {
                if (!TakeValue(arg, "--news-site", parsed.utf8NewsSite, error)) return false;
            } else if (arg == "--resolve") {
                parsed.resolve = true;
            } else if (arg == "--json") {
                parsed.json = true;
            } else {
                error = "unknown option " + std::string(arg);
                return false;
            }
        }
        return true;
    }
};

std::optional<CliCommand> CommandNamed(std::string_view name) {
    if (name == "search") return CliCommand::kSearch;
    if (name == "hot") return CliCommand::kHot;
    if (name == "notice") return CliCommand::kNotice;
    if (name == "resolve") return CliCommand::kResolve;
    return std::nullopt;
}

CliParseResult Error(std::string message) { return {std::nullopt, std::move(message)}; }

CliParseResult Only(CliCommand command) {
    CliArguments arguments;
    arguments.command = command;
    return {std::move(arguments), {}};
}

}  // namespace

CliParseResult ParseCliArguments(std::span<const std::string_view> args) {
    Parser parser(args);
    std::string error;
    const bool scanned = parser.Scan(error);
    // Help and version are answered even when the rest of the line is wrong.
    if (parser.sawHelp) return Only(CliCommand::kHelp);
    if (parser.sawVersion) return Only(CliCommand::kVersion);
    if (!scanned) return Error(error);

    CliArguments parsed = std::move(parser.parsed);
    const std::vector<std::string_view>& positionals = parser.positionals;
    if (positionals.empty()) return Error("no command given");
    const std::optional<CliCommand> command = CommandNamed(positionals.front());
    if (!command) return Error("unknown command " + std::string(positionals.front()));
    parsed.command = *command;

    const std::size_t operands = positionals.size() - 1;
    const bool takesOperand = *command == CliCommand::kSearch || *command == CliCommand::kResolve;
    if (takesOperand && operands == 0) {
        return Error(*command == CliCommand::kSearch ? "search needs a KEYWORD"
                                                     : "resolve needs an ADDRESS");
    }
    if (operands > (takesOperand ? 1u : 0u)) {
        return Error("unexpected argument " + std::string(positionals[takesOperand ? 2 : 1]));
    }
    if (takesOperand) parsed.utf8Operand = std::string(positionals[1]);
    if ((parsed.resolve || parsed.json) && *command != CliCommand::kSearch) {
        return Error(std::string(parsed.resolve ? "--resolve" : "--json") + " belongs to search");
    }
    return {std::move(parsed), {}};
}

}  // namespace lq
