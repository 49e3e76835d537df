#include "tools/demo-site/demohits.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "text/utf8.h"

namespace lq::demosite {
namespace {

constexpr std::size_t kMaxKeywordCodePoints = 64;

// splitmix64: turns one hash into a stream of well-mixed numbers.
class NumberStream {
public:
    explicit NumberStream(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    template <typename T, std::size_t N>
    const T& Pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

// Valid UTF-8 (a stray byte becomes "?", as a GBK page would show it), control characters as
// spaces, at most kMaxKeywordCodePoints characters.
std::string ShownKeyword(std::string_view utf8) {
    std::string shown;
    std::size_t codePoints = 0;
    for (std::size_t i = 0; i < utf8.size() && codePoints < kMaxKeywordCodePoints; ++codePoints) {
        const std::size_t length = ReadUtf8Char(utf8, i).length;
        if (length == 0) {
            shown += '?';
            i += 1;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (length == 1 && (lead < 0x20 || lead == 0x7F)) {
            shown += ' ';
        } else {
            shown.append(utf8.substr(i, length));
        }
        i += length;
    }
    return shown;
}

// "#pN" at the end of the keyword: the forced page count, or -1 when there is none.
int ForcedPageCount(std::string_view keyword, std::size_t& suffixStart) {
    const std::size_t mark = keyword.rfind("#p");
    if (mark == std::string_view::npos) return -1;
    const std::string_view digits = keyword.substr(mark + 2);
    if (digits.empty() || digits.size() > 3) return -1;
    int count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || count > kMaxPageCount) {
        return -1;
    }
    suffixStart = mark;
    return count;
}

constexpr std::array<std::string_view, 8> kPrefixes = {
    "", "", "【高清】", "[蓝光原盘]", "【完整版】", "(无删减)", "【合集】", "【精选】"};
constexpr std::array<std::string_view, 12> kTags = {"国语中字", "中英双字", "1080P",  "4K修复版",
                                                    "全集",     "精校版",   "有声书", "无水印",
                                                    "超清",     "典藏版",   "第一季", "附赠资料"};

struct Kind {
    std::string_view extension;
    char sizeUnit;  // 'G', 'M' or 'K': the usual size of such a file
};
constexpr std::array<Kind, 10> kKinds = {{{".mp4", 'G'},
                                          {".mkv", 'G'},
                                          {".rmvb", 'M'},
                                          {".rar", 'M'},
                                          {".zip", 'M'},
                                          {".pdf", 'M'},
                                          {".epub", 'K'},
                                          {".txt", 'K'},
                                          {".iso", 'G'},
                                          {"", 'G'}}};  // a folder

std::string MakeShareId(NumberStream& numbers) {
    static constexpr std::string_view kAlphabet =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string id = "1";
    for (int k = 0; k < 7; ++k) id += kAlphabet[static_cast<std::size_t>(numbers.Below(62))];
    return id;
}

std::string MakeSize(NumberStream& numbers, char unit) {
    switch (unit) {
        case 'G':
            return std::to_string(1 + numbers.Below(8)) + "." + std::to_string(numbers.Below(10)) +
                   "G";
        case 'M':
            return std::to_string(10 + numbers.Below(990)) + "M";
        default:
            return std::to_string(1 + numbers.Below(999)) + "K";
    }
}

std::string MakeName(NumberStream& numbers, const Kind& kind, std::string_view keyword, int page,
                     int index) {
    std::string name(numbers.Pick(kPrefixes));
    name += keyword;
    name += ' ';
    name += std::to_string(1998 + numbers.Below(26));
    name += ' ';
    name += numbers.Pick(kTags);
    if (kind.extension.empty()) {
        name += " 第" + std::to_string((page - 1) * kHitsPerPage + index + 1) + "部分";
    } else {
        name += kind.extension;
    }
    return name;
}

}  // namespace

unsigned long long DemoHash(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

DemoQuery ParseDemoKeyword(std::string_view utf8Keyword) {
    DemoQuery query;
    std::size_t suffixStart = utf8Keyword.size();
    const int forced = ForcedPageCount(utf8Keyword, suffixStart);
    const std::string_view keyword = utf8Keyword.substr(0, suffixStart);
    query.shownKeyword = ShownKeyword(keyword);
    query.pageCount = forced >= 0 ? forced : 1 + static_cast<int>(DemoHash(keyword) % 10);
    return query;
}

std::vector<DemoHit> DemoHits(const DemoQuery& query, int page) {
    std::vector<DemoHit> hits;
    if (page < 1 || page > query.pageCount) return hits;
    hits.reserve(kHitsPerPage);
    for (int index = 0; index < kHitsPerPage; ++index) {
        NumberStream numbers(DemoHash(query.shownKeyword) ^
                             (static_cast<std::uint64_t>(page) << 32) ^
                             static_cast<std::uint64_t>(index));
        DemoHit hit;
        hit.shareId = MakeShareId(numbers);
        const Kind& kind = numbers.Pick(kKinds);
        hit.name = MakeName(numbers, kind, query.shownKeyword, page, index);
        const bool withSize = index % 7 != 6;
        hit.size = withSize ? MakeSize(numbers, kind.sizeUnit) : "";
        const int downloads = numbers.Below(5000);
        hit.downloads = std::to_string(downloads);
        hit.views = std::to_string(downloads * (2 + numbers.Below(8)) + numbers.Below(1000));
        hits.push_back(std::move(hit));
    }
    return hits;
}

}  // namespace lq::demosite
