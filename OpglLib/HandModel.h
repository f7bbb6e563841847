#pragma once
// The hand: a rigid, smooth-shaded triangle mesh with texture coordinates.
#include <cstdint>

inline constexpr int HandVertexCount = 5762;
inline constexpr int HandNormalCount = 5901;
inline constexpr int HandTexCoordCount = 7290;
inline constexpr int HandTriangleCount = 11520;

// X, Y, Z per vertex and per unit normal; U, V per texture coordinate; per triangle the
// vertex, normal and texture-coordinate indices of its three corners.
extern const float HandVertices[HandVertexCount][3];
extern const float HandNormals[HandNormalCount][3];
extern const float HandTexCoords[HandTexCoordCount][2];
extern const int16_t HandTriangles[HandTriangleCount][9];

// Draws the hand filled, 20 units long, whatever the polygon mode; the caller's polygon modes
// are restored afterwards and GL_NORMALIZE is left on.
void DrawHand();
// The same mesh corner by corner in immediate mode (the reference for faster paths).
void DrawHandImmediate();
// Triangles the last DrawHand sent to OpenGL.
int HandTrianglesDrawn();
