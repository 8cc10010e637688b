#include "replay/ByteStream.hpp"

#include <cstring>
#include <type_traits>

namespace quintora::replay {

void ByteWriter::unsignedNumber(std::uint64_t value) {
    while (value >= 0x80) {
        bytes_.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    bytes_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::signedNumber(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    unsignedNumber((bits << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0));
}

void ByteWriter::floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void ByteWriter::doubleBits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void ByteWriter::text(const std::string& value) {
    unsignedNumber(value.size());
    bytes_.insert(bytes_.end(), value.begin(), value.end());
}

std::optional<std::uint64_t> ByteReader::unsignedNumber() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (position_ >= bytes_.size()) return std::nullopt;
        const std::uint8_t next = bytes_[position_++];
        value |= static_cast<std::uint64_t>(next & 0x7f) << shift;
        if ((next & 0x80) == 0) return value;
    }
    return std::nullopt;  // longer than any 64-bit number
}

std::optional<std::int64_t> ByteReader::signedNumber() {
    const std::optional<std::uint64_t> bits = unsignedNumber();
    if (!bits) return std::nullopt;
    return static_cast<std::int64_t>((*bits >> 1) ^ (~(*bits & 1) + 1));
}

std::optional<std::uint8_t> ByteReader::byte() {
    if (position_ >= bytes_.size()) return std::nullopt;
    return bytes_[position_++];
}

template <typename Number>
std::optional<Number> ByteReader::bitsOf() {
    if (bytes_.size() - position_ < sizeof(Number)) return std::nullopt;
    using Bits = std::conditional_t<sizeof(Number) == 4, std::uint32_t, std::uint64_t>;
    Bits bits = 0;
    for (std::size_t shift = 0; shift < 8 * sizeof(Number); shift += 8)
        bits |= static_cast<Bits>(bytes_[position_++]) << shift;
    Number value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::optional<float> ByteReader::floatBits() { return bitsOf<float>(); }

std::optional<double> ByteReader::doubleBits() { return bitsOf<double>(); }

std::optional<std::string> ByteReader::text(std::size_t maxLength) {
    const std::optional<std::uint64_t> length = unsignedNumber();
    if (!length || *length > maxLength || *length > bytes_.size() - position_) return std::nullopt;
    std::string value(reinterpret_cast<const char*>(bytes_.data() + position_), *length);
    position_ += *length;
    return value;
}

}  // namespace quintora::replay
