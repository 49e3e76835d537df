// The small helpers on the inputs they meet: merging a response's cookies into a caller's
// cookie text, percent-encoding a Chinese keyword, and taking the share address out of a go
// page. They run once per request or less; the figures only show they cost next to nothing.
#include <benchmark/benchmark.h>

#include <string>

#include "search/sharesite.h"
#include "text/codepage.h"
#include "text/gbktext.h"
#include "text/urlencode.h"
#include "tools/demo-site/demopages.h"
#include "web/cookies.h"

namespace {

void BM_MergeCookies(benchmark::State& state) {
    const std::string jar =
        "BAIDUID=6A1F0C8E5D2B4A7F9E3C1D0B8A6F4E2D:FG=1; PSTM=1702281600; "
        "BIDUPSID=6A1F0C8E5D2B4A7F9E3C1D0B8A6F4E2D; H_PS_PSSID=39662_39670_39676; "
        "BDORZ=B490B5EBF6F3CD402E515D22BCDA1598; delPer=0; PSINO=6";
    const std::string received =
        "BDSVRTM=0; PSTM=1702285200; BAIDUID=deleted; H_PS_PSSID=39662_39670_39688_39712; "
        "BA_HECTOR=a40g8k2h0l0h8421a48l2k0a1ip5e7k1r";
    for (auto _ : state) {
        std::string jarCopy = jar;
        std::string receivedCopy = received;
        std::string merged = lq::MergeCookies(jarCopy, receivedCopy);
        benchmark::DoNotOptimize(merged.data());
    }
}
BENCHMARK(BM_MergeCookies);

void BM_UrlEncodeKeyword(benchmark::State& state) {
    // 三体 全集 1080P, as the edit box holds it (GBK)
    const std::string keyword =
        lq::Utf8ToGbk("\xE4\xB8\x89\xE4\xBD\x93 \xE5\x85\xA8\xE9\x9B\x86 1080P");
    for (auto _ : state) {
        std::string encoded = lq::UrlEncode(keyword, /*keepUnreserved=*/true, /*asUtf8=*/true);
        benchmark::DoNotOptimize(encoded.data());
    }
}
BENCHMARK(BM_UrlEncodeKeyword);

void BM_TextBetweenGoPage(benchmark::State& state) {
    const std::string goPage =
        lq::demosite::GoPage("http://127.0.0.1:8080/share/1aB3dE5f");  // as the go page arrives
    for (auto _ : state) {
        std::string target = lq::ExtractGoTarget(goPage);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * goPage.size()));
}
BENCHMARK(BM_TextBetweenGoPage);

}  // namespace
