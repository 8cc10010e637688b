#include "online/DataScanner.hpp"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "online/TextEncoding.hpp"

namespace quintora {

namespace {

constexpr CharacterSet kWhitespace{" \t\n\v\f\r"};

// strtod in the "C" locale: only needed for the rare number that overflows or underflows, where
// std::from_chars gives no value but the platform convention is an infinity or a zero.
double convertOutOfRange(std::string_view text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace

double convertDecimal(std::string_view text) {
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        return convertOutOfRange(text);
    }
    if (error != std::errc()) {
        return 0.0;
    }
    return value;
}

DataScanner::DataScanner() = default;

DataScanner::DataScanner(std::span<const std::uint8_t> data) : data_(data.begin(), data.end()) {}

DataScanner DataScanner::scannerWithData(std::span<const std::uint8_t> data) { return DataScanner(data); }

void DataScanner::setData(std::span<const std::uint8_t> data) { adoptData(Data(data.begin(), data.end())); }

void DataScanner::adoptData(Data data) {
    data_ = std::move(data);
    current_ = 0;
}

void DataScanner::setScanLocation(std::size_t location) { current_ = std::min(location, data_.size()); }

char16_t DataScanner::scanCharacter() {
    if (isAtEnd()) {
        return u'\0';
    }
    return data_[current_++];
}

bool DataScanner::scanCharacter(char16_t character) {
    if (isAtEnd() || data_[current_] != character) {
        return false;
    }
    ++current_;
    return true;
}

bool DataScanner::scanUTF8String(const char* bytes, std::string* out) {
    if (bytes == nullptr) {
        return false;
    }
    return scanString(std::string_view(bytes, std::strlen(bytes)), out);
}

bool DataScanner::scanString(std::string_view string, std::string* out) {
    if (data_.size() - current_ < string.size() ||
        !std::equal(string.begin(), string.end(), data_.begin() + static_cast<std::ptrdiff_t>(current_),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
        return false;
    }
    if (out) {
        *out = decodeUTF8(bytes() + current_, string.size());
    }
    current_ += string.size();
    return true;
}

bool DataScanner::scanUpToString(std::string_view string, std::string* out) {
    const auto rest = std::string_view(reinterpret_cast<const char*>(bytes()), data_.size()).substr(current_);
    const std::size_t found = rest.find(string);
    if (found == std::string_view::npos) {
        return false;
    }
    if (out) {
        *out = decodeUTF8(bytes() + current_, found);
    }
    current_ += found;
    return true;
}

std::size_t DataScanner::endOfRun(const CharacterSet& set) const {
    std::size_t end = current_;
    while (end < data_.size() && set.contains(data_[end])) {
        ++end;
    }
    return end;
}

bool DataScanner::scanCharactersFromSet(const CharacterSet& set, std::string* out) {
    const std::size_t start = current_;
    const std::size_t end = endOfRun(set);
    if (end == start) {
        return false;
    }
    if (out) {
        *out = decodeUTF8(bytes() + start, end - start);
    }
    current_ = end;
    return true;
}

bool DataScanner::scanUpToCharactersFromSet(const CharacterSet& set, std::string* out) {
    return scanCharactersFromSet(set.inverted(), out);
}

bool DataScanner::scanNumber(double* out) {
    const std::size_t start = current_;
    const std::size_t end = endOfRun(doubleCharacters_);
    if (end == start) {
        return false;
    }
    if (out) {
        *out = convertDecimal(std::string_view(reinterpret_cast<const char*>(bytes()) + start, end - start));
    }
    current_ = end;
    return true;
}

void DataScanner::skipWhitespace() {
    while (current_ < data_.size() && kWhitespace.contains(data_[current_])) {
        ++current_;
    }
}

std::string DataScanner::remainingString() const {
    return decodeUTF8(bytes() + current_, data_.size() - current_);
}

}  // namespace quintora
