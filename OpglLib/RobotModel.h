#pragma once
// The robot: a rigid, smooth-shaded triangle mesh.
#include <cstdint>

inline constexpr int RobotVertexCount = 5849;
inline constexpr int RobotNormalCount = 9034;
inline constexpr int RobotTriangleCount = 11150;

// X, Y, Z per vertex and per unit normal; per triangle the vertex and normal indices of its
// three corners.
extern const float RobotVertices[RobotVertexCount][3];
extern const float RobotNormals[RobotNormalCount][3];
extern const int16_t RobotTriangles[RobotTriangleCount][6];

// Draws the robot filled, 20 units long, whatever the polygon mode; the caller's polygon modes
// are restored afterwards and GL_NORMALIZE is left on.
void DrawRobot();
// The same mesh corner by corner in immediate mode (the reference for faster paths).
void DrawRobotImmediate();
// Triangles the last DrawRobot sent to OpenGL.
int RobotTrianglesDrawn();
