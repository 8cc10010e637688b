#include "platform/Font.hpp"

#include <SDL.h>
#include <SDL_ttf.h>
#include <unictype.h>
#include <unistr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "platform/Log.hpp"
#include "platform/Resources.hpp"

namespace quintora::platform {
namespace {

constexpr const char* tableName = "fonts/fonts.txt";
constexpr const char* fallbackKey = "fallback";

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// One code point from position pos; a malformed sequence counts as one replacement character, so every
// step advances and no sequence is read past the end.
std::size_t decodeCodePoint(std::string_view text, std::size_t pos, char32_t& codePoint) {
    ucs4_t decoded = 0;
    const int length =
        u8_mbtouc(&decoded, reinterpret_cast<const std::uint8_t*>(text.data()) + pos, text.size() - pos);
    codePoint = decoded;
    return static_cast<std::size_t>(length);
}

int pixelSize(float pointSize) {
    if (!std::isfinite(pointSize) || pointSize < 1.0f) return 1;
    return static_cast<int>(std::lround(std::min(pointSize, 1024.0f)));
}

// Opens fonts by name through the resources' font table and keeps every font it opened for the rest of
// the run: labels are rendered again on every text change, so reopening a font file each time would
// dominate the cost of a label.
class FontLibrary {
  public:
    static FontLibrary& instance() {
        static FontLibrary library;
        return library;
    }

    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    ~FontLibrary() {
        for (auto& [key, font] : fonts_) {
            if (font) TTF_CloseFont(font);
        }
        fonts_.clear();
        if (ready_) TTF_Quit();
    }

    // The font to draw this text with: the named one, unless it is unknown or cannot be opened, or lacks a
    // glyph of the text that the fallback font has. Null only when no font at all can be opened.
    TTF_Font* fontFor(std::string_view text, const std::string& name, int size) {
        if (!ready_) return nullptr;
        reloadTableIfMoved();
        TTF_Font* fallback = fallbackFont(size);
        TTF_Font* named = name == fallbackKey ? fallback : namedFont(name, size);
        if (!named) return fallback;
        if (fallback && fallback != named && lacksGlyph(named, text)) return fallback;
        return named;
    }

  private:
    FontLibrary() {
        ready_ = TTF_Init() == 0;
        if (!ready_) logf("Font: cannot start the font renderer: %s", TTF_GetError());
    }

    void reloadTableIfMoved() {
        const std::string& directory = resourceDirectory();
        if (tableDirectory_ && *tableDirectory_ == directory) return;
        tableDirectory_ = directory;
        table_.clear();
        warned_.clear();

        const std::string path = resourcePath(tableName);
        std::ifstream file(path);
        if (!file) {
            logf("Font: cannot read the font table %s", path.c_str());
            return;
        }
        std::string line;
        int number = 0;
        while (std::getline(file, line)) {
            ++number;
            const std::string content = trim(line.substr(0, line.find('#')));
            if (content.empty()) continue;
            const auto equals = content.find('=');
            std::string key = equals == std::string::npos ? std::string() : trim(content.substr(0, equals));
            std::string value =
                equals == std::string::npos ? std::string() : trim(content.substr(equals + 1));
            if (key.empty() || value.empty()) {
                logf("Font: ignoring line %d of %s", number, path.c_str());
                continue;
            }
            table_.insert_or_assign(std::move(key), std::move(value));
        }
    }

    std::string fontPath(const std::string& file) const {
        if (!file.empty() && file.front() == '/') return file;
        return resourcePath("fonts/" + file);
    }

    TTF_Font* open(const std::string& path, int size) {
        auto key = std::make_pair(path, size);
        if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
        // A failed open is remembered as well, so that a missing file costs one attempt, not one per label.
        TTF_Font* font = TTF_OpenFont(path.c_str(), size);
        fonts_.emplace(std::move(key), font);
        return font;
    }

    void warnOnce(const std::string& name, const std::string& text) {
        if (warned_.insert(name).second) log(text);
    }

