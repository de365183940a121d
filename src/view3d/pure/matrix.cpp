#include "view3d/pure/matrix.h"

namespace velmora::view3d {

Mat4 Mat4::Identity() {
    Mat4 r;
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
    return r;
}

Mat4 Mat4::Translation(Vec3 t) {
    Mat4 r = Identity();
    r.SetRow(3, t);
    return r;
}

Mat4 Mat4::Scaling(float s) {
    Mat4 r = Identity();
    for (int i = 0; i < 3; ++i) r.m[i][i] = s;
    return r;
}

Mat4 Mat4::RotationY(float radians) {
    Mat4 r = Identity();
    const float c = std::cos(radians), s = std::sin(radians);
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

Mat4 Mat4::Perspective(float xScale, float yScale, float nearZ, float farZ) {
    Mat4 r;
    r.m[0][0] = xScale;
    r.m[1][1] = yScale;
    r.m[2][2] = farZ / (farZ - nearZ);
    r.m[2][3] = 1;
    r.m[3][2] = -nearZ * farZ / (farZ - nearZ);
    return r;
}

Vec3 Mat4::TransformPoint(Vec3 p) const {
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
}

Vec3 Mat4::TransformNormal(Vec3 n) const {
    return {n.x * m[0][0] + n.y * m[1][0] + n.z * m[2][0],
            n.x * m[0][1] + n.y * m[1][1] + n.z * m[2][1],
            n.x * m[0][2] + n.y * m[1][2] + n.z * m[2][2]};
}

Mat4 Mat4::RigidInverse() const {
    Mat4 r = Identity();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
    }
    const Vec3 t = Row(3);
    r.SetRow(3, {-Dot(Row(0), t), -Dot(Row(1), t), -Dot(Row(2), t)});
    return r;
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    }
    return r;
}

}  // namespace velmora::view3d
