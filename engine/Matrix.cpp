#include "engine/Matrix.hpp"

#include <cmath>
#include <numbers>

namespace quintora {

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    }
    return r;
}

void Mat4::translate(float x, float y, float z) {
    for (int row = 0; row < 4; ++row) m[12 + row] += m[row] * x + m[4 + row] * y + m[8 + row] * z;
}

void Mat4::rotateZ(float degrees) {
    const float radians = degrees * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    for (int row = 0; row < 4; ++row) {
        const float x = m[row];
        const float y = m[4 + row];
        m[row] = c * x + s * y;
        m[4 + row] = -s * x + c * y;
    }
}

void Mat4::scale(float x, float y, float z) {
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
}

MatrixStack& modelView() {
    static MatrixStack stack;
    return stack;
}

Mat4& projection() {
    static Mat4 matrix;
    return matrix;
}

}  // namespace quintora
