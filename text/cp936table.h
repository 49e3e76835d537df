// The code page 936 mapping, read once from iconv ("CP936", the C library's GBK with the euro
// sign at 0x80) into lookup tables, so converting a page costs a table look-up per character
// instead of an iconv call per run of characters.
#pragma once

#include <cstdint>
#include <vector>

namespace lq {

class Cp936Table {
public:
    // The process-wide table, built on first use (thread-safe) and never changed afterwards.
    static const Cp936Table& Get();

    Cp936Table(const Cp936Table&) = delete;
    Cp936Table& operator=(const Cp936Table&) = delete;

    // The character of a single byte of 0x80 or more that stands alone (0x80, the euro sign),
    // or 0 when the byte is not a character by itself.
    char16_t DecodeSingle(unsigned char byte) const { return singles_[byte & 0x7F]; }
    // The character of the pair lead (0x81-0xFE), second (0x40-0x7E, 0x80-0xFE); 0 when the
    // pair names no character (the user-defined areas among them).
    char16_t DecodePair(unsigned char lead, unsigned char second) const {
        return pairs_[static_cast<std::size_t>(lead - kFirstLead) * kSecondCount +
                      static_cast<std::size_t>(second - kFirstSecond)];
    }
    // The GBK form of a character of U+0080 to U+FFFF: 0 when there is none, a value below
    // 0x100 for a single byte, otherwise lead * 256 + second.
    std::uint16_t Encode(char16_t unit) const { return encode_[unit]; }

    static bool IsLead(unsigned char byte) { return byte >= kFirstLead && byte <= kLastLead; }
    static bool IsSecond(unsigned char byte) {
        return byte >= kFirstSecond && byte <= kLastSecond && byte != 0x7F;
    }

private:
    Cp936Table();

    static constexpr unsigned char kFirstLead = 0x81;
    static constexpr unsigned char kLastLead = 0xFE;
    static constexpr unsigned char kFirstSecond = 0x40;
    static constexpr unsigned char kLastSecond = 0xFE;
    static constexpr std::size_t kSecondCount = kLastSecond - kFirstSecond + 1;

    std::vector<char16_t> singles_;      // bytes 0x80-0xFF
    std::vector<char16_t> pairs_;        // (lead - 0x81) * 191 + (second - 0x40)
    std::vector<std::uint16_t> encode_;  // indexed by UTF-16 unit
};

}  // namespace lq
