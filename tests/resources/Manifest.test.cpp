// Checks the resource folder against what the game needs: every listed file is there and is what its
// name says, and the pictures' sizes (which are their sprites' hit rectangles, one pixel a point) fit
// the places where the screens and stages put them.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kDir = QUINTORA_RESOURCES_DIR;
constexpr double kScreenW = 480;
constexpr double kScreenH = 320;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> expectedFiles() {
    std::vector<std::string> names;
    std::istringstream in(readFile(kDir / "expected.txt"));
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') names.push_back(line);
    }
    return names;
}

std::uint32_t bigEndian32(const std::string& b, std::size_t at) {
    return (std::uint32_t(std::uint8_t(b[at])) << 24) | (std::uint32_t(std::uint8_t(b[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(b[at + 2])) << 8) | std::uint32_t(std::uint8_t(b[at + 3]));
}

// Empty when the bytes are a PNG with a sane IHDR; otherwise what is wrong.
std::string pngProblem(const std::string& b) {
    static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
    if (b.size() < 33 || b.compare(0, 8, kSignature) != 0) return "no PNG signature";
    if (bigEndian32(b, 8) != 13 || b.compare(12, 4, "IHDR") != 0) return "first chunk is not IHDR";
    if (bigEndian32(b, 16) == 0 || bigEndian32(b, 20) == 0) return "zero width or height";
    return {};
}

std::string wavProblem(const std::string& b) {
    if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return "no RIFF/WAVE header";
    return {};
}

std::string mp3Problem(const std::string& b) {
    if (b.size() < 4) return "too short";
    if (b.compare(0, 3, "ID3") == 0) return {};
    if (std::uint8_t(b[0]) == 0xFF && (std::uint8_t(b[1]) & 0xE0) == 0xE0) return {};
    return "neither an ID3 tag nor an MPEG frame sync at the start";
}

std::string fontProblem(const std::string& b) {
    if (b.size() < 12) return "too short";
    if (b.compare(0, 4, std::string("\0\1\0\0", 4)) == 0 || b.compare(0, 4, "OTTO") == 0 ||
        b.compare(0, 4, "true") == 0)
        return {};
    return "not a TrueType/OpenType font";
}

struct Size {
    double w = 0;
    double h = 0;
};

Size sizeOf(const std::string& name) {
    static std::map<std::string, Size> cache;
    if (auto it = cache.find(name); it != cache.end()) return it->second;
    const std::string b = readFile(kDir / name);
    Size s;
    if (pngProblem(b).empty()) s = {double(bigEndian32(b, 16)), double(bigEndian32(b, 20))};
    cache[name] = s;
    return s;
}

// A sprite's hit rectangle in scene points (origin lower left), centred on its position.
struct Box {
    double x, y, w, h;
    double maxX() const { return x + w; }
    double maxY() const { return y + h; }
};

Box at(const std::string& name, double cx, double cy) {
    const Size s = sizeOf(name);
    return {cx - s.w / 2, cy - s.h / 2, s.w, s.h};
}

bool meets(const Box& a, const Box& b) {
    return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && a.x < b.maxX() && b.x < a.maxX() && a.y < b.maxY() &&
           b.y < a.maxY();
}

// A touch square of side s has its lower-left corner at the touch point; it meets a box when the point
// lies in the box grown by s to the left and down. One touch can meet both boxes when those grown
// boxes overlap.
bool oneTouchMeetsBoth(const Box& a, const Box& b, double s) {
    return meets({a.x - s, a.y - s, a.w + s, a.h + s}, {b.x - s, b.y - s, b.w + s, b.h + s});
}

bool onScreen(const Box& b) { return b.x >= 0 && b.y >= 0 && b.maxX() <= kScreenW && b.maxY() <= kScreenH; }

std::string where(const std::string& name, double x, double y) {
    std::ostringstream o;
    o << name << " at (" << x << ", " << y << ")";
    return o.str();
}

struct Placed {
    std::string name;
    double x, y;
};

// Every pair of neighbours in the list must be out of reach of one touch square, each must be on the
// screen, and each must be big enough for a fingertip.
void expectSeparateTargets(const std::vector<Placed>& items, double touch, double minSide = 28) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Box a = at(items[i].name, items[i].x, items[i].y);
        EXPECT_TRUE(onScreen(a)) << where(items[i].name, items[i].x, items[i].y) << " runs off the screen";
        EXPECT_GE(std::min(a.w, a.h), minSide)
            << items[i].name << " is " << a.w << " x " << a.h << ": too small to hit with a fingertip";
        for (std::size_t j = i + 1; j < items.size(); ++j) {
            const Box b = at(items[j].name, items[j].x, items[j].y);
            EXPECT_FALSE(oneTouchMeetsBoth(a, b, touch))
                << where(items[i].name, items[i].x, items[i].y) << " and " << where(items[j].name, items[j].x, items[j].y)
                << ": one " << touch << "-point touch square can hit both";
        }
    }
}

