// The code-page conversions in MB/s of input: on the 1 000-hit result page (mostly ASCII
// markup, the case that matters for a run) and on its Chinese names alone (every character
// goes through the converter).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/benchpages.h"
#include "regex/regexobject.h"
#include "search/sharesite.h"
#include "text/codepage.h"

namespace {

constexpr int kPageHits = 1000;

struct Texts {
    std::string pageUtf8;
    std::string pageGbk;
    std::string namesUtf8;  // the resource names of the page, one after another
    std::string namesGbk;
};

const Texts& SampleTexts() {
    static const Texts texts = [] {
        Texts made;
        made.pageUtf8 = lq::bench::ResultPageWithHits(kPageHits);
        made.pageGbk = lq::Utf8ToGbk(made.pageUtf8);
        lq::RegexObject regex;
        for (const lq::SearchResult& hit : lq::ExtractResults(regex, made.pageGbk)) {
            made.namesGbk += hit.resourceName;
        }
        made.namesUtf8 = lq::GbkToUtf8(made.namesGbk);
        return made;
    }();
    return texts;
}

const std::string& Input(int which, bool utf8) {
    const Texts& texts = SampleTexts();
    if (which == 0) return utf8 ? texts.pageUtf8 : texts.pageGbk;
    return utf8 ? texts.namesUtf8 : texts.namesGbk;
}

void Label(benchmark::State& state, const std::string& input) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.SetLabel(state.range(0) == 0 ? "page" : "names");
}

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string& input = Input(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        std::string out = lq::Utf8ToGbk(input);
        benchmark::DoNotOptimize(out.data());
    }
    Label(state, input);
}
BENCHMARK(BM_Utf8ToGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_GbkToUtf8(benchmark::State& state) {
    const std::string& input = Input(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        std::string out = lq::GbkToUtf8(input);
        benchmark::DoNotOptimize(out.data());
    }
    Label(state, input);
}
BENCHMARK(BM_GbkToUtf8)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ToUtf16FromGbk(benchmark::State& state) {
    const std::string& input = Input(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        std::u16string out = lq::ToUtf16(input, lq::kCodePageGbk);
        benchmark::DoNotOptimize(out.data());
    }
    Label(state, input);
}
BENCHMARK(BM_ToUtf16FromGbk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ToUtf16FromUtf8(benchmark::State& state) {
    const std::string& input = Input(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        std::u16string out = lq::ToUtf16(input, lq::kCodePageUtf8);
        benchmark::DoNotOptimize(out.data());
    }
    Label(state, input);
}
BENCHMARK(BM_ToUtf16FromUtf8)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
