// The hand and robot meshes: table layout, extents, and how they are drawn.
#include <GL/gl.h>
#include <GL/glu.h>

#include <QImage>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "GLFixture.h"
#include "HandModel.h"
#include "RobotModel.h"

namespace {

struct TExtent {
  float Lo[3] = {1e9f, 1e9f, 1e9f};
  float Hi[3] = {-1e9f, -1e9f, -1e9f};
};

template <int N>
TExtent ExtentOf(const float (&Vertices)[N][3]) {
  TExtent e;
  for (const auto& v : Vertices)
    for (int k = 0; k < 3; ++k) {
      e.Lo[k] = std::min(e.Lo[k], v[k]);
      e.Hi[k] = std::max(e.Hi[k], v[k]);
    }
  return e;
}

// Counts the pixels that differ from the clear colour (black).
int Covered(const QImage& Image) {
  int n = 0;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      if (Image.pixel(x, y) != qRgb(0, 0, 0)) ++n;
  return n;
}

class ModelsTest : public GLFixture {
 protected:
  void SetUp() override {
    GLFixture::SetUp();
    LitOrthoScene();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLfloat position[4] = {0.3f, 0.5f, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  }
  void TearDown() override {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
  }
  QImage Render(void (*Draw)()) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Draw();
    return ReadPixels();
  }
};

}  // namespace

TEST(ModelTables, CountsIndexesAndExtents) {
  // Every corner's indexes lie inside their tables, and every table entry is used.
  std::vector<int> usedV(HandVertexCount), usedN(HandNormalCount), usedT(HandTexCoordCount);
  for (const auto& t : HandTriangles)
    for (int k = 0; k < 3; ++k) {
      ASSERT_GE(t[k], 0);
      ASSERT_LT(t[k], HandVertexCount);
      ASSERT_GE(t[3 + k], 0);
      ASSERT_LT(t[3 + k], HandNormalCount);
      ASSERT_GE(t[6 + k], 0);
      ASSERT_LT(t[6 + k], HandTexCoordCount);
      ++usedV[t[k]], ++usedN[t[3 + k]], ++usedT[t[6 + k]];
    }
  EXPECT_EQ(std::count(usedV.begin(), usedV.end(), 0), 0);
  EXPECT_EQ(std::count(usedN.begin(), usedN.end(), 0), 0);
  EXPECT_EQ(std::count(usedT.begin(), usedT.end(), 0), 0);
  std::vector<int> usedRV(RobotVertexCount), usedRN(RobotNormalCount);
  for (const auto& t : RobotTriangles)
    for (int k = 0; k < 3; ++k) {
      ASSERT_GE(t[k], 0);
      ASSERT_LT(t[k], RobotVertexCount);
      ASSERT_GE(t[3 + k], 0);
      ASSERT_LT(t[3 + k], RobotNormalCount);
      ++usedRV[t[k]], ++usedRN[t[3 + k]];
    }
  EXPECT_EQ(std::count(usedRV.begin(), usedRV.end(), 0), 0);
  EXPECT_EQ(std::count(usedRN.begin(), usedRN.end(), 0), 0);
  // No triangle repeats a vertex.
  for (const auto& t : HandTriangles) EXPECT_TRUE(t[0] != t[1] && t[1] != t[2] && t[0] != t[2]);
  for (const auto& t : RobotTriangles) EXPECT_TRUE(t[0] != t[1] && t[1] != t[2] && t[0] != t[2]);

  // Centred, Z from -0.5 to 0.5, the fixed X and Y half extents.
  const TExtent hand = ExtentOf(HandVertices), robot = ExtentOf(RobotVertices);
  const float handHalf[3] = {0.263569f, 0.184064f, 0.5f};
  const float robotHalf[3] = {0.413396f, 0.205624f, 0.5f};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(hand.Lo[k], -handHalf[k], 1e-6) << k;
    EXPECT_NEAR(hand.Hi[k], handHalf[k], 1e-6) << k;
    EXPECT_NEAR(robot.Lo[k], -robotHalf[k], 1e-6) << k;
    EXPECT_NEAR(robot.Hi[k], robotHalf[k], 1e-6) << k;
  }
  for (const auto& n : HandNormals) EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-5);
  for (const auto& n : RobotNormals) EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-5);
  float u0 = 1, u1 = 0, v0 = 1, v1 = 0;
  for (const auto& t : HandTexCoords) {
    u0 = std::min(u0, t[0]), u1 = std::max(u1, t[0]);
    v0 = std::min(v0, t[1]), v1 = std::max(v1, t[1]);
  }
  EXPECT_NEAR(u0, 0.001953f, 1e-6);
  EXPECT_NEAR(u1, 0.994141f, 1e-6);
  EXPECT_NEAR(v0, 0.001953f, 1e-6);
  EXPECT_NEAR(v1, 0.894531f, 1e-6);

  // Corner normals face the way their triangles turn (outward, counter-clockwise).
  auto facing = [](const float* a, const float* b, const float* c, const float* n) {
    const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float f[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                        e1[0] * e2[1] - e1[1] * e2[0]};
    return f[0] * n[0] + f[1] * n[1] + f[2] * n[2];
  };
  int handBackward = 0, robotBackward = 0;
  for (const auto& t : HandTriangles)
    if (facing(HandVertices[t[0]], HandVertices[t[1]], HandVertices[t[2]], HandNormals[t[3]]) < 0)
      ++handBackward;
  for (const auto& t : RobotTriangles)
    if (facing(RobotVertices[t[0]], RobotVertices[t[1]], RobotVertices[t[2]], RobotNormals[t[3]]) <
        0)
      ++robotBackward;
  EXPECT_LT(handBackward, HandTriangleCount / 100);
  EXPECT_EQ(robotBackward, 0);
}