// ---------------------------------------------------------------- decoded pictures

struct Image {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgba;  // rows from the top
    std::array<std::uint8_t, 4> px(int x, int y) const {
        const std::size_t i = (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// Decodes the 8-bit RGB and RGBA, non-interlaced PNGs the art build writes; anything else fails the test.
Image decode(const std::string& name) {
    const std::string b = readFile(kDir / name);
    Image img;
    if (!pngProblem(b).empty()) {
        ADD_FAILURE() << name << ": not a PNG";
        return img;
    }
    const int w = int(bigEndian32(b, 16)), h = int(bigEndian32(b, 20));
    const int depth = std::uint8_t(b[24]), type = std::uint8_t(b[25]), interlace = std::uint8_t(b[28]);
    if (depth != 8 || (type != 6 && type != 2) || interlace != 0) {
        ADD_FAILURE() << name << ": only 8-bit RGB/RGBA non-interlaced pictures are read here";
        return img;
    }
    std::string idat;
    for (std::size_t at = 8; at + 12 <= b.size();) {
        const std::uint32_t len = bigEndian32(b, at);
        const std::string type4 = b.substr(at + 4, 4);
        if (type4 == "IDAT") idat += b.substr(at + 8, len);
        if (type4 == "IEND") break;
        at += 12 + len;
    }
    const int channels = type == 6 ? 4 : 3;
    const std::size_t stride = std::size_t(w) * std::size_t(channels);
    std::vector<std::uint8_t> raw((stride + 1) * std::size_t(h));
    uLongf rawLen = uLongf(raw.size());
    if (uncompress(raw.data(), &rawLen, reinterpret_cast<const Bytef*>(idat.data()), uLong(idat.size())) != Z_OK ||
        rawLen != raw.size()) {
        ADD_FAILURE() << name << ": image data does not inflate to " << raw.size() << " bytes";
        return img;
    }
    std::vector<std::uint8_t> prev(stride, 0), cur(stride);
    img.w = w;
    img.h = h;
    img.rgba.resize(std::size_t(w) * std::size_t(h) * 4);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t filter = raw[std::size_t(y) * (stride + 1)];
        const std::uint8_t* line = &raw[std::size_t(y) * (stride + 1) + 1];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= std::size_t(channels) ? cur[i - std::size_t(channels)] : 0;
            const int up = prev[i];
            const int c = i >= std::size_t(channels) ? prev[i - std::size_t(channels)] : 0;
            int v = line[i];
            switch (filter) {
                case 1: v += a; break;
                case 2: v += up; break;
                case 3: v += (a + up) / 2; break;
                case 4: v += paeth(a, up, c); break;
                default: break;
            }
            cur[i] = std::uint8_t(v);
        }
        for (int x = 0; x < w; ++x) {
            std::uint8_t* out = &img.rgba[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
            for (int k = 0; k < 3; ++k) out[k] = cur[std::size_t(x * channels + k)];
            out[3] = channels == 4 ? cur[std::size_t(x * channels + 3)] : 255;
        }
        std::swap(prev, cur);
    }
    return img;
}

// ---------------------------------------------------------------- the files

TEST(ResourceFiles, EveryListedFileExistsAndIsOfItsType) {
    const auto names = expectedFiles();
    ASSERT_GT(names.size(), 150u) << "resources/expected.txt is missing or nearly empty";
    for (const auto& name : names) {
        const auto path = kDir / name;
        if (!std::filesystem::is_regular_file(path)) {
            ADD_FAILURE() << name << ": missing from " << kDir.string();
            continue;
        }
        const std::string b = readFile(path);
        const std::string ext = path.extension().string();
        std::string problem;
        if (ext == ".png") problem = pngProblem(b);
        else if (ext == ".wav") problem = wavProblem(b);
        else if (ext == ".mp3") problem = mp3Problem(b);
        else if (ext == ".ttf" || ext == ".otf") problem = fontProblem(b);
        else if (b.empty()) problem = "empty";
        EXPECT_TRUE(problem.empty()) << name << ": " << problem;
    }
}

TEST(ResourceFiles, ListHoldsEveryNumberedFamilyAndTheSounds) {
    const auto names = expectedFiles();
    auto listed = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    struct Family {
        std::string prefix, suffix;
        int from, to;
    };
    const std::vector<Family> families = {
        {"gamewin", ".png", 0, 4},       {"gamelose", ".png", 0, 4},      {"samegrimsmall", ".png", 1, 8},
        {"samegrim", ".png", 1, 8},      {"mathnumber", ".png", 1, 10},   {"xmas", ".png", 0, 12},
        {"cardspeed", ".png", 1, 5},     {"phonenumber", ".png", 0, 9},   {"tshirts", ".png", 0, 4},
        {"tshirts", "small.png", 0, 4},  {"win", ".wav", 0, 1},          {"lose", ".wav", 0, 1},
    };
    for (const auto& f : families)
        for (int i = f.from; i <= f.to; ++i)
            EXPECT_TRUE(listed(f.prefix + std::to_string(i) + f.suffix))
                << f.prefix << i << f.suffix << ": not in resources/expected.txt";
    for (const char* n : {"quintorabgm.mp3", "fps_images.png", "fonts/fonts.txt"})
        EXPECT_TRUE(listed(n)) << n << ": not in resources/expected.txt";
}

TEST(ResourceFiles, FontTableNamesMarkerFeltAndExistingFiles) {
    std::istringstream in(readFile(kDir / "fonts" / "fonts.txt"));
    bool marker = false;
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        auto trim = [](std::string s) {
            s.erase(0, s.find_first_not_of(' '));
            s.erase(s.find_last_not_of(" \r") + 1);
            return s;
        };
        const std::string font = trim(line.substr(0, eq)), file = trim(line.substr(eq + 1));
        if (font == "Marker Felt") marker = true;
        EXPECT_TRUE(std::filesystem::is_regular_file(kDir / "fonts" / file))
            << "fonts/fonts.txt maps \"" << font << "\" to " << file << ", which is missing";
    }
    EXPECT_TRUE(marker) << "fonts/fonts.txt has no line for \"Marker Felt\"";
}

// ---------------------------------------------------------------- sizes against the screens' places

TEST(ResourceSizes, FullScreenPicturesAre480By320) {
    for (const char* n : {"logo.png", "mainbg.png", "board.png", "hambg.png", "samegrimbg.png", "mathbg.png",
                          "dontouch.png", "golfbg.png", "fw1bg.png", "fw2bg.png", "fw3bg.png", "ptbg.png",
                          "stopcarbg.png", "xmasclick.png", "sparkmovebg.png", "gameatbg.png", "cardspeedbg.png",
                          "phonenumberbg.png", "baseballbg.png", "tshirtsbg.png", "differente1.png",
                          "differente2.png", "differente3.png", "differentm1.png", "differentm2.png",
                          "differentm3.png", "differenth1.png", "differenth2.png", "differenth3.png"}) {
        const Size s = sizeOf(n);
        EXPECT_TRUE(s.w == kScreenW && s.h == kScreenH) << n << " is " << s.w << " x " << s.h << ", not 480 x 320";
    }
}

TEST(ResourceSizes, TimeBarCoversItsTrackAndSlidesOffTheScreen) {
    const Box down = at("timedown.png", 215, 304), up = at("timeup.png", 215, 303);
    EXPECT_TRUE(up.x <= down.x && up.y <= down.y && up.maxX() >= down.maxX() && up.maxY() >= down.maxY())
        << "timeup.png at (215, 303) does not cover timedown.png at (215, 304)";
    EXPECT_TRUE(onScreen(down)) << "timedown.png at (215, 304) runs off the screen";
    EXPECT_LE(at("timeup.png", -226, 303).maxX(), 0) << "timeup.png moved to (-226, 303) is still on the screen";
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(meets(at("life.png", 380 + 20 * i, 275), down)) << "life.png " << i << " overlaps the time bar";
}

TEST(ResourceSizes, LivesRowStaysApartAndOnTheScreen) {
    for (int i = 0; i < 5; ++i) {
        const Box a = at("life.png", 380 + 20 * i, 275);
        EXPECT_TRUE(onScreen(a)) << where("life.png", 380 + 20 * i, 275) << " runs off the screen";
        if (i > 0) {
            EXPECT_FALSE(meets(a, at("life.png", 380 + 20 * (i - 1), 275))) << "life.png " << i << " overlaps the one before";
        }
    }
}

TEST(ResourceSizes, MenuAndScreenButtonsAreSeparateTargets) {
    expectSeparateTargets({{"abt.png", 150, 150}, {"pbt.png", 200, 90}, {"lbt.png", 300, 50}, {"rbt.png", 40, 30}}, 5);
    expectSeparateTargets({{"mainmenubt.png", 300, 290}, {"worldrankingbt.png", 400, 290}}, 5);
    expectSeparateTargets(
        {{"abtoff.png", 90, 290}, {"pbtoff.png", 220, 290}, {"lbtoff.png", 350, 290}, {"wmainbt.png", 450, 290}}, 10);
    for (const char* tab : {"abt", "pbt", "lbt"}) {
        const std::string on = std::string(tab) + "on.png", off = std::string(tab) + "off.png";
        const Size a = sizeOf(on), b = sizeOf(off);
        EXPECT_TRUE(a.w == b.w && a.h == b.h) << on << " and " << off << " differ in size, so one cannot cover the other";
    }
    // the selected images wait off screen at these places
    for (const Placed& p : std::vector<Placed>{{"abton.png", -90, 290}, {"pbton.png", -220, 290}, {"pbton.png", -240, 290},
                                               {"lbton.png", -370, 290}, {"lbton.png", -390, 290}})
        EXPECT_LE(at(p.name, p.x, p.y).maxX(), 0) << where(p.name, p.x, p.y) << " shows on the screen";
}

TEST(ResourceSizes, StageButtonsKeysAndTraysAreSeparateTargets) {
    expectSeparateTargets({{"hamvar2table.png", 80, 30}, {"hamvar1table.png", 180, 30}, {"hamtomatotable.png", 270, 30},
                           {"hamcheesetable.png", 360, 30}, {"hamtoptable.png", 440, 30}}, 20);
    std::vector<Placed> math{{"mathok.png", 320, 100}, {"mathdel.png", 320, 50}};
    for (int i = 0; i < 10; ++i)
        math.push_back({"mathnumber" + std::to_string(i + 1) + ".png", 50.0 + 50 * (i % 5), i < 5 ? 100.0 : 50.0});
    expectSeparateTargets(math, 5);
    std::vector<Placed> phone;
    for (int d = 0; d < 10; ++d)
        phone.push_back({"phonenumber" + std::to_string(d) + ".png", 140.0 + 75 * (d % 5), d < 5 ? 130.0 : 50.0});
    expectSeparateTargets(phone, 5);
    std::vector<Placed> shirts;
    for (int i = 0; i < 5; ++i) shirts.push_back({"tshirts" + std::to_string(i) + "small.png", 250.0 + 50 * i, 30});
    expectSeparateTargets(shirts, 10);
    expectSeparateTargets({{"pttouch.png", 240, 200}}, 30);
    expectSeparateTargets({{"baseballrun.png", 410, 50}}, 30);
}

TEST(ResourceSizes, SamePicturesArePickedAndDroppedOneAtATime) {
    std::vector<Placed> small, large;
    for (int i = 0; i < 8; ++i) small.push_back({"samegrimsmall" + std::to_string(i + 1) + ".png", 75.0 + 50 * i, 90});
    expectSeparateTargets(small, 20);
    // any image may stand at any of the four large places
    for (int a = 1; a <= 8; ++a)
        for (int b = 1; b <= 8; ++b)
            for (int i = 0; i < 3; ++i) {
                const std::string na = "samegrim" + std::to_string(a) + ".png", nb = "samegrim" + std::to_string(b) + ".png";
                EXPECT_FALSE(oneTouchMeetsBoth(at(na, 120 + 60 * i, 200), at(nb, 180 + 60 * i, 200), 20))
                    << na << " and " << nb << " side by side at x = " << 120 + 60 * i << ", " << 180 + 60 * i
                    << ": one 20-point drop meets both";
            }
    for (int i = 4; i < 8; ++i) {
        const Box mark = at("samex.png", 75 + 50 * i, 90), pic = at("samegrimsmall" + std::to_string(i + 1) + ".png", 75 + 50 * i, 90);
        EXPECT_TRUE(mark.w >= pic.w && mark.h >= pic.h) << "samex.png is smaller than the small picture it crosses out";
    }
}

TEST(ResourceSizes, CardsLieApartAndTheFlyingCardStartsAndEndsOffScreen) {
    std::vector<Placed> row;
    for (int i = 0; i < 5; ++i) row.push_back({"cardspeed" + std::to_string(i + 1) + ".png", 60.0 + 90 * i, 70});
    expectSeparateTargets(row, 5);
    for (int i = 1; i <= 5; ++i) {
        const Size s = sizeOf("cardspeed" + std::to_string(i) + ".png");
        const double reach = std::hypot(s.w, s.h) / 2;  // the card turns while it flies
        EXPECT_GE(560 - reach, kScreenW) << "cardspeed" << i << ".png shows at its start (560, 200)";
        EXPECT_LE(-80 + reach, 0) << "cardspeed" << i << ".png still shows at its end (-80, 200)";
    }
}

TEST(ResourceSizes, ChristmasPicturesAreSeparateTargets) {
    const std::vector<std::pair<double, double>> pos = {{80, 240}, {410, 240}, {60, 140}, {120, 140}, {380, 140},
                                                        {410, 140}, {440, 140}, {30, 50},  {80, 50},   {130, 50},
                                                        {240, 120}, {360, 60},  {440, 60}};
    std::vector<Placed> items;
    for (std::size_t i = 0; i < pos.size(); ++i) items.push_back({"xmas" + std::to_string(i) + ".png", pos[i].first, pos[i].second});
    expectSeparateTargets(items, 5, 20);
    for (const auto& p : items)
        EXPECT_FALSE(meets(at(p.name, p.x, p.y), at("life.png", 380, 275)) || meets(at(p.name, p.x, p.y), at("life.png", 460, 275)))
            << where(p.name, p.x, p.y) << " lies under the lives row";
}

// The runner steps (-12, +6) from (420, 170) per tap towards second base at (240, 260); the ball is
// pitched from (240, 170) to home (240, 40) in 1 s and then thrown, eased out at rate 2.5, to the base
// in 3.0, 2.0 or 1.5 s.
TEST(ResourceSizes, BaseStealingRunnerCanBeatTheBallAtEveryLevel) {
    const Box base = at("baseballtwo.png", 240, 260);
    int taps = -1;
    for (int n = 0; n <= 15; ++n)
        if (meets(at("baseballsteal.png", 420 - 12 * n, 170 + 6 * n), base)) {
            taps = n;
            break;
        }
    ASSERT_GE(taps, 0) << "baseballsteal.png never meets baseballtwo.png within the fifteen taps to the base";
    EXPECT_GE(taps, 5) << "baseballsteal.png meets the base after only " << taps << " taps: the stage is trivial";
    EXPECT_FALSE(meets(at("baseballball.png", 240, 170), base)) << "baseballball.png meets the base at the pitcher";
    EXPECT_FALSE(meets(at("baseballball.png", 240, 40), base)) << "baseballball.png meets the base at home";
    for (double throwTime : {3.0, 2.0, 1.5}) {
        double arrival = -1;
        for (double t = 0; t <= throwTime + 1e-9; t += 0.01) {
            const double y = 40 + 220 * std::pow(t / throwTime, 1 / 2.5);
            if (meets(at("baseballball.png", 240, y), base)) {
                arrival = t;
                break;
            }
        }
        ASSERT_GE(arrival, 0) << "baseballball.png never meets baseballtwo.png";
        EXPECT_GE(arrival / throwTime, 0.6) << "baseballball.png meets the base long before it arrives";
        // a quick player: 0.4 s to react, then 6 taps a second; the runner is judged on 0.1 s ticks
        const double available = 1.0 + arrival - 0.4;
        EXPECT_LE(taps, int(available * 6.0))
            << taps << " taps to reach the base, but the ball arrives after " << 1.0 + arrival << " s with a "
            << throwTime << " s throw";
    }
}

TEST(ResourceSizes, GolfHazardPictureCoversTheFixedHazards) {
    const Image img = decode("golfh.png");
    ASSERT_GT(img.w, 0);
    const struct {
        double sx, sy;
        Box hazard;
    } uses[] = {{120, 100, {73, 48.5, 70, 80}}, {250, 230, {203, 178, 30, 40}}};
    for (const auto& u : uses) {
        const Box pic = at("golfh.png", u.sx, u.sy);
        int inside = 0, covered = 0;
        for (double y = u.hazard.y + 0.5; y < u.hazard.maxY(); y += 1)
            for (double x = u.hazard.x + 0.5; x < u.hazard.maxX(); x += 1) {
                ++inside;
                const int px = int(std::floor(x - pic.x)), row = int(std::floor(pic.maxY() - y));
                if (px >= 0 && row >= 0 && px < img.w && row < img.h && img.px(px, row)[3] >= 128) ++covered;
            }
        EXPECT_GE(covered, inside * 95 / 100) << "golfh.png at (" << u.sx << ", " << u.sy << ") shows only " << covered
                                              << " of the " << inside << " points of its hazard rectangle";
    }
    const Size ball = sizeOf("golfball.png");
    EXPECT_LE(std::max(ball.w, ball.h), 16) << "golfball.png is too large to steer between the hazards";
    EXPECT_FALSE(meets(at("golfball.png", 50, 270), at("golfhole.png", 430, 50)));
}

TEST(ResourceSizes, FollowTheWayStartsClearOfFireAndHouse) {
    struct Level {
        double chX, chY, houseX, houseY;
        std::vector<Placed> fire;
    };
    const std::vector<Level> levels = {
        {80, 250, 440, 40, {{"fws4.png", 20, 110}, {"fw1center.png", 230, 170}, {"fws4.png", 460, 180}}},
        {50, 270, 440, 40, {{"fwgaro6.png", 170, 210}, {"fwgaro6.png", 290, 90}}},
        {40, 250, 430, 180, {{"fwgaro6.png", 220, 280}, {"fws4.png", 80, 170}, {"fws4.png", 220, 80}, {"fws4.png", 360, 170}}},
    };
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const Level& lv = levels[l];
        const Box ch = at("fwch.png", lv.chX, lv.chY), house = at("fwhouse.png", lv.houseX, lv.houseY);
        EXPECT_FALSE(meets(ch, house)) << "level " << l + 1 << ": fwch.png starts on the house";
        for (const auto& f : lv.fire) {
            EXPECT_FALSE(meets(ch, at(f.name, f.x, f.y))) << "level " << l + 1 << ": fwch.png starts on " << where(f.name, f.x, f.y);
            EXPECT_FALSE(meets(house, at(f.name, f.x, f.y))) << "level " << l + 1 << ": fwhouse.png overlaps " << where(f.name, f.x, f.y);
        }
    }
}

