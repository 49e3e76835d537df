// Reads the code page 936 mapping out of iconv once: every single byte and every byte pair is
// decoded, and the encoding table is the inverse of what was decoded.
#include "text/cp936table.h"

#include <iconv.h>

#include <bit>
#include <cstring>

namespace lq {

namespace {

constexpr const char* kGbkCharset = "CP936";
constexpr const char* kUtf16Charset =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion descriptor, owned; used only while the table is built.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (Valid()) iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // iconv_open reports failure as (iconv_t)-1.
    bool Valid() const {
        return handle_ != reinterpret_cast<iconv_t>(-1);
    }  // NOLINT(performance-no-int-to-ptr)

    // The one UTF-16 unit that the bytes decode to as a whole, or 0 when iconv refuses them
    // or they make anything other than exactly one unit.
    char16_t DecodeOne(const char* bytes, std::size_t length) const {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char input[2] = {};
        std::memcpy(input, bytes, length);
        char16_t units[2] = {};
        char* in = input;
        std::size_t inLeft = length;
        char* out = reinterpret_cast<char*>(units);
        std::size_t outLeft = sizeof units;
        const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
        if (result == static_cast<std::size_t>(-1) || inLeft != 0 ||
            outLeft != sizeof units - sizeof(char16_t)) {
            return 0;
        }
        return units[0];
    }

private:
    iconv_t handle_;
};

}  // namespace

const Cp936Table& Cp936Table::Get() {
    static const Cp936Table table;
    return table;
}

Cp936Table::Cp936Table()
    : singles_(0x80, 0),
      pairs_(static_cast<std::size_t>(kLastLead - kFirstLead + 1) * kSecondCount, 0),
      encode_(0x10000, 0) {
    const IconvHandle decoder(kUtf16Charset, kGbkCharset);
    if (!decoder.Valid()) return;  // no code page 936 here: every non-ASCII byte is unknown
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (unsigned second = kFirstSecond; second <= kLastSecond; ++second) {
            if (!IsSecond(static_cast<unsigned char>(second))) continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(second)};
            const char16_t unit = decoder.DecodeOne(pair, 2);
            pairs_[(lead - kFirstLead) * kSecondCount + (second - kFirstSecond)] = unit;
            // The first pair that names a character is the one it encodes to.
            if (unit >= 0x80 && encode_[unit] == 0) {
                encode_[unit] = static_cast<std::uint16_t>(lead << 8 | second);
            }
        }
    }
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const char single = static_cast<char>(byte);
        const char16_t unit = decoder.DecodeOne(&single, 1);
        singles_[byte - 0x80] = unit;
        if (unit >= 0x80) encode_[unit] = static_cast<std::uint16_t>(byte);
    }
}

}  // namespace lq
