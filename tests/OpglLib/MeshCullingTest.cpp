// When the meshes leave hidden faces out: only in states where no back face can show, and
// then with the same pixels as the full drawing.
#include <GL/gl.h>

#include <QImage>
#include <functional>

#include "GLFixture.h"
#include "HandModel.h"
#include "MeshDraw.h"
#include "RobotModel.h"

namespace {

class MeshCullingTest : public GLFixture {
 protected:
  void SetUp() override {
    GLFixture::SetUp();
    LitOrthoScene();
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_TEXTURE_2D);
    glRotatef(35, 0.5f, 0.7f, 0.5f);
    SetMeshCulling(true);
  }
  void TearDown() override {
    SetMeshCulling(true);
    glDepthFunc(GL_LESS);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glLoadIdentity();
  }
  // Both meshes drawn; true when both left triangles out.
  static bool LeftOut() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawHand();
    DrawRobot();
    return HandTrianglesDrawn() < HandTriangleCount && RobotTrianglesDrawn() < RobotTriangleCount;
  }
  static bool AllDrawn() {
    return HandTrianglesDrawn() == HandTriangleCount && RobotTrianglesDrawn() == RobotTriangleCount;
  }
  static QImage Picture(bool Culling) {
    SetMeshCulling(Culling);
    LeftOut();
    SetMeshCulling(true);
    return ReadPixels();
  }
};

}  // namespace

