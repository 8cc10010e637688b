#include "online/TextEncoding.hpp"

#include <unistr.h>

namespace quintora {

TextEncoding detectJSONEncoding(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= 3) {
        return TextEncoding::UTF8;
    }
    const bool z0 = bytes[0] == 0, z1 = bytes[1] == 0, z2 = bytes[2] == 0, z3 = bytes[3] == 0;
    if (z0 && z1 && z2 && !z3) {
        return TextEncoding::UTF32BigEndian;
    }
    if (z0 && !z1 && z2 && !z3) {
        return TextEncoding::UTF16BigEndian;
    }
    if (!z0 && z1 && z2 && z3) {
        return TextEncoding::UTF32LittleEndian;
    }
    if (!z0 && z1 && !z2 && z3) {
        return TextEncoding::UTF16LittleEndian;
    }
    return TextEncoding::UTF8;
}

namespace {

std::uint32_t readUnit(const std::uint8_t* p, std::size_t width, bool bigEndian) {
    std::uint32_t unit = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::uint32_t byte = p[bigEndian ? i : width - 1 - i];
        unit = (unit << 8) | byte;
    }
    return unit;
}

void convertUTF16(std::span<const std::uint8_t> bytes, bool bigEndian, std::vector<std::uint8_t>& out) {
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t unit = readUnit(&bytes[2 * i], 2, bigEndian);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = readUnit(&bytes[2 * (i + 1)], 2, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        // A surrogate that is not half of a pair is written as U+FFFD by appendCodePoint.
        appendCodePoint(out, unit);
    }
    if (bytes.size() % 2 != 0) {
        appendCodePoint(out, kReplacementCharacter);
    }
}

void convertUTF32(std::span<const std::uint8_t> bytes, bool bigEndian, std::vector<std::uint8_t>& out) {
    const std::size_t units = bytes.size() / 4;
    for (std::size_t i = 0; i < units; ++i) {
        appendCodePoint(out, readUnit(&bytes[4 * i], 4, bigEndian));
    }
    if (bytes.size() % 4 != 0) {
        appendCodePoint(out, kReplacementCharacter);
    }
}

}  // namespace

std::vector<std::uint8_t> convertToUTF8(std::span<const std::uint8_t> bytes, TextEncoding encoding) {
    std::vector<std::uint8_t> out;
    switch (encoding) {
        case TextEncoding::UTF8: {
            std::string valid;
            appendValidUTF8(valid, bytes.data(), bytes.size());
            out.assign(valid.begin(), valid.end());
            break;
        }
        case TextEncoding::UTF16BigEndian:
        case TextEncoding::UTF16LittleEndian:
            out.reserve(bytes.size() / 2 + 8);
            convertUTF16(bytes, encoding == TextEncoding::UTF16BigEndian, out);
            break;
        case TextEncoding::UTF32BigEndian:
        case TextEncoding::UTF32LittleEndian:
            out.reserve(bytes.size() / 4 + 8);
            convertUTF32(bytes, encoding == TextEncoding::UTF32BigEndian, out);
            break;
    }
    return out;
}

std::size_t encodeCodePoint(char32_t codePoint, std::uint8_t* out) {
    const int length = u8_uctomb(out, codePoint, 4);
    return length > 0 ? static_cast<std::size_t>(length)
                      : static_cast<std::size_t>(u8_uctomb(out, kReplacementCharacter, 4));
}

void appendValidUTF8(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < count) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        ucs4_t codePoint = 0;
        if (const int valid = u8_mbtoucr(&codePoint, bytes + i, count - i); valid > 0) {
            i += static_cast<std::size_t>(valid);
            continue;
        }
        // libunistring steps over an ill-formed sequence by its maximal ill-formed subpart, as Unicode
        // recommends: one U+FFFD for each.
        out.append(reinterpret_cast<const char*>(bytes + runStart), i - runStart);
        appendCodePoint(out, kReplacementCharacter);
        i += static_cast<std::size_t>(u8_mbtouc(&codePoint, bytes + i, count - i));
        runStart = i;
    }
    out.append(reinterpret_cast<const char*>(bytes + runStart), count - runStart);
}

std::string decodeUTF8(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    appendValidUTF8(out, bytes, count);
    return out;
}

}  // namespace quintora
