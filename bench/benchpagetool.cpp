// lumaquest-bench-page: hands bench/compare what it needs to run the same work elsewhere.
//   page N             the body bytes of the N-hit result page (UTF-8) on stdout
//   unclosed N | barred N | barred-last N
//                      the body bytes of a hostile page (see benchpages.h)
//   pattern rows       the hit pattern, as UTF-8
//   pattern pagecount  the pager pattern, as UTF-8
//   fields N           the page count, then one line per hit of the N-hit page as this
//                      program reads it: id, name, size, downloads, tab-separated, UTF-8
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bench/benchpages.h"
#include "regex/regexobject.h"
#include "search/sharesite.h"
#include "text/bytes.h"
#include "text/codepage.h"

namespace {

int Usage() {
    std::fputs(
        "usage: lumaquest-bench-page page|unclosed|barred|barred-last|fields N | "
        "pattern rows|pagecount\n",
        stderr);
    return 2;
}

void Write(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

int HitCount(const char* text) {
    const int hits = std::atoi(text);
    return hits >= 1 && hits <= 100000 ? hits : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    const std::string_view command = argv[1];
    const std::string_view argument = argv[2];
    if (command == "pattern") {
        if (argument == "rows") {
            Write(lq::GbkToUtf8(lq::kResultRowPattern));
        } else if (argument == "pagecount") {
            Write(lq::kPageCountPattern);
        } else {
            return Usage();
        }
        return 0;
    }
    const int hits = HitCount(argv[2]);
    if (hits < 0) return Usage();
    if (command == "unclosed" || command == "barred" || command == "barred-last") {
        Write(command == "unclosed" ? lq::bench::UnclosedOpeningsPage(hits)
              : command == "barred" ? lq::bench::BarredInfoLinesPage(hits)
                                    : lq::bench::BarredButLastPage(hits));
        return 0;
    }
    const std::string page = lq::bench::ResultPageWithHits(hits);
    if (command == "page") {
        Write(page);
        return 0;
    }
    if (command != "fields") return Usage();
    const std::string text = lq::ResultPageText(lq::ToBytes(page));
    lq::RegexObject regex;
    std::printf("%d\n", lq::ExtractPageCount(regex, text));
    for (const lq::SearchResult& hit : lq::ExtractResults(regex, text)) {
        std::string line = hit.shareId + "\t" + hit.resourceName + "\t" + hit.fileSize + "\t" +
                           hit.downloadCount + "\n";
        Write(lq::GbkToUtf8(line));
    }
    return 0;
}