    TTF_Font* namedFont(const std::string& name, int size) {
        const auto entry = table_.find(name);
        if (entry == table_.end()) {
            warnOnce(name, "Font: no font named '" + name + "'; using the fallback font");
            return nullptr;
        }
        const std::string path = fontPath(entry->second);
        TTF_Font* font = open(path, size);
        if (!font)
            warnOnce(name, "Font: cannot open " + path + " for '" + name + "'; using the fallback font");
        return font;
    }

    TTF_Font* fallbackFont(int size) {
        const auto entry = table_.find(fallbackKey);
        if (entry == table_.end()) {
            warnOnce(fallbackKey, "Font: the font table names no fallback font");
            return nullptr;
        }
        const std::string path = fontPath(entry->second);
        TTF_Font* font = open(path, size);
        if (!font) warnOnce(fallbackKey, "Font: cannot open the fallback font " + path);
        return font;
    }

    static bool lacksGlyph(TTF_Font* font, std::string_view text) {
        for (std::size_t pos = 0; pos < text.size();) {
            char32_t codePoint = 0;
            pos += decodeCodePoint(text, pos, codePoint);
            if (uc_is_general_category(codePoint, UC_CATEGORY_Cc)) continue;  // controls draw nothing
            if (!TTF_GlyphIsProvided32(font, static_cast<Uint32>(codePoint))) return true;
        }
        return false;
    }

