#include "online/TextEncoding.hpp"

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

namespace {

// Length of the well-formed sequence starting at p[0] (which is at least 0x80), or, when it is
// ill-formed, the negated length of its maximal ill-formed subpart (at least 1).
std::ptrdiff_t measureSequence(const std::uint8_t* p, std::size_t available) {
    const std::uint8_t lead = p[0];
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return -1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= available) {
            return -static_cast<std::ptrdiff_t>(i);
        }
        const std::uint8_t byte = p[i];
        const std::uint8_t min = i == 1 ? low : 0x80;
        const std::uint8_t max = i == 1 ? high : 0xBF;
        if (byte < min || byte > max) {
            return -static_cast<std::ptrdiff_t>(i);
        }
    }
    return static_cast<std::ptrdiff_t>(length);
}

}  // namespace

void appendValidUTF8(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < count) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const std::ptrdiff_t measured = measureSequence(bytes + i, count - i);
        if (measured > 0) {
            i += static_cast<std::size_t>(measured);
            continue;
        }
        out.append(reinterpret_cast<const char*>(bytes + runStart), i - runStart);
        appendCodePoint(out, kReplacementCharacter);
        i += static_cast<std::size_t>(-measured);
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
