// The page pipeline as a search run does it for each result page: body bytes to page text
// (UTF-8 to GBK), then the page count and the hits through one RegexObject. Also each stage
// alone on the 1 000-hit page, so the figures say which stage dominates.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/benchpages.h"
#include "regex/regexobject.h"
#include "search/sharesite.h"
#include "text/bytes.h"

namespace {

const lq::Bytes& PageBytes(int hits) {
    // One page per size, made once; benchmarks of several sizes keep each.
    static std::map<int, lq::Bytes> pages;
    auto found = pages.find(hits);
    if (found == pages.end()) {
        found = pages.emplace(hits, lq::ToBytes(lq::bench::ResultPageWithHits(hits))).first;
    }
    return found->second;
}

void SetPageCounters(benchmark::State& state, std::size_t bytes, int hits) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["hits"] = hits;
    state.counters["page_bytes"] = static_cast<double>(bytes);
    state.counters["per_hit"] = benchmark::Counter(
        hits, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PagePipeline(benchmark::State& state) {
    const int hitsOnPage = static_cast<int>(state.range(0));
    const lq::Bytes& body = PageBytes(hitsOnPage);
    lq::RegexObject regex;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::string text = lq::ResultPageText(body);
        const int pageCount = lq::ExtractPageCount(regex, text);
        const std::vector<lq::SearchResult> hits = lq::ExtractResults(regex, text);
        benchmark::DoNotOptimize(pageCount);
        found = hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    if (found != static_cast<std::size_t>(hitsOnPage)) {
        state.SkipWithError("the pipeline did not find every hit");
    }
    SetPageCounters(state, body.size(), hitsOnPage);
}
BENCHMARK(BM_PagePipeline)->Arg(20)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_StageDecode(benchmark::State& state) {
    const lq::Bytes& body = PageBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string text = lq::ResultPageText(body);
        benchmark::DoNotOptimize(text.data());
    }
    SetPageCounters(state, body.size(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_StageDecode)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_StagePageCount(benchmark::State& state) {
    const lq::Bytes& body = PageBytes(static_cast<int>(state.range(0)));
    const std::string text = lq::ResultPageText(body);
    lq::RegexObject regex;
    for (auto _ : state) benchmark::DoNotOptimize(lq::ExtractPageCount(regex, text));
    SetPageCounters(state, body.size(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_StagePageCount)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_StageResults(benchmark::State& state) {
    const lq::Bytes& body = PageBytes(static_cast<int>(state.range(0)));
    const std::string text = lq::ResultPageText(body);
    lq::RegexObject regex;
    for (auto _ : state) {
        const std::vector<lq::SearchResult> hits = lq::ExtractResults(regex, text);
        benchmark::DoNotOptimize(hits.data());
    }
    SetPageCounters(state, body.size(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_StageResults)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Inside ExtractResults: the match itself (Create) against reading the fields out of it.
void BM_StageResultsMatchOnly(benchmark::State& state) {
    const lq::Bytes& body = PageBytes(static_cast<int>(state.range(0)));
    const std::string text = lq::ResultPageText(body);
    lq::RegexObject regex;
    for (auto _ : state) {
        regex.Create(lq::kResultRowPattern, text, false, true, true, true);
        benchmark::DoNotOptimize(regex.MatchCount());
    }
    SetPageCounters(state, body.size(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_StageResultsMatchOnly)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