TEST(ResourceSizes, CarsCanBeHitAtTheFastestPace) {
    // the fastest car runs 530 points in 1 s and is hit against its rectangle of the last 0.1 s tick
    const Size car = sizeOf("car.png"), wreck = sizeOf("breakcar.png");
    EXPECT_GE(car.w, 53 + 10) << "car.png (" << car.w << " wide) moves out of its own rectangle within one tick";
    EXPECT_TRUE(wreck.w >= car.w && wreck.h >= car.h) << "breakcar.png is smaller than the car it covers";
}

TEST(ResourceSizes, ResultPicturesFitTheScreen) {
    for (int i = 0; i < 5; ++i)
        for (const std::string kind : {"gamewin", "gamelose"}) {
            const std::string n = kind + std::to_string(i) + ".png";
            EXPECT_TRUE(onScreen(at(n, 240, 160))) << n << " at (240, 160) runs off the screen";
            EXPECT_GE(sizeOf(n).w, 200) << n << " is too small to read over a stage";
        }
    const Size fps = sizeOf("fps_images.png");
    EXPECT_TRUE(fps.w == 12 * 16 && fps.h == 24) << "fps_images.png must hold 12 cells of 16 x 24 (\"./0123456789\")";
}

// The two 240 x 320 drawings of each picture differ only inside the spot the stage accepts (given with
// its origin at the lower left; its right-hand copy is the same moved 240 to the right).
TEST(ResourcePictures, SpotTheDifferenceDiffersOnlyInsideTheSpot) {
    const struct {
        const char* name;
        Box spot;
    } pictures[] = {{"differente1.png", {30, 230, 40, 40}},  {"differente2.png", {70, 180, 25, 80}},
                    {"differente3.png", {40, 180, 30, 30}},  {"differentm1.png", {190, 105, 30, 30}},
                    {"differentm2.png", {205, 180, 40, 40}}, {"differentm3.png", {205, 150, 40, 40}},
                    {"differenth1.png", {100, 240, 40, 40}}, {"differenth2.png", {220, 140, 40, 40}},
                    {"differenth3.png", {10, 70, 40, 40}}};
    for (const auto& p : pictures) {
        const Image img = decode(p.name);
        if (img.w != 480 || img.h != 320) {
            ADD_FAILURE() << p.name << " is not 480 x 320";
            continue;
        }
        int inside = 0, outside = 0, firstX = -1, firstRow = -1;
        for (int row = 0; row < 320; ++row)
            for (int x = 0; x < 240; ++x) {
                const auto a = img.px(x, row), b = img.px(x + 240, row);
                int diff = 0;
                for (int k = 0; k < 4; ++k) diff = std::max(diff, std::abs(int(a[std::size_t(k)]) - int(b[std::size_t(k)])));
                if (diff <= 24) continue;
                const double sceneY = 320 - row - 0.5, sceneX = x + 0.5;
                const bool in = sceneX >= p.spot.x && sceneX < std::min(240.0, p.spot.maxX()) && sceneY >= p.spot.y &&
                                sceneY < p.spot.maxY();
                if (in) ++inside;
                else if (outside++ == 0) firstX = x, firstRow = row;
            }
        EXPECT_GE(inside, 20) << p.name << ": the two drawings hardly differ inside the spot";
        EXPECT_EQ(outside, 0) << p.name << ": the drawings also differ outside the spot, first at x " << firstX
                              << ", row " << firstRow;
    }
}

}  // namespace
