#pragma once
// Points, sizes and rectangles in screen points. Scene coordinates have their origin at the lower left.

namespace quintora {

struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
    friend Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
    friend Point operator*(Point a, float s) { return {a.x * s, a.y * s}; }
};

struct Size {
    float width = 0;
    float height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;

    [[nodiscard]] float minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
    [[nodiscard]] float maxX() const { return size.width < 0 ? origin.x : origin.x + size.width; }
    [[nodiscard]] float minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
    [[nodiscard]] float maxY() const { return size.height < 0 ? origin.y : origin.y + size.height; }
    [[nodiscard]] Point centre() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
};

inline Rect makeRect(float x, float y, float width, float height) { return {{x, y}, {width, height}}; }

// Two rectangles intersect when they share an area of more than zero; rectangles that only touch along
// an edge, and empty rectangles, intersect nothing.
inline bool rectIntersectsRect(const Rect& a, const Rect& b) {
    if (a.size.width == 0 || a.size.height == 0 || b.size.width == 0 || b.size.height == 0) return false;
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

inline bool rectContainsPoint(const Rect& r, Point p) {
    return p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}

}  // namespace quintora
