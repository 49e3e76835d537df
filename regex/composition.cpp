// Composition of combining sequences with ICU's NFC normalizer, one sequence at a time.
#include "regex/composition.h"

#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>
#include <unicode/unistr.h>

namespace lq {

namespace {

bool IsAscii(std::string_view text) {
    for (const char ch : text) {
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string ComposeCombiningSequences(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status) || nfc == nullptr) return std::string(utf8);
    const icu::UnicodeString source = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    icu::UnicodeString composed;
    // A segment runs from one character that starts a sequence up to the next one.
    const auto flush = [&](int32_t begin, int32_t end) {
        const icu::UnicodeString segment = source.tempSubStringBetween(begin, end);
        if (segment.countChar32() <= 1) {
            composed.append(segment);
            return;
        }
        UErrorCode segmentStatus = U_ZERO_ERROR;
        const icu::UnicodeString normalized = nfc->normalize(segment, segmentStatus);
        composed.append(U_SUCCESS(segmentStatus) ? normalized : segment);
    };
    int32_t segmentStart = 0;
    for (int32_t at = 0; at < source.length(); at = source.moveIndex32(at, 1)) {
        if (at > segmentStart && nfc->hasBoundaryBefore(source.char32At(at))) {
            flush(segmentStart, at);
            segmentStart = at;
        }
    }
    flush(segmentStart, source.length());
    std::string result;
    composed.toUTF8String(result);
    return result;
}

}  // namespace lq
