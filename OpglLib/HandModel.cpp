#include "HandModel.h"

#include "MeshDraw.h"

namespace {
const TMeshArrays& Hand() {
  static const TMeshArrays mesh(HandVertices, HandNormals, HandTexCoords, &HandTriangles[0][0],
                                HandTriangleCount, 9);
  return mesh;
}
}  // namespace

void DrawHand() {
  Hand().Draw();
}

void DrawHandImmediate() {
  Hand().DrawImmediate();
}

int HandTrianglesDrawn() {
  return Hand().LastDrawnTriangles();
}
