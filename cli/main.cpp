// lumaquest-cli: the command-line front end. Parses the arguments and hands them to the
// commands; arguments and output are UTF-8.
#include <unistd.h>

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cliargs.h"
#include "cli/clicommands.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const lq::CliParseResult parsed = lq::ParseCliArguments(args);
    if (!parsed.arguments) {
        std::cerr << "lumaquest-cli: " << parsed.error << " (see --help)\n";
        return lq::kExitUsage;
    }
    return lq::RunCli(*parsed.arguments, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
