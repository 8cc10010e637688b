#pragma once
// Little-endian bytes for the replay format: unsigned numbers as LEB128 varints, signed ones zigzagged
// first, floats as their four or eight bytes so that they come back bit for bit. The reader never reads past
// its end: a read that would gives nothing and marks the stream failed.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quintora::replay {

class ByteWriter {
  public:
    void unsignedNumber(std::uint64_t value);
    void signedNumber(std::int64_t value);
    void byte(std::uint8_t value) { bytes_.push_back(value); }
    void floatBits(float value);
    void doubleBits(double value);
    void text(const std::string& value);
    [[nodiscard]] std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::uint64_t> unsignedNumber();
    std::optional<std::int64_t> signedNumber();
    std::optional<std::uint8_t> byte();
    std::optional<float> floatBits();
    std::optional<double> doubleBits();
    // A text of at most maxLength bytes.
    std::optional<std::string> text(std::size_t maxLength);
    [[nodiscard]] bool atEnd() const { return position_ == bytes_.size(); }

  private:
    template <typename Number>
    std::optional<Number> bitsOf();

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace quintora::replay
