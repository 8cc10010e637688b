#include "engine/SpriteBatch.hpp"

#include <GLES/gl.h>

#include "engine/Texture2D.hpp"

namespace quintora {
namespace {

// 16-bit indices reach 65,536 vertices: four per quad.
constexpr std::size_t kMaxQuads = 65536 / 4;

// Each quad is drawn as the two triangles a four-vertex strip makes, with their vertices in the order
// the driver takes them from a strip (0 1 2, then 2 1 3), so that batched and plain quads are set up
// alike.
const std::vector<GLushort>& quadIndices() {
    static const std::vector<GLushort> indices = [] {
        std::vector<GLushort> list;
        list.reserve(kMaxQuads * 6);
        for (std::size_t q = 0; q < kMaxQuads; ++q) {
            const auto base = static_cast<GLushort>(q * 4);
            for (GLushort i : {0, 1, 2, 2, 1, 3}) list.push_back(static_cast<GLushort>(base + i));
        }
        return list;
    }();
    return indices;
}

// The state every quad is drawn in, and back to the state the rest of the frame expects.
void beginQuads(GLuint texture, Tint tint, bool blending) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(tint.r, tint.g, tint.b, tint.a);
    if (!blending) glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void endQuads(bool blending) {
    if (!blending) glEnable(GL_BLEND);
    glColor4ub(255, 255, 255, 255);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

SpriteBatch& SpriteBatch::shared() {
    static SpriteBatch batch;
    return batch;
}

void SpriteBatch::setEnabled(bool enabled) {
    flush();
    enabled_ = enabled;
}

void SpriteBatch::addQuad(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView) {
    if (!enabled_) {
        drawAlone(texture, rect, coords, modelView);
        return;
    }
    if (texture_.get() != texture || queuedTint_ != tint_ || queuedBlending_ != blending_ ||
        vertices_.size() >= kMaxQuads * 4) {
        flush();
        texture_ = Ref<Texture2D>(texture);
        queuedTint_ = tint_;
        queuedBlending_ = blending_;
    }
    const float x0 = rect.origin.x, y0 = rect.origin.y;
    const float x1 = x0 + rect.size.width, y1 = y0 + rect.size.height;
    // The vertices are given in clip coordinates, with both GL matrices left at identity, so that GL
    // passes them through exactly. They are computed the way GL computes them for a quad drawn by itself
    // (the projection times the model view first, then each column times the vertex, summed in order and
    // rounded at every step), which keeps every vertex, and so every pixel, bit for bit the same.
    const Mat4 m = projection() * modelView;
    auto corner = [&](float x, float y, float s, float t) {
        Vertex v{};
        float* clip = &v.x;
        for (int row = 0; row < 4; ++row) {
            clip[row] = ((x * m.m[row] + y * m.m[4 + row]) + 0.0f * m.m[8 + row]) + 1.0f * m.m[12 + row];
        }
        v.s = s;
        v.t = t;
        vertices_.push_back(v);
    };
    corner(x0, y0, coords.s0, coords.t1);
    corner(x1, y0, coords.s1, coords.t1);
    corner(x0, y1, coords.s0, coords.t0);
    corner(x1, y1, coords.s1, coords.t0);
}

void SpriteBatch::flush() {
    if (vertices_.empty()) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    beginQuads(texture_->name(), queuedTint_, queuedBlending_);
    glVertexPointer(4, GL_FLOAT, sizeof(Vertex), &vertices_[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices_[0].s);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(vertices_.size() / 4 * 6), GL_UNSIGNED_SHORT,
                   quadIndices().data());
    ++drawCalls_;
    endQuads(queuedBlending_);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection().m.data());
    glMatrixMode(GL_MODELVIEW);
    vertices_.clear();
    texture_ = nullptr;
}

void SpriteBatch::drawAlone(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView.m.data());
    beginQuads(texture->name(), tint_, blending_);
    const float x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    const GLfloat vertices[] = {x, y, 0, x + w, y, 0, x, y + h, 0, x + w, y + h, 0};
    const GLfloat coordinates[] = {coords.s0, coords.t1, coords.s1, coords.t1,
                                   coords.s0, coords.t0, coords.s1, coords.t0};
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    ++drawCalls_;
    endQuads(blending_);
}

}  // namespace quintora