TEST_F(MeshCullingTest, LeftOutOnlyWhileNoBackFaceCanShow) {
  ASSERT_TRUE(LeftOut());
  // More than a third of each mesh faces away or lies inside another of the robot's solids.
  EXPECT_LT(HandTrianglesDrawn(), HandTriangleCount * 2 / 3);
  EXPECT_LT(RobotTrianglesDrawn(), RobotTriangleCount * 2 / 3);
  EXPECT_EQ(Picture(true), Picture(false));

  const struct {
    const char* What;
    std::function<void()> Set, Reset;
  } states[] = {
      {"blending", [] { glEnable(GL_BLEND); }, [] { glDisable(GL_BLEND); }},
      {"no depth test", [] { glDisable(GL_DEPTH_TEST); }, [] { glEnable(GL_DEPTH_TEST); }},
      {"no depth writes", [] { glDepthMask(GL_FALSE); }, [] { glDepthMask(GL_TRUE); }},
      {"farther wins", [] { glDepthFunc(GL_GEQUAL); }, [] { glDepthFunc(GL_LEQUAL); }},
      {"reversed depth range", [] { glDepthRange(1, 0); }, [] { glDepthRange(0, 1); }},
      {"alpha test", [] { glEnable(GL_ALPHA_TEST); }, [] { glDisable(GL_ALPHA_TEST); }},
      {"stencil test", [] { glEnable(GL_STENCIL_TEST); }, [] { glDisable(GL_STENCIL_TEST); }},
      {"logic operation", [] { glEnable(GL_COLOR_LOGIC_OP); },
       [] { glDisable(GL_COLOR_LOGIC_OP); }},
      {"polygon smoothing", [] { glEnable(GL_POLYGON_SMOOTH); },
       [] { glDisable(GL_POLYGON_SMOOTH); }},
      {"polygon offset", [] { glEnable(GL_POLYGON_OFFSET_FILL); },
       [] { glDisable(GL_POLYGON_OFFSET_FILL); }},
      {"the caller's culling", [] { glEnable(GL_CULL_FACE); }, [] { glDisable(GL_CULL_FACE); }},
      {"clip plane 5", [] { glEnable(GL_CLIP_PLANE5); }, [] { glDisable(GL_CLIP_PLANE5); }},
      {"mirror", [] { glScalef(-1, 1, 1); }, [] { glScalef(-1, 1, 1); }},
      // The box keeps -40 < z < 40; from z = 5 on it cuts through both meshes.
      {"near plane through the meshes", [] { glTranslatef(0, 0, 36); },
       [] { glTranslatef(0, 0, -36); }},
  };
  for (const auto& state : states) {
    state.Set();
    EXPECT_FALSE(LeftOut()) << state.What;
    EXPECT_TRUE(AllDrawn()) << state.What;
    state.Reset();
    EXPECT_TRUE(LeftOut()) << "after " << state.What;
  }
  // Nothing left out while the shortcut is off, nor in immediate drawing.
  SetMeshCulling(false);
  EXPECT_FALSE(LeftOut());
  SetMeshCulling(true);
  DrawHandImmediate();
  EXPECT_EQ(HandTrianglesDrawn(), HandTriangleCount);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(MeshCullingTest, InsideADisplayListEverythingIsKept) {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  DrawRobot();
  glEndList();
  EXPECT_EQ(RobotTrianglesDrawn(), RobotTriangleCount);
  // Called where blending shows back faces, the list still has them all.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glCallList(list);
  const QImage listed = ReadPixels();
  SetMeshCulling(false);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawRobot();
  SetMeshCulling(true);
  EXPECT_EQ(ReadPixels(), listed);
  glDisable(GL_BLEND);
  glDeleteLists(list, 1);
}

TEST_F(MeshCullingTest, SameAcrossTurnsAndTheBuffersGivenBack) {
  for (int turn = 0; turn < 360; turn += 45) {
    glLoadIdentity();
    glRotatef(static_cast<float>(turn), 0.3f, 1, 0.2f);
    EXPECT_EQ(Picture(true), Picture(false)) << turn;
  }
  GLint arrayBuffer = -1, elementBuffer = -1;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
  EXPECT_EQ(arrayBuffer, 0);
  EXPECT_EQ(elementBuffer, 0);
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(MeshCullingTest, NothingSentForAMeshOutsideTheView) {
  const auto drawn = [] { return HandTrianglesDrawn() + RobotTrianglesDrawn(); };
  const struct {
    const char* What;
    float X, Y, Z;
    bool Outside;
  } places[] = {
      {"left", -60, 0, 0, true},           {"right", 60, 0, 0, true},
      {"below", 0, -50, 0, true},          {"above", 0, 50, 0, true},
      {"beyond far", 0, 0, -120, true},    {"across the right edge", 16, 0, 0, false},
      {"across the top", 0, 12, 0, false},
  };
  for (bool perspective : {false, true}) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (perspective)
      glFrustum(-8, 8, -6, 6, 20, 140);
    else
      glOrtho(-16, 16, -12, 12, -40, 40);
    glMatrixMode(GL_MODELVIEW);
    for (const auto& place : places) {
      glLoadIdentity();
      // Seen through the frustum from 60 away, the same places lie about as far out.
      if (perspective) glTranslatef(0, 0, -60);
      glTranslatef(place.X * (perspective ? 1.5f : 1), place.Y * (perspective ? 1.5f : 1), place.Z);
      glRotatef(35, 0.5f, 0.7f, 0.5f);
      const QImage culled = Picture(true);
      LeftOut();
      const int sent = drawn();
      EXPECT_EQ(culled, Picture(false)) << place.What << (perspective ? " (perspective)" : "");
      if (place.Outside)
        EXPECT_EQ(sent, 0) << place.What << (perspective ? " (perspective)" : "");
      else
        EXPECT_GT(sent, 0) << place.What << (perspective ? " (perspective)" : "");
    }
  }
  // In selection every triangle still counts.
  glLoadIdentity();
  glTranslatef(-60, 0, 0);
  GLuint hits[64];
  glSelectBuffer(64, hits);
  glRenderMode(GL_SELECT);
  DrawHand();
  glRenderMode(GL_RENDER);
  EXPECT_EQ(HandTrianglesDrawn(), HandTriangleCount);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-16, 16, -12, 12, -40, 40);
  glMatrixMode(GL_MODELVIEW);
  EXPECT_EQ(PendingGLError(), static_cast<unsigned>(GL_NO_ERROR));
}
