// Reading speed of the JSON reader on replies of about 1 MB: a score list as the score client hands it
// (UTF-32 big-endian), the same list in UTF-8, and a UTF-8 document with a wider mix of values.
// Bytes/s counts the input bytes; chars/s counts the characters of the text, the same in every encoding.
#include "online/JSONDeserializer.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "online/TextEncoding.hpp"

namespace {

using namespace quintora;

constexpr std::size_t kTargetCharacters = 1 << 20;

std::string scoreListText() {
    static const char* const names[] = {"Amateur",
                                        "Ren\xC3\xA9"
                                        "e",
                                        "\xE4\xB8\xAD\xE6\x96\x87",
                                        "Player One",
                                        "Z\xC3\xBC"
                                        "rich",
                                        "Bo"};
    std::string text = "{\"scores\": [";
    char entry[256];
    for (int i = 0; text.size() < kTargetCharacters - 200; ++i) {
        std::snprintf(
            entry, sizeof entry,
            "%s{\"name\": \"%s\", \"score\": %d.%03d, \"rank\": %d, \"date\": \"2009-01-%02d 12:%02d:00\"}",
            i == 0 ? "" : ", ", names[i % 6], 300 - i % 300, (i * 37) % 1000, i + 1, 1 + i % 28, i % 60);
        text += entry;
    }
    text += "], \"total\": 1}";
    return text;
}

std::string mixedDocumentText() {
    std::string text = "{\"items\": [";
    char entry[512];
    for (int i = 0; text.size() < kTargetCharacters - 400; ++i) {
        std::snprintf(
            entry, sizeof entry,
            "%s{\"id\": %d, \"ok\": %s, \"note\": null, \"ratio\": -%d.%de-%d,"
            " \"text\": \"line \\\"%d\\\"\\n\\tcaf\\u00e9 \\ud83d\\ude00 \xE2\x9C\x93\","
            " \"tags\": [\"a\", \"b\", %d, [], {}], \"child\": {\"x\": %d, \"y\": [1.5, 2.5, 3.5]}}",
            i == 0 ? "" : ",\n  ", i, i % 2 ? "true" : "false", i % 10, i % 7, i % 5, i, i * 3, i);
        text += entry;
    }
    text += "]}";
    return text;
}

std::vector<std::uint8_t> toUTF32BigEndian(const std::string& utf8) {
    // A plain decoder is enough: the text is our own well-formed UTF-8, converted once before timing.
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        for (int shift = 24; shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(c >> shift));
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

void deserialize(benchmark::State& state, const std::vector<std::uint8_t>& bytes, std::size_t characters) {
    for (auto _ : state) {
        JSONError error;
        auto dictionary = JSONDeserializer::deserializer().deserializeAsDictionary(bytes, &error);
        if (!dictionary) {
            state.SkipWithError("the document did not read");
            return;
        }
        benchmark::DoNotOptimize(dictionary);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
    state.counters["chars/s"] =
        benchmark::Counter(static_cast<double>(characters) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["input_bytes"] = static_cast<double>(bytes.size());
}

std::size_t countCharacters(const std::string& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

void BM_ScoreListUTF32BigEndian(benchmark::State& state) {
    static const std::string text = scoreListText();
    static const std::vector<std::uint8_t> bytes = toUTF32BigEndian(text);
    deserialize(state, bytes, countCharacters(text));
}

void BM_ScoreListUTF8(benchmark::State& state) {
    static const std::string text = scoreListText();
    static const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    deserialize(state, bytes, countCharacters(text));
}

void BM_MixedDocumentUTF8(benchmark::State& state) {
    static const std::string text = mixedDocumentText();
    static const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    deserialize(state, bytes, countCharacters(text));
}

BENCHMARK(BM_ScoreListUTF32BigEndian)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScoreListUTF8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedDocumentUTF8)->Unit(benchmark::kMillisecond);

}  // namespace
