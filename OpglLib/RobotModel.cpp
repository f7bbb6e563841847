#include "RobotModel.h"

#include "MeshDraw.h"

namespace {
const TMeshArrays& Robot() {
  static const TMeshArrays mesh(RobotVertices, RobotNormals, nullptr, &RobotTriangles[0][0],
                                RobotTriangleCount, 6);
  return mesh;
}
}  // namespace

void DrawRobot() {
  Robot().Draw();
}

void DrawRobotImmediate() {
  Robot().DrawImmediate();
}

int RobotTrianglesDrawn() {
  return Robot().LastDrawnTriangles();
}
