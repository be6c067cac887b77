#include "data/TextDecoding.h"

#include <cstdint>

namespace zelvar {

namespace {

void appendUtf8(std::string &out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

constexpr std::uint32_t Replacement = 0xFFFD;

// Length of the well-formed UTF-8 sequence at text[pos], 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(pos + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
        || (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return 0;
    return length;
}

std::string repairUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length == 0) {
            appendUtf8(out, Replacement);
            ++pos;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool littleEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t k) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * k]);
        const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
        return littleEndian ? (a | (b << 8)) : ((a << 8) | b);
    };
    for (std::size_t k = 0; k < units; ++k) {
        const std::uint32_t first = unit(k);
        if (first >= 0xD800 && first <= 0xDBFF && k + 1 < units) {
            const std::uint32_t second = unit(k + 1);
            if (second >= 0xDC00 && second <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
                ++k;
                continue;
            }
        }
        appendUtf8(out, (first >= 0xD800 && first <= 0xDFFF) ? Replacement : first);
    }
    if (bytes.size() % 2 != 0)
        appendUtf8(out, Replacement);
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool isValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        // Plain ASCII runs are the bulk of every data file.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes)
{
    // 0x80..0x9F; the five unassigned positions map to the C1 controls.
    static const std::uint16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else if (byte < 0xA0)
            appendUtf8(out, high[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

std::string decodeText(std::string bytes, CharacterSet set)
{
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
        set = CharacterSet::Utf8;
    } else if (startsWith(bytes, "\xFF\xFE")) {
        bytes.erase(0, 2);
        set = CharacterSet::Utf16LE;
    } else if (startsWith(bytes, "\xFE\xFF")) {
        bytes.erase(0, 2);
        set = CharacterSet::Utf16BE;
    }
    switch (set) {
    case CharacterSet::Automatic:
        if (isValidUtf8(bytes))
            return bytes;
        return windows1252ToUtf8(bytes);
    case CharacterSet::Ansi:
        return windows1252ToUtf8(bytes);
    case CharacterSet::Utf8:
        if (isValidUtf8(bytes))
            return bytes;
        return repairUtf8(bytes);
    case CharacterSet::Utf16LE:
        return utf16ToUtf8(bytes, true);
    case CharacterSet::Utf16BE:
        return utf16ToUtf8(bytes, false);
    }
    return bytes;
}

} // namespace zelvar
