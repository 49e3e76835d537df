// Merging the cookies a response set into a caller's cookie text ("name=value; name=value").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lq {

// Received cookies first, then old cookies whose names were not received; "=deleted" items and
// repeats dropped. jar and received are rewritten (spaces removed); returns a copy of the jar.
std::string MergeCookies(std::string& jar, std::string& received);
std::string CookieName(std::string_view item);
bool HasCookieNamed(const std::vector<std::string>& items, std::string_view name);
std::string RemoveDuplicateItems(std::string_view text, std::string_view separator);
// 1-based index of the first item equal to item, or -1.
int IndexOfItem(const std::vector<std::string>& items, std::string_view item);

}  // namespace lq
