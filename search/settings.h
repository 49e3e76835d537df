// The program's fixed settings: the share-search site, the maker's sites, the donation account
// and the group link. Built in; the front ends may point the two sites elsewhere at start-up.
#pragma once

#include <optional>
#include <string>

namespace lq {

struct Settings {
    std::string shareSiteBase;        // scheme and host, no trailing slash
    std::string newsSiteAddress;      // scheme and host, no trailing slash
    std::string officialSiteAddress;
    std::string donationPageAddress;
    std::string donationAccount;
    std::string groupNumber;
    std::string groupJoinLink;
};

// The settings in force (GBK texts). Fixed values unless OverrideSites ran.
const Settings& CurrentSettings();

// Replaces the share-site base and/or the news-site address (a trailing "/" is dropped). Call
// once at start-up, before any thread starts; without it nothing changes.
void OverrideSites(const std::optional<std::string>& shareSiteBase,
                   const std::optional<std::string>& newsSiteAddress);

std::string NoticeAddress();   // news site + "/vrx.txt"
std::string TopListAddress();  // share site + "/top/?b=3"

}  // namespace lq