    bool ready_ = false;
    std::optional<std::string> tableDirectory_;
    std::map<std::string, std::string> table_;
    std::set<std::string> warned_;
    std::map<std::pair<std::string, int>, TTF_Font*> fonts_;
};

int lineWidth(TTF_Font* font, std::string_view text) {
    if (text.empty()) return 0;
    const std::string terminated(text);
    int width = 0;
    int height = 0;
    if (TTF_SizeUTF8(font, terminated.c_str(), &width, &height) != 0) return 0;
    return width;
}

std::vector<std::string_view> paragraphs(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find('\n', start);
        std::string_view paragraph =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        result.push_back(paragraph);
        if (end == std::string_view::npos) return result;
        start = end + 1;
    }
}

std::string_view trimTrailingSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Breaks a paragraph into lines no wider than maxWidth, at spaces where it can and inside a word only
// when the word alone is wider than a line; every line holds at least one character, so this always ends.
void wrapParagraph(TTF_Font* font, std::string_view paragraph, int maxWidth, std::size_t maxLines,
                   std::vector<std::string_view>& lines) {
    if (lineWidth(font, trimTrailingSpaces(paragraph)) <= maxWidth) {
        lines.push_back(paragraph);
        return;
    }
    std::size_t pos = 0;
    while (pos < paragraph.size() && lines.size() < maxLines) {
        if (pos > 0) {
            while (pos < paragraph.size() && paragraph[pos] == ' ') ++pos;
            if (pos == paragraph.size()) break;
        }
        std::size_t fitted = std::string_view::npos;
        std::size_t end = pos;
        while (end < paragraph.size()) {
            std::size_t wordEnd = end;
            while (wordEnd < paragraph.size() && paragraph[wordEnd] == ' ') ++wordEnd;
            while (wordEnd < paragraph.size() && paragraph[wordEnd] != ' ') ++wordEnd;
            if (lineWidth(font, paragraph.substr(pos, wordEnd - pos)) > maxWidth) break;
            fitted = wordEnd;
            end = wordEnd;
        }
        if (fitted != std::string_view::npos) {
            lines.push_back(paragraph.substr(pos, fitted - pos));
            pos = fitted;
            continue;
        }
        std::size_t cut = pos;
        char32_t codePoint = 0;
        cut += decodeCodePoint(paragraph, cut, codePoint);
        while (cut < paragraph.size() && paragraph[cut] != ' ') {
            const std::size_t next = cut + decodeCodePoint(paragraph, cut, codePoint);
            if (lineWidth(font, paragraph.substr(pos, next - pos)) > maxWidth) break;
            cut = next;
        }
        lines.push_back(paragraph.substr(pos, cut - pos));
        pos = cut;
    }
}

// Copies the coverage of one rendered line into the bitmap, keeping inside the clip rectangle; where
// lines overlap the stronger coverage wins.
void blitCoverage(SDL_Surface* surface, int left, int top, int clipWidth, int clipHeight, int bitmapWidth,
                  std::vector<std::uint8_t>& bitmap) {
    if (surface->format->BytesPerPixel != 4 || surface->format->Amask == 0) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const Uint32 mask = surface->format->Amask;
    const Uint8 shift = surface->format->Ashift;
    for (int y = std::max(0, -top); y < surface->h && top + y < clipHeight; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                                          static_cast<std::ptrdiff_t>(y) * surface->pitch);
        std::uint8_t* target = bitmap.data() + static_cast<std::ptrdiff_t>(top + y) * bitmapWidth;
        for (int x = std::max(0, -left); x < surface->w && left + x < clipWidth; ++x) {
            const auto coverage = static_cast<std::uint8_t>((row[x] & mask) >> shift);
            target[left + x] = std::max(target[left + x], coverage);
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

int clipExtent(float boxSide, int bitmapSide) {
    if (!std::isfinite(boxSide) || boxSide <= 0.0f) return 0;
    return static_cast<int>(std::min(std::ceil(boxSide), static_cast<float>(bitmapSide)));
}

}  // namespace

TextSize measureText(std::string_view utf8, const std::string& fontName, float pointSize) {
    TTF_Font* font = FontLibrary::instance().fontFor(utf8, fontName, pixelSize(pointSize));
    if (!font) return {};
    const auto lines = paragraphs(utf8);
    int widest = 0;
    for (const auto line : lines) widest = std::max(widest, lineWidth(font, line));
    const int height = TTF_FontHeight(font) + static_cast<int>(lines.size() - 1) * TTF_FontLineSkip(font);
    return {static_cast<float>(widest), static_cast<float>(height)};
}

std::vector<std::uint8_t> renderText(std::string_view utf8, const std::string& fontName, float pointSize,
                                     int bitmapWidth, int bitmapHeight, TextSize box,
                                     TextAlignment alignment) {
    if (bitmapWidth <= 0 || bitmapHeight <= 0) return {};
    std::vector<std::uint8_t> bitmap(
        static_cast<std::size_t>(bitmapWidth) * static_cast<std::size_t>(bitmapHeight), 0);

    const int clipWidth = clipExtent(box.width, bitmapWidth);
    const int clipHeight = clipExtent(box.height, bitmapHeight);
    if (clipWidth == 0 || clipHeight == 0 || utf8.empty()) return bitmap;
    TTF_Font* font = FontLibrary::instance().fontFor(utf8, fontName, pixelSize(pointSize));
    if (!font) return bitmap;

    const int lineSkip = std::max(1, TTF_FontLineSkip(font));
    // Lines starting below the box would be cut off entirely, so they are not laid out at all.
    const auto visibleLines = static_cast<std::size_t>((clipHeight + lineSkip - 1) / lineSkip);
    const int maxWidth = static_cast<int>(std::floor(box.width));
    std::vector<std::string_view> lines;
    for (const auto paragraph : paragraphs(utf8)) {
        if (lines.size() >= visibleLines) break;
        wrapParagraph(font, paragraph, maxWidth, visibleLines, lines);
    }

    const SDL_Color white{255, 255, 255, 255};
    for (std::size_t i = 0; i < lines.size() && i < visibleLines; ++i) {
        if (lines[i].empty()) continue;
        const std::string terminated(lines[i]);
        SDL_Surface* surface = TTF_RenderUTF8_Blended(font, terminated.c_str(), white);
        if (!surface) continue;
        int left = 0;
        if (alignment == TextAlignment::Center) {
            left = static_cast<int>(std::lround((box.width - static_cast<float>(surface->w)) / 2.0f));
        } else if (alignment == TextAlignment::Right) {
            left = static_cast<int>(std::lround(box.width - static_cast<float>(surface->w)));
        }
        blitCoverage(surface, left, static_cast<int>(i) * lineSkip, clipWidth, clipHeight, bitmapWidth,
                     bitmap);
        SDL_FreeSurface(surface);
    }
    return bitmap;
}

}  // namespace quintora::platform