TEST(ModelTables, EachCornerCombinationOncePerTableEntry) {
  // A texture coordinate of the hand belongs to one vertex with one normal, and a normal of the
  // robot to one vertex: the meshes have no more distinct corners than their largest table,
  // which is what an indexed draw transforms.
  std::set<std::tuple<int, int, int>> handCorners;
  std::map<int, std::pair<int, int>> ownerOfCoordinate;
  for (const auto& t : HandTriangles)
    for (int k = 0; k < 3; ++k) {
      handCorners.emplace(t[k], t[3 + k], t[6 + k]);
      const auto owner = std::make_pair(int{t[k]}, int{t[3 + k]});
      const auto [it, added] = ownerOfCoordinate.emplace(t[6 + k], owner);
      if (!added) {
        EXPECT_EQ(it->second, owner) << "texture coordinate " << t[6 + k];
      }
    }
  EXPECT_EQ(handCorners.size(), static_cast<std::size_t>(HandTexCoordCount));
  std::set<std::pair<int, int>> robotCorners;
  for (const auto& t : RobotTriangles)
    for (int k = 0; k < 3; ++k) robotCorners.emplace(t[k], t[3 + k]);
  EXPECT_EQ(robotCorners.size(), static_cast<std::size_t>(RobotNormalCount));
}

TEST_F(ModelsTest, DrawnFilledInLineModeAndSceneModeRestored) {
  for (auto draw : {&DrawHand, &DrawRobot}) {
    const int filled = Covered(Render(draw));
    ASSERT_GT(filled, 2000);

    glPolygonMode(GL_FRONT, GL_LINE);
    glPolygonMode(GL_BACK, GL_POINT);
    glDisable(GL_NORMALIZE);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    const int inLineMode = Covered(Render(draw));
    // Solid whatever the scene's mode: the same pixels as when filled.
    EXPECT_NEAR(inLineMode, filled, filled / 100);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_POINT);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(after[k], before[k], 1e-5) << k;

    // What is drawn after them is in the scene's mode again: a quad shows only its outline.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    draw();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glRectf(-10, -10, 10, 10);
    glEnable(GL_LIGHTING);
    const int outline = Covered(ReadPixels());
    EXPECT_GT(outline, 100);
    EXPECT_LT(outline, 2000);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
  }
}

TEST_F(ModelsTest, IndexedDrawGivesBackTheClientArrayState) {
  // The draw from buffer objects leaves the caller's arrays, pointers and buffer bindings as
  // they were, and works inside a display list being compiled too.
  const GLfloat corner[3] = {0, 0, 0};
  glVertexPointer(3, GL_FLOAT, 0, corner);
  glEnableClientState(GL_VERTEX_ARRAY);
  for (auto draw : {&DrawHand, &DrawRobot}) {
    draw();
    draw();
    GLint arrayBuffer = -1, elementBuffer = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    EXPECT_EQ(arrayBuffer, 0);
    EXPECT_EQ(elementBuffer, 0);
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, static_cast<const void*>(corner));
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  const int direct = Covered(Render(&DrawRobot));
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  DrawRobot();
  glEndList();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glCallList(list);
  EXPECT_EQ(Covered(ReadPixels()), direct);
  glDeleteLists(list, 1);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(ModelsTest, IndexedDrawMatchesCornerByCorner) {
  // The fast path emits the same triangles, normals and texture coordinates.
  glEnable(GL_NORMALIZE);
  glRotatef(35, 0.5f, 0.7f, 0.5f);
  const QImage handFast = Render(&DrawHand);
  const QImage handSlow = Render(&DrawHandImmediate);
  const QImage robotFast = Render(&DrawRobot);
  const QImage robotSlow = Render(&DrawRobotImmediate);
  int differ = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      differ += handFast.pixel(x, y) != handSlow.pixel(x, y);
      differ += robotFast.pixel(x, y) != robotSlow.pixel(x, y);
    }
  EXPECT_LE(differ, 20);
  // Both leave the same current normal and texture coordinate behind.
  GLfloat nFast[3], nSlow[3], tFast[4], tSlow[4];
  DrawHand();
  glGetFloatv(GL_CURRENT_NORMAL, nFast);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tFast);
  DrawHandImmediate();
  glGetFloatv(GL_CURRENT_NORMAL, nSlow);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tSlow);
  for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(nFast[k], nSlow[k]);
  for (int k = 0; k < 2; ++k) EXPECT_FLOAT_EQ(tFast[k], tSlow[k]);
  // Pictures to look at, when asked for.
  const QString dir = qEnvironmentVariable("OPGL_MODEL_SNAPSHOTS");
  if (!dir.isEmpty()) {
    const struct {
      const char* Name;
      void (*Draw)();
      float Angle, X, Y, Z;
    } views[] = {{"hand-back", &DrawHand, -90, 1, 0, 0},
                 {"hand-side", &DrawHand, 90, 0, 1, 0},
                 {"hand-scene", &DrawHand, 35, 0.5f, 0.7f, 0.5f},
                 {"robot-front", &DrawRobot, -90, 1, 0, 0},
                 {"robot-side", &DrawRobot, 0, 0, 0, 1}};
    for (const auto& v : views) {
      glLoadIdentity();
      glRotatef(v.Angle, v.X, v.Y, v.Z);
      if (QString::fromLatin1(v.Name) == QStringLiteral("robot-side")) {
        glLoadIdentity();
        glRotatef(-90, 1, 0, 0);
        glRotatef(50, 0, 0, 1);
      }
      Render(v.Draw).save(dir + QStringLiteral("/%1.png").arg(QString::fromLatin1(v.Name)));
    }
  }
}
