#include "cli/clicommands.h"

#include <optional>
#include <string>
#include <thread>

#include "cli/printingview.h"
#include "cli/rowformat.h"
#include "search/hotlist.h"
#include "search/openresult.h"
#include "search/searchrun.h"
#include "search/settings.h"
#include "text/codepage.h"
#include "text/gbktext.h"

namespace lq {
namespace {

std::optional<std::string> ToGbk(const std::optional<std::string>& utf8) {
    if (!utf8) return std::nullopt;
    return Utf8ToGbk(*utf8);
}

// One run, the same SearchWorker the window starts, on a thread of its own; this thread waits
// for it since nothing else needs to happen meanwhile.
int RunSearch(const CliArguments& arguments, std::ostream& out, std::ostream& err,
              bool progressOnErr) {
    PrintingView view(Utf8ToGbk(arguments.utf8Operand), /*speedOption=*/!arguments.resolve,
                      arguments.json ? RowFormat::kJson : RowFormat::kTabSeparated, out,
                      progressOnErr ? &err : nullptr);
    SearchLock lock;
    std::jthread run([&view, &lock](std::stop_token stop) {
        try {
            SearchWorker(std::move(stop), view, lock);
        } catch (...) {
            // A failing run ends like any other (out of memory is all it could be); the rows
            // printed so far stand.
        }
    });
    run.join();
    return kExitOk;
}

int RunHot(std::ostream& out) {
    for (const std::string& title : FetchHotTitles()) {
        out << EscapeField(GbkToUtf8(CleanHotTitle(title))) << '\n';
    }
    out << std::flush;
    return kExitOk;
}

int RunNotice(std::ostream& out) {
    const std::optional<std::string> notice = NoticeToShow(FetchNoticeText());
    if (notice && !notice->empty()) {
        std::string text = TerminalSafeText(GbkToUtf8(*notice));
        if (text.back() != '\n') text += '\n';
        out << text << std::flush;
    }
    return kExitOk;
}

int RunResolve(const CliArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string address = Utf8ToGbk(arguments.utf8Operand);
    const std::string target = ResolveForOpening(address);
    if (target.empty()) {
        // The same test ResolveForOpening makes: a go address is one that holds "/go/".
        const bool goAddress = IsWebAddress(address) && FindText(address, "/go/") != -1;
        err << "lumaquest-cli: nothing to open: "
            << (goAddress ? "the go page gave no http or https address"
                          : "not an http or https address")
            << '\n';
        return kExitNothingToOpen;
    }
    out << ValidUtf8(GbkToUtf8(target)) << '\n' << std::flush;
    return kExitOk;
}

}  // namespace

int RunCli(const CliArguments& arguments, std::ostream& out, std::ostream& err,
           bool progressOnErr) {
    switch (arguments.command) {
        case CliCommand::kHelp:
            out << kCliUsage;
            return kExitOk;
        case CliCommand::kVersion:
            out << "lumaquest-cli " << LUMAQUEST_VERSION << '\n';
            return kExitOk;
        default:
            break;
    }
    OverrideSites(ToGbk(arguments.utf8Site), ToGbk(arguments.utf8NewsSite));
    switch (arguments.command) {
        case CliCommand::kSearch:
            return RunSearch(arguments, out, err, progressOnErr);
        case CliCommand::kHot:
            return RunHot(out);
        case CliCommand::kNotice:
            return RunNotice(out);
        case CliCommand::kResolve:
            return RunResolve(arguments, out, err);
        default:
            return kExitUsage;
    }
}

}  // namespace lq
