#pragma once
// Textured quads on their way to GL. On a software GL driver the cost of a draw call dwarfs that of a
// few vertices, so the quads of consecutive nodes that share a texture, a tint and a blending state are
// gathered, with each node's transform (and the projection) folded into its vertices on the CPU, and
// drawn with one call. The order of the quads, and with it every pixel, stays that of the tree walk.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Geometry.hpp"
#include "engine/Matrix.hpp"
#include "engine/Object.hpp"

namespace quintora {

class Texture2D;

// The GL current colour a quad is drawn with, as 8-bit values.
struct Tint {
    std::uint8_t r = 255, g = 255, b = 255, a = 255;
    friend bool operator==(const Tint&, const Tint&) = default;
};

// The part of a texture a quad shows: s across, t down from the top of the image.
struct TexCoords {
    float s0 = 0, t0 = 0, s1 = 0, t1 = 0;
};

class SpriteBatch {
public:
    // The one batch of the drawing thread.
    static SpriteBatch& shared();

    // Off, every quad is drawn at once by itself, with the model-view matrix loaded into GL: the plain
    // path the batched one must match pixel for pixel.
    void setEnabled(bool enabled);
    [[nodiscard]] bool enabled() const { return enabled_; }

    // The tint and the blending the following quads are drawn with.
    void setTint(Tint tint) { tint_ = tint; }
    void setBlending(bool blending) { blending_ = blending; }

    // Queues the quad of `texture` covering `rect` in the coordinates of `modelView`, its lower edge
    // showing t1 and its upper edge t0.
    void addQuad(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView);
    // Draws what is queued; anything that draws with GL by other means, or reads the frame, calls it first.
    void flush();

    // GL draw calls issued since the last reset, for tests and benchmarks.
    [[nodiscard]] std::size_t drawCalls() const { return drawCalls_; }
    void resetDrawCalls() { drawCalls_ = 0; }

private:
    struct Vertex {
        float x, y, z, w;
        float s, t;
    };
    void drawAlone(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView);

    bool enabled_ = true;
    Tint tint_;
    bool blending_ = true;
    // What the queued quads share.
    Ref<Texture2D> texture_;
    Tint queuedTint_;
    bool queuedBlending_ = true;
    std::vector<Vertex> vertices_;
    std::size_t drawCalls_ = 0;
};

}  // namespace quintora
