#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintora {

using Data = std::vector<std::uint8_t>;

// A set of byte values, tested one byte at a time; a byte of 0x80 or more is a member only if the set was
// built with it.
class CharacterSet {
  public:
    constexpr CharacterSet() = default;
    constexpr explicit CharacterSet(std::string_view characters) {
        for (const char c : characters) {
            members_[static_cast<std::uint8_t>(c)] = true;
        }
    }

    [[nodiscard]] constexpr bool contains(std::uint8_t byte) const { return members_[byte]; }
    [[nodiscard]] constexpr CharacterSet inverted() const {
        CharacterSet result;
        for (std::size_t i = 0; i < members_.size(); ++i) {
            result.members_[i] = !members_[i];
        }
        return result;
    }

  private:
    std::array<bool, 256> members_{};
};

// The bytes a number is scanned from.
inline constexpr std::string_view kNumberCharacters = "0123456789eE-.";

// Scans a buffer of bytes. The scanner keeps its own copy of the bytes, so the caller's buffer may go away
// while it scans. Every operation stays inside the buffer: at the end the current character reads as 0
// and matches nothing.
class DataScanner {
  public:
    DataScanner();
    explicit DataScanner(std::span<const std::uint8_t> data);
    virtual ~DataScanner() = default;
    DataScanner(const DataScanner&) = default;
    DataScanner& operator=(const DataScanner&) = default;
    DataScanner(DataScanner&&) = default;
    DataScanner& operator=(DataScanner&&) = default;

    [[nodiscard]] static DataScanner scannerWithData(std::span<const std::uint8_t> data);

    // Replaces the bytes being scanned and moves the scan location back to their start.
    virtual void setData(std::span<const std::uint8_t> data);
    [[nodiscard]] const Data& data() const { return data_; }
    [[nodiscard]] std::size_t length() const { return data_.size(); }

    [[nodiscard]] std::size_t scanLocation() const { return current_; }
    // A location past the end is taken as the end.
    void setScanLocation(std::size_t location);
    [[nodiscard]] bool isAtEnd() const { return current_ >= data_.size(); }

    [[nodiscard]] const CharacterSet& doubleCharacters() const { return doubleCharacters_; }
    void setDoubleCharacters(const CharacterSet& characters) { doubleCharacters_ = characters; }

    // The byte at the scan location, or 0 at the end.
    [[nodiscard]] char16_t currentCharacter() const { return isAtEnd() ? u'\0' : data_[current_]; }
    // The byte at the scan location, then one step on; at the end 0, and no step.
    char16_t scanCharacter();
    // Steps over `character` if it is the byte at the scan location.
    [[nodiscard]] bool scanCharacter(char16_t character);

    // Each of these returns false, without moving, when it scans nothing; the scanned bytes are decoded
    // as UTF-8 (ill-formed parts as U+FFFD) into `out` when it is given.
    [[nodiscard]] bool scanUTF8String(const char* bytes, std::string* out = nullptr);
    [[nodiscard]] bool scanString(std::string_view string, std::string* out = nullptr);
    // Moves up to the next occurrence of `string`; false only when there is none (found at once, it is
    // true with an empty `out`).
    [[nodiscard]] bool scanUpToString(std::string_view string, std::string* out = nullptr);
    [[nodiscard]] bool scanCharactersFromSet(const CharacterSet& set, std::string* out = nullptr);
    [[nodiscard]] bool scanUpToCharactersFromSet(const CharacterSet& set, std::string* out = nullptr);

    // Scans the longest run of doubleCharacters() and converts its leading part that forms a decimal
    // number, independent of the process locale; a run with no such part gives 0. False on an empty run.
    [[nodiscard]] bool scanNumber(double* out = nullptr);

    // Steps over ASCII white space: space, tab, line feed, vertical tab, form feed, carriage return.
    void skipWhitespace();

    [[nodiscard]] std::string remainingString() const;

  protected:
    // Replaces the bytes with ones already converted by a subclass.
    void adoptData(Data data);
    [[nodiscard]] const std::uint8_t* bytes() const { return data_.data(); }
    // The scan position itself, for subclasses that step through the bytes directly.
    std::size_t current_ = 0;

  private:
    // Where the run of bytes from the scan position that all belong to the set ends.
    [[nodiscard]] std::size_t endOfRun(const CharacterSet& set) const;

    Data data_;
    CharacterSet doubleCharacters_{kNumberCharacters};
};

// Converts the leading part of `text` that forms a decimal number ("-12.5e3" in "-12.5e3-4"), in the
// "C" locale whatever the process locale, with no limit on the text's length. Overflow gives an infinity,
// underflow a zero or a subnormal; text with no such part gives 0.
[[nodiscard]] double convertDecimal(std::string_view text);

}  // namespace quintora
