// Pages the benchmarks parse: result pages of any number of hits in the share-search site's
// markup (taken from the demo site's own page generator), and hostile pages built to make a
// careless matcher go quadratic. All pages are UTF-8 body bytes, as they arrive off the wire.
#pragma once

#include <cstddef>
#include <string>

namespace lq::bench {

// A result page of hitCount hits: the demo site's page 1 for a Chinese keyword, with the hit
// rows of as many of its pages as needed spliced into one list (the pager names the real page
// count). hitCount need not be a multiple of the site's 20 hits a page.
std::string ResultPageWithHits(int hitCount);

// openings hit links that are never closed: each is a complete "<a href="/t/..." ... title="...">"
// followed by its name and a line feed, but no "</a></div><div class="catlist-li-info">".
std::string UnclosedOpeningsPage(int openings);

// A page of hitCount hits whose information lines all carry " | " before the download count,
// the malformed form that lets no hit end: nothing matches.
std::string BarredInfoLinesPage(int hitCount);

// The same, except that the last hit's information line is well formed: the first link's
// lazy inner group then runs over the whole page to it, and the page gives one merged hit.
std::string BarredButLastPage(int hitCount);

// The number of hit rows in a page made by ResultPageWithHits (for checking the generator).
std::size_t CountHitRows(const std::string& page);

}  // namespace lq::bench
