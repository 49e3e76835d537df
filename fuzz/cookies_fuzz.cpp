// Fuzzes MergeCookies: the merged jar lists no item twice and no deleted item, holds only items
// that came from one side or the other, received cookies come first and win over old ones of
// the same name, and both texts come back without spaces.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzzsupport.h"
#include "text/gbktext.h"
#include "web/cookies.h"

namespace {

using lq::fuzz::Require;

bool Contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// True when the text's last character is a lead byte without its second byte: joined to the
// next item such a byte swallows the separator, so items cannot be told apart any more.
bool EndsInsideCharacter(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
    return at > text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::vector<std::string> pieces = lq::fuzz::Pieces(lq::fuzz::AsText(data, size), 2);
    std::string jar = pieces[0];
    std::string received = pieces[1];
    const std::vector<std::string> oldItems = lq::SplitText(lq::RemoveSpaces(jar), ";");
    const std::vector<std::string> newItems = lq::SplitText(lq::RemoveSpaces(received), ";");

    const std::string merged = lq::MergeCookies(jar, received);
    Require(merged == jar, "MergeCookies returns the jar it stores");
    Require(lq::RemoveSpaces(received) == received, "received comes back without spaces");

    const bool separable = std::none_of(oldItems.begin(), oldItems.end(), EndsInsideCharacter) &&
                           std::none_of(newItems.begin(), newItems.end(), EndsInsideCharacter);
    const std::vector<std::string> items = lq::SplitText(merged, "; ");
    std::vector<std::string> seen;
    for (const std::string& item : items) {
        Require(!Contains(seen, item), "the merged jar lists no item twice");
        if (separable) Require(lq::RemoveSpaces(item) == item, "merged items hold no spaces");
        seen.push_back(item);
        Require(!item.ends_with("=deleted"), "the merged jar holds no deleted item");
        if (!separable) continue;
        Require(Contains(newItems, item) || Contains(oldItems, item),
                "every merged item came from the jar or the received cookies");
        if (!Contains(newItems, item)) {
            Require(!lq::HasCookieNamed(newItems, lq::CookieName(item)),
                    "an old cookie survives only when its name was not received");
        }
    }
    // Every received cookie that is not a deletion is kept.
    for (const std::string& item : newItems) {
        if (item.ends_with("=deleted")) continue;
        Require(merged.find(item) != std::string::npos,
                "every received cookie that is not deleted is in the jar");
        // An empty item last in the jar leaves nothing after the final separator: it goes.
        if (separable && !item.empty()) {
            Require(Contains(items, item), "it is an item of the jar of its own");
        }
    }
    return 0;
}
