// Vectors and 4 x 4 matrices for the scene library. Points are row vectors
// multiplied from the left (p' = p * M): rows 0..2 are a frame's axes and
// row 3 its position, so A * B applies A first.
#pragma once

#include <array>
#include <cmath>

namespace velmora::view3d {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
// A zero vector stays zero.
inline Vec3 Normalise(Vec3 a) {
    const float l = Length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{};
}

struct Mat4 {
    std::array<std::array<float, 4>, 4> m{};

    static Mat4 Identity();
    static Mat4 Translation(Vec3 t);
    static Mat4 Scaling(float s);
    // The Direct3D rotation about Y: a positive angle turns +Z towards +X.
    static Mat4 RotationY(float radians);
    // Left-handed perspective: view space looks along +Z; depth 0..1 from
    // near to far. xScale is the horizontal focal scale.
    static Mat4 Perspective(float xScale, float yScale, float nearZ, float farZ);

    Vec3 Row(int r) const { return {m[r][0], m[r][1], m[r][2]}; }
    void SetRow(int r, Vec3 v) {
        m[r][0] = v.x;
        m[r][1] = v.y;
        m[r][2] = v.z;
    }
    Vec3 TransformPoint(Vec3 p) const;
    Vec3 TransformNormal(Vec3 n) const;
    // The inverse of a rigid transform: the transposed 3 x 3 part and the
    // position row (-(r0.t), -(r1.t), -(r2.t)). Scaling is not undone.
    Mat4 RigidInverse() const;
};

Mat4 operator*(const Mat4& a, const Mat4& b);

}  // namespace velmora::view3d
