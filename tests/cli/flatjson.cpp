#include "tests/cli/flatjson.h"

#include <cstdint>

namespace lq::test {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<FlatJsonObject> Object() {
        FlatJsonObject object;
        SkipSpace();
        if (!Take('{')) return std::nullopt;
        SkipSpace();
        if (!Take('}')) {
            do {
                SkipSpace();
                auto key = String();
                SkipSpace();
                if (!key || !Take(':')) return std::nullopt;
                SkipSpace();
                auto value = Value();
                if (!value) return std::nullopt;
                object.emplace_back(std::move(*key), std::move(*value));
                SkipSpace();
            } while (Take(','));
            if (!Take('}')) return std::nullopt;
        }
        SkipSpace();
        if (at_ != text_.size()) return std::nullopt;
        return object;
    }

private:
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void SkipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }
    std::optional<FlatJsonValue> Value() {
        if (at_ < text_.size() && text_[at_] == '"') {
            auto text = String();
            if (!text) return std::nullopt;
            return FlatJsonValue{false, std::move(*text)};
        }
        const std::size_t start = at_;
        Take('-');
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        const std::string_view digits = text_.substr(start, at_ - start);
        if (digits.empty() || digits == "-") return std::nullopt;
        const std::string_view unsigned_ = digits[0] == '-' ? digits.substr(1) : digits;
        if (unsigned_.size() > 1 && unsigned_[0] == '0') return std::nullopt;
        return FlatJsonValue{true, std::string(digits)};
    }
    std::optional<std::uint32_t> Hex4() {
        if (at_ + 4 > text_.size()) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }
    static void AppendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    std::optional<std::string> String() {
        if (!Take('"')) return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;  // must be escaped
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            const char e = text_[at_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    auto unit = Hex4();
                    if (!unit) return std::nullopt;
                    std::uint32_t cp = *unit;
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        if (!Take('\\') || !Take('u')) return std::nullopt;
                        auto low = Hex4();
                        if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
                    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                        return std::nullopt;
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<FlatJsonObject> ParseFlatJson(std::string_view text) { return Reader(text).Object(); }

}  // namespace lq::test
