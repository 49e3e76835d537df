#include "cli/rowformat.h"

#include <cstdint>
#include <cstdio>

#include "text/utf8.h"

namespace lq {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsControl(std::uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

std::string Hex(const char* format, std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value));
    return buffer;
}

// Walks the text character by character; onChar appends each valid character's output.
template <typename OnChar>
std::string Transform(std::string_view text, OnChar onChar) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char character = ReadUtf8Char(text, i);
        if (character.length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        onChar(out, std::uint32_t{character.codePoint}, text.substr(i, character.length));
        i += character.length;
    }
    return out;
}

void EscapeControl(std::string& out, std::uint32_t codePoint) {
    switch (codePoint) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += codePoint < 0x80 ? Hex("\\x%02X", codePoint) : Hex("\\u%04X", codePoint);
    }
}

}  // namespace

std::string ValidUtf8(std::string_view bytes) {
    return Transform(bytes, [](std::string& out, std::uint32_t, std::string_view character) {
        out += character;
    });
}

std::string EscapeField(std::string_view utf8) {
    return Transform(utf8,
                     [](std::string& out, std::uint32_t codePoint, std::string_view character) {
                         if (codePoint == '\\') {
                             out += "\\\\";
                         } else if (IsControl(codePoint)) {
                             EscapeControl(out, codePoint);
                         } else {
                             out += character;
                         }
                     });
}

std::string TerminalSafeText(std::string_view utf8) {
    return Transform(utf8, [](std::string& out, std::uint32_t codePoint,
                              std::string_view character) {
        if (IsControl(codePoint) && codePoint != '\n' && codePoint != '\r' && codePoint != '\t') {
            EscapeControl(out, codePoint);
        } else {
            out += character;
        }
    });
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    out +=
        Transform(utf8, [](std::string& text, std::uint32_t codePoint, std::string_view character) {
            switch (codePoint) {
                case '"':
                    text += "\\\"";
                    break;
                case '\\':
                    text += "\\\\";
                    break;
                case '\b':
                    text += "\\b";
                    break;
                case '\f':
                    text += "\\f";
                    break;
                case '\n':
                    text += "\\n";
                    break;
                case '\r':
                    text += "\\r";
                    break;
                case '\t':
                    text += "\\t";
                    break;
                default:
                    // Also DEL and C1: valid raw in JSON, but not on a terminal.
                    text +=
                        IsControl(codePoint) ? Hex("\\u%04x", codePoint) : std::string(character);
            }
        });
    out += '"';
    return out;
}

std::string TabSeparatedLine(const PrintedRow& row) {
    return EscapeField(row.sequence) + '\t' + EscapeField(row.name) + '\t' + EscapeField(row.size) +
           '\t' + EscapeField(row.downloads) + '\t' + EscapeField(row.address) + '\n';
}

std::string JsonLine(const PrintedRow& row) {
    // The sequence number is a JSON number; the run only ever writes decimal digits there.
    const bool numeric = !row.sequence.empty() && row.sequence.size() <= 10 &&
                         row.sequence.find_first_not_of("0123456789") == std::string::npos &&
                         (row.sequence[0] != '0' || row.sequence.size() == 1);
    return "{\"seq\":" + (numeric ? row.sequence : JsonString(row.sequence)) +
           ",\"name\":" + JsonString(row.name) + ",\"size\":" + JsonString(row.size) +
           ",\"downloads\":" + JsonString(row.downloads) +
           ",\"address\":" + JsonString(row.address) + "}\n";
}

}  // namespace lq
