// Hostile pages through the whole page pipeline: hit openings that never close (each one a
// place where a backtracking matcher would scan to the end of the page), and a page whose
// information lines all carry " | " before the download count, so no hit can end, and the same
// page with only its last information line well formed (one hit spanning the page). The time
// per size shows the growth rate; bench/all checks that doubling the openings at most
// about doubles the time.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/benchpages.h"
#include "regex/regexobject.h"
#include "search/sharesite.h"
#include "text/bytes.h"

namespace {

void RunPipeline(benchmark::State& state, const lq::Bytes& body, std::size_t expectedHits = 0) {
    lq::RegexObject regex;
    for (auto _ : state) {
        const std::string text = lq::ResultPageText(body);
        benchmark::DoNotOptimize(lq::ExtractPageCount(regex, text));
        const std::vector<lq::SearchResult> hits = lq::ExtractResults(regex, text);
        if (hits.size() != expectedHits) state.SkipWithError("unexpected hits on a hostile page");
        benchmark::DoNotOptimize(hits.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
    state.counters["page_MB"] = static_cast<double>(body.size()) / 1e6;
}

void BM_UnclosedOpenings(benchmark::State& state) {
    const lq::Bytes body =
        lq::ToBytes(lq::bench::UnclosedOpeningsPage(static_cast<int>(state.range(0))));
    RunPipeline(state, body);
}
BENCHMARK(BM_UnclosedOpenings)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond);

void BM_BarredInfoLines(benchmark::State& state) {
    const lq::Bytes body =
        lq::ToBytes(lq::bench::BarredInfoLinesPage(static_cast<int>(state.range(0))));
    RunPipeline(state, body);
}
BENCHMARK(BM_BarredInfoLines)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_BarredButLast(benchmark::State& state) {
    const lq::Bytes body =
        lq::ToBytes(lq::bench::BarredButLastPage(static_cast<int>(state.range(0))));
    RunPipeline(state, body, 1);
}
BENCHMARK(BM_BarredButLast)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
