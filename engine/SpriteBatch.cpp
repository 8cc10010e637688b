#include "engine/SpriteBatch.hpp"

#include <GLES/gl.h>

#include <utility>

#include "engine/Texture2D.hpp"

namespace quintora {
namespace {

// 16-bit indices reach 65,536 vertices: four per quad.
constexpr std::size_t kMaxQuads = 65536 / 4;

// Each quad is drawn as the two triangles a four-vertex strip makes, with their vertices in the order
// the driver takes them from a strip (0 1 2, then 2 1 3), so that batched and lone quads are set up
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

void SpriteBatch::addQuad(Texture2D* texture, Rect rect, TexCoords coords, const Mat4& modelView) {
    const float x0 = rect.origin.x, y0 = rect.origin.y;
    const float x1 = x0 + rect.size.width, y1 = y0 + rect.size.height;
    std::vector<Command>& commands = frame_.commands;
    std::vector<Vertex>& vertices = frame_.vertices;
    if (!enabled_) {
        commands.push_back({Ref<Texture2D>(texture), texture->serial(), tint_, blending_, true, modelView,
                            vertices.size(), 4});
        vertices.push_back({x0, y0, 0, 1, coords.s0, coords.t1});
        vertices.push_back({x1, y0, 0, 1, coords.s1, coords.t1});
        vertices.push_back({x0, y1, 0, 1, coords.s0, coords.t0});
        vertices.push_back({x1, y1, 0, 1, coords.s1, coords.t0});
        return;
    }
    if (commands.empty() || commands.back().alone || commands.back().texture.get() != texture ||
        commands.back().tint != tint_ || commands.back().blending != blending_ ||
        commands.back().vertexCount >= kMaxQuads * 4) {
        commands.push_back(
            {Ref<Texture2D>(texture), texture->serial(), tint_, blending_, false, {}, vertices.size(), 0});
    }
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
        vertices.push_back(v);
    };
    corner(x0, y0, coords.s0, coords.t1);
    corner(x1, y0, coords.s1, coords.t1);
    corner(x0, y1, coords.s0, coords.t0);
    corner(x1, y1, coords.s1, coords.t0);
    commands.back().vertexCount += 4;
}

bool SpriteBatch::endFrame() {
    const bool changed =
        !lastFrameKnown_ || frame_.commands != lastFrame_.commands || frame_.vertices != lastFrame_.vertices;
    std::swap(frame_, lastFrame_);
    frame_.commands.clear();
    frame_.vertices.clear();
    lastFrameKnown_ = true;
    return changed;
}

void SpriteBatch::draw() {
    for (const Command& command : lastFrame_.commands) {
        if (command.alone) {
            drawAlone(command);
        } else {
            drawBatched(command);
        }
    }
}

void SpriteBatch::drawBatched(const Command& command) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    beginQuads(command.texture->name(), command.tint, command.blending);
    const Vertex* first = &lastFrame_.vertices[command.firstVertex];
    glVertexPointer(4, GL_FLOAT, sizeof(Vertex), &first->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &first->s);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(command.vertexCount / 4 * 6), GL_UNSIGNED_SHORT,
                   quadIndices().data());
    ++drawCalls_;
    endQuads(command.blending);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection().m.data());
    glMatrixMode(GL_MODELVIEW);
}

void SpriteBatch::drawAlone(const Command& command) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(command.modelView.m.data());
    beginQuads(command.texture->name(), command.tint, command.blending);
    const Vertex* first = &lastFrame_.vertices[command.firstVertex];
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &first->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &first->s);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    ++drawCalls_;
    endQuads(command.blending);
}

}  // namespace quintora
