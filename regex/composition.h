// Composition of base-and-combining character sequences into precomposed characters, the step
// a whole match goes through before it is converted to GBK.
#pragma once

#include <string>
#include <string_view>

namespace lq {

// Applies NFC to every sequence of a base character followed by combining characters; a
// character standing alone is kept as it is, so a compatibility ideograph keeps its code
// point (NFC would map it to the unified one and change the GBK bytes). Valid UTF-8 in and out.
std::string ComposeCombiningSequences(std::string_view utf8);

}  // namespace lq
