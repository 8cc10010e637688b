#pragma once
// Textured quads on their way to GL. On a software GL driver the cost of a draw call dwarfs that of a
// few vertices, so the quads of consecutive nodes that share a texture, a tint and a blending state are
// gathered, with each node's transform (and the projection) folded into its vertices on the CPU, and
// drawn with one call. The order of the quads, and with it every pixel, stays that of the tree walk.
//
// A frame's quads are only collected while the tree is walked and drawn at its end, so that a frame
// exactly like the one before (an idle screen) costs no drawing at all.
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

    // Off, every quad is drawn by itself, with the model-view matrix loaded into GL: the plain path the
    // batched one must match pixel for pixel.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] bool enabled() const { return enabled_; }

    // The tint and the blending the following quads are drawn with.
    void setTint(Tint tint) { tint_ = tint; }
    void setBlending(bool blending) { blending_ = blending; }

    // Adds to the frame the quad of `texture` covering `rect` in the coordinates of `modelView`, its
    // lower edge showing t1 and its upper edge t0.
    void addQuad(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView);

    // Ends the frame's collection: true when its quads differ from the last frame's (or the last frame
    // was forgotten), that is when the picture must be drawn again.
    [[nodiscard]] bool endFrame();
    // Draws the frame's quads.
    void draw();
    // The next frame counts as changed whatever it holds: the picture it would repeat is gone.
    void forgetLastFrame() { lastFrameKnown_ = false; }

    // GL draw calls issued since the last reset, for tests and benchmarks.
    [[nodiscard]] std::size_t drawCalls() const { return drawCalls_; }
    void resetDrawCalls() { drawCalls_ = 0; }

  private:
    struct Vertex {
        float x, y, z, w;
        float s, t;
        friend bool operator==(const Vertex&, const Vertex&) = default;
    };
    // Quads drawn with one call: either batched, with vertices in clip coordinates, or a lone quad with
    // vertices in its own coordinates and the model-view matrix it is drawn under.
    struct Command {
        Ref<Texture2D> texture;
        std::uint64_t textureSerial = 0;
        Tint tint;
        bool blending = true;
        bool alone = false;
        Mat4 modelView;
        std::size_t firstVertex = 0;
        std::size_t vertexCount = 0;
        friend bool operator==(const Command& a, const Command& b) {
            return a.textureSerial == b.textureSerial && a.tint == b.tint && a.blending == b.blending &&
                   a.alone == b.alone && (!a.alone || a.modelView.m == b.modelView.m) &&
                   a.firstVertex == b.firstVertex && a.vertexCount == b.vertexCount;
        }
    };
    struct Frame {
        std::vector<Command> commands;
        std::vector<Vertex> vertices;
    };
    void drawBatched(const Command& command);
    void drawAlone(const Command& command);

    bool enabled_ = true;
    Tint tint_;
    bool blending_ = true;
    Frame frame_;
    Frame lastFrame_;
    bool lastFrameKnown_ = false;
    std::size_t drawCalls_ = 0;
};

}  // namespace quintora
