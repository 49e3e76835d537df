// Merging the cookies a response set into a caller's cookie text: received cookies first, then
// the old ones whose names were not received; deleted items and repeats dropped.
#include "web/cookies.h"

#include "text/gbktext.h"

namespace lq {

namespace {

// A server deletes a cookie by setting its value to "deleted" (case-sensitive).
bool IsDeletedItem(std::string_view item) { return item.ends_with("=deleted"); }

// Removes the closing separator that a join loop leaves behind.
void DropTail(std::string& text, std::size_t count) {
    text.resize(text.size() > count ? text.size() - count : 0);
}

}  // namespace

std::string CookieName(std::string_view item) {
    const std::size_t equals = item.find('=');
    return TrimSpaces(equals == std::string_view::npos ? item : item.substr(0, equals));
}

bool HasCookieNamed(const std::vector<std::string>& items, std::string_view name) {
    for (const std::string& item : items) {
        if (CookieName(item) == name) return true;
    }
    return false;
}

int IndexOfItem(const std::vector<std::string>& items, std::string_view item) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item) return static_cast<int>(i) + 1;
    }
    return -1;
}

std::string RemoveDuplicateItems(std::string_view text, std::string_view separator) {
    std::vector<std::string> seen;
    std::string result;
    for (std::string& piece : SplitText(text, separator)) {
        if (IndexOfItem(seen, piece) != -1) continue;
        result += piece;
        result += separator;
        seen.push_back(std::move(piece));
    }
    DropTail(result, separator.size());
    return result;
}

std::string MergeCookies(std::string& jar, std::string& received) {
    jar = RemoveSpaces(jar);
    received = RemoveSpaces(received);
    const std::vector<std::string> oldItems = SplitText(jar, ";");
    std::vector<std::string> items = SplitText(received, ";");
    // The list grows while it is checked, so of several old items with one name only the first
    // is kept.
    for (const std::string& item : oldItems) {
        if (!HasCookieNamed(items, CookieName(item))) items.push_back(item);
    }
    std::string merged;
    for (const std::string& item : items) {
        if (IsDeletedItem(item)) continue;
        merged += item;
        merged += "; ";
    }
    DropTail(merged, 2);
    jar = RemoveDuplicateItems(merged, "; ");
    return jar;
}

}  // namespace lq
