#pragma once
// The model-view matrix the tree is drawn with. Nodes transform it in software as they are visited, and
// only the code that draws loads it into GL, so the tree walk needs no GL context and costs no GL calls.
#include <array>
#include <vector>

namespace quintora {

// Column-major, as GL expects it: element (row r, column c) is m[c * 4 + r].
struct Mat4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 identity() { return {}; }
    friend Mat4 operator*(const Mat4& a, const Mat4& b);

    void translate(float x, float y, float z = 0);
    // Rotates about the z axis by the given angle in degrees, counter-clockwise as in GL.
    void rotateZ(float degrees);
    void scale(float x, float y, float z = 1);

    // Where the point (x, y, 0) lands.
    [[nodiscard]] std::array<float, 2> apply(float x, float y) const {
        return {m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]};
    }
};

class MatrixStack {
  public:
    MatrixStack() : stack_(1) {}
    void push() { stack_.push_back(stack_.back()); }
    void pop() { stack_.pop_back(); }
    [[nodiscard]] Mat4& top() { return stack_.back(); }
    void loadIdentity() { stack_.back() = Mat4::identity(); }
    [[nodiscard]] std::size_t depth() const { return stack_.size(); }

  private:
    std::vector<Mat4> stack_;
};

// The one model-view stack of the drawing thread.
MatrixStack& modelView();
// The projection the director last loaded into GL.
Mat4& projection();

}  // namespace quintora
