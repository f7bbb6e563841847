// The camera in a real GL context: default views, volumes, fitting, axis views, moves and turns,
// and the matrices handed to GL.
#include <GL/gl.h>

#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cmath>
#include <cstddef>

#include "GLFixture.h"
#include "OpglCamera.h"
#include "Vector3D.h"

namespace {

class OpglCameraTest : public GLFixture {
 protected:
  // A view as the main window makes it.
  static TGLView DefaultView(TViewKind Kind = vkUser) {
    TGLView view;
    GLCamera->InitView(view, Kind, GLPoint4f(15, 10, 15, 1), GLPoint4f(0, 0, 0, 1), 20);
    return view;
  }
};

void ExpectPoint(const TGLPoint4f& P, float X, float Y, float Z, float Tolerance = 1e-5f) {
  EXPECT_NEAR(P.X, X, Tolerance);
  EXPECT_NEAR(P.Y, Y, Tolerance);
  EXPECT_NEAR(P.Z, Z, Tolerance);
}

void ExpectVolume(const TGLView& V, float L, float R, float B, float T, float N, float F) {
  EXPECT_NEAR(V.Left, L, 1e-3);
  EXPECT_NEAR(V.Right, R, 1e-3);
  EXPECT_NEAR(V.Bottom, B, 1e-3);
  EXPECT_NEAR(V.Top, T, 1e-3);
  EXPECT_NEAR(V.Near, N, 1e-3);
  EXPECT_NEAR(V.Far, F, 1e-3);
}

// Near and far planes recovered from the projection matrix GL holds.
struct TPlanes {
  double Near, Far;
};
TPlanes PerspectivePlanes() {
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  return {m[14] / (m[10] - 1), m[14] / (m[10] + 1)};
}
TPlanes OrthoPlanes() {
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  const double depth = -2 / m[10], sum = -m[14] * depth;
  return {(sum - depth) / 2, (sum + depth) / 2};
}

}  // namespace

TEST_F(OpglCameraTest, NamesAndRecordLayout) {
  const char* projections[] = {"Ortho2D", "Ortho", "Frustum", "Perspective", ""};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ProjectionNames[i], QString::fromLatin1(projections[i]));
  const char* views[] = {"User", "Front", "Back", "Right", "Left", "Top", "Bottom"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ViewNames[i], QString::fromLatin1(views[i]));
  EXPECT_EQ(static_cast<int>(pmPerspective), 3);
  EXPECT_EQ(static_cast<int>(vkBottom), 6);
  EXPECT_EQ(offsetof(TGLView, X), 4u);
  EXPECT_EQ(offsetof(TGLView, Eye), 20u);
  EXPECT_EQ(offsetof(TGLView, FOV), 68u);
  EXPECT_EQ(offsetof(TGLView, Far), 92u);
}

TEST_F(OpglCameraTest, InitViewDefaultsAndPerspectiveNearPlane) {
  TGLView view = DefaultView();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(view.Projection, pmPerspective);
  EXPECT_EQ(view.Kind, vkUser);
  EXPECT_EQ(view.X, 0);
  EXPECT_EQ(view.Y, 0);
  EXPECT_EQ(view.Width, screen.width());
  EXPECT_EQ(view.Height, screen.height());
  ExpectPoint(view.Eye, 15, 10, 15);
  ExpectPoint(view.ViewPt, 0, 0, 0);
  EXPECT_FLOAT_EQ(view.FOV, 52);
  const float l = std::sqrt(550.0f);
  EXPECT_NEAR(l, 23.452f, 1e-3);
  ExpectVolume(view, -20, 20, -20, 20, l - 20, l + 20);
  // Up: unit length, square to the line of sight, pointing upwards.
  const TGLVector3f f = VectorFromTo(view.Eye, view.ViewPt);
  EXPECT_NEAR(view.Up.X * f.X + view.Up.Y * f.Y + view.Up.Z * f.Z, 0, 1e-4);
  EXPECT_NEAR(GLVector->VectorLength(view.Up), 1, 1e-6);
  EXPECT_GT(view.Up.Y, 0);

  GLCamera->ApplyView(view);
  const TPlanes planes = PerspectivePlanes();
  EXPECT_NEAR(planes.Near, 3.452, 1e-3);
  EXPECT_NEAR(planes.Far, 43.452, 1e-3);
  int x = -1, y = -1, w = -1, h = -1;
  GLCamera->GetViewport(x, y, w, h);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(w, screen.width());
  EXPECT_EQ(h, screen.height());
  // The eye at (15, 10, 15) looking at the origin.
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(m[14], -l, 1e-4);  // the origin lies L ahead of the eye
  EXPECT_NEAR(m[12], 0, 1e-4);
  EXPECT_NEAR(m[13], 0, 1e-4);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OpglCameraTest, ApplyViewProjectionsAndNearClamp) {
  TGLView view = DefaultView();
  view.Projection = pmOrtho;
  GLCamera->ApplyView(view);
  TPlanes planes = OrthoPlanes();
  EXPECT_NEAR(planes.Near, view.Near, 1e-3);
  EXPECT_NEAR(planes.Far, view.Far, 1e-3);

  view.Projection = pmFrustum;
  GLCamera->ApplyView(view);
  planes = PerspectivePlanes();
  EXPECT_NEAR(planes.Near, view.Near, 1e-3);

  view.Projection = pmOrtho2D;
  GLCamera->ApplyView(view);
  planes = OrthoPlanes();
  EXPECT_NEAR(planes.Near, -1, 1e-9);
  EXPECT_NEAR(planes.Far, 1, 1e-9);

  // An eye 10 from the view point with a depth of 40: stored near -10, handed to GL as 0.5.
  view.Eye = GLPoint4f(0, 0, 10, 1);
  GLCamera->SetViewVolume(view, 40, 40, 40);
  EXPECT_NEAR(view.Near, -10, 1e-5);
  for (TProjectionMode mode : {pmOrtho, pmFrustum, pmPerspective}) {
    view.Projection = mode;
    GLCamera->ApplyView(view);
    planes = mode == pmOrtho ? OrthoPlanes() : PerspectivePlanes();
    EXPECT_NEAR(planes.Near, 0.5, 1e-6) << int(mode);
    EXPECT_NEAR(planes.Far, 30, 1e-4) << int(mode);
    EXPECT_NEAR(view.Near, -10, 1e-5);
  }
  // A near plane at 0.5 exactly is used as it is; 0.4 is raised.
  view.Eye = GLPoint4f(0, 0, 20.5f, 1);
  GLCamera->SetViewVolume(view, 40, 40, 40);
  GLCamera->ApplyView(view);
  EXPECT_NEAR(PerspectivePlanes().Near, 0.5, 1e-5);

  // A height below 1 is raised and stored.
  view.Height = 0;
  view.Width = 10;
  GLCamera->ApplyView(view);
  EXPECT_EQ(view.Height, 1);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  EXPECT_TRUE(std::isfinite(m[0]));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OpglCameraTest, ViewVolumeBoundsAndAxes) {
  TGLView view = DefaultView();
  const TGLView before = view;
  for (const auto& sizes : {std::array<float, 3>{5, 40, 40},
                            {40, 5, 40},
                            {40, 40, 5},
                            {40, 40, 10000},
                            {10000, 40, 40},
                            {-30, 40, 40},
                            {NAN, 40, 40}}) {
    GLCamera->SetViewVolume(view, sizes[0], sizes[1], sizes[2]);
    ExpectVolume(view, before.Left, before.Right, before.Bottom, before.Top, before.Near,
                 before.Far);
  }
  GLCamera->SetViewVolume(view, 5.01f, 40, 40);
  EXPECT_NEAR(view.Right - view.Left, 5.01f, 1e-5);
  GLCamera->SetViewVolume(view, 40, 40, 9999.9f);
  EXPECT_NEAR(view.Far - view.Near, 9999.9f, 1e-2);

  // Each kind puts W, H, D on its own screen axes, around the view point's coordinates.
  const float l = 10;
  auto volumeOf = [&](TViewKind kind) {
    TGLView v;
    v.Kind = kind;
    v.ViewPt = GLPoint4f(1, 2, 3, 1);
    v.Eye = GLPoint4f(1, 2, 3 + l, 1);
    GLCamera->SetViewVolume(v, 10, 20, 30);
    return v;
  };
  for (TViewKind kind : {vkUser, vkFront, vkBack}) {
    SCOPED_TRACE(int(kind));
    ExpectVolume(volumeOf(kind), 1 - 5, 1 + 5, 2 - 10, 2 + 10, l - 15, l + 15);
  }
  for (TViewKind kind : {vkRight, vkLeft}) {
    SCOPED_TRACE(int(kind));
    ExpectVolume(volumeOf(kind), 3 - 15, 3 + 15, 2 - 10, 2 + 10, l - 5, l + 5);
  }
  for (TViewKind kind : {vkTop, vkBottom}) {
    SCOPED_TRACE(int(kind));
    ExpectVolume(volumeOf(kind), 1 - 5, 1 + 5, 3 - 15, 3 + 15, l - 10, l + 10);
  }
}

TEST_F(OpglCameraTest, FitVolumeToViewport) {
  TGLView view = DefaultView();
  GLCamera->FitVolumeToViewport(view, 300, 200);
  EXPECT_NEAR(view.Top - view.Bottom, 26.6667f, 1e-3);
  EXPECT_NEAR(view.Right - view.Left, 40, 1e-4);
  EXPECT_NEAR(view.Far - view.Near, 40, 1e-4);

  view = DefaultView();
  GLCamera->FitVolumeToViewport(view, 200, 300);
  EXPECT_NEAR(view.Top - view.Bottom, 60, 1e-4);
  EXPECT_NEAR(view.Right - view.Left, 40, 1e-4);

  // A 400 x 400 box: the second branch widens it to 600.
  view = DefaultView();
  view.Eye = GLPoint4f(0, 0, 1000, 1);
  GLCamera->SetViewVolume(view, 400, 400, 400);
  GLCamera->FitVolumeToViewport(view, 300, 200);
  EXPECT_NEAR(view.Right - view.Left, 600, 1e-3);
  EXPECT_NEAR(view.Top - view.Bottom, 400, 1e-3);

  // Sizes below 1 count as 1; a result outside (5, 10000) leaves the volume alone.
  view = DefaultView();
  GLCamera->FitVolumeToViewport(view, 0, -4);
  EXPECT_NEAR(view.Top - view.Bottom, 40, 1e-4);
  GLCamera->FitVolumeToViewport(view, 1000, 1);
  EXPECT_NEAR(view.Top - view.Bottom, 40, 1e-4);

  // Side and top views keep their depth and take the viewport's shape on screen.
  for (TViewKind kind : {vkRight, vkLeft, vkTop, vkBottom}) {
    SCOPED_TRACE(int(kind));
    view = DefaultView(kind);
    GLCamera->FitVolumeToViewport(view, 300, 200);
    EXPECT_NEAR(view.Right - view.Left, 40, 1e-4);
    EXPECT_NEAR(view.Top - view.Bottom, 26.6667f, 1e-3);
    EXPECT_NEAR(view.Far - view.Near, 40, 1e-4);
  }

  // SetViewport stores the rectangle (sizes at least 1) and fits the volume to it.
  view = DefaultView();
  GLCamera->SetViewport(view, 3, 4, 300, 200);
  EXPECT_EQ(view.X, 3);
  EXPECT_EQ(view.Y, 4);
  EXPECT_EQ(view.Width, 300);
  EXPECT_EQ(view.Height, 200);
  EXPECT_NEAR(view.Top - view.Bottom, 26.6667f, 1e-3);
  GLCamera->SetViewport(view, 0, 0, 0, -1);
  EXPECT_EQ(view.Width, 1);
  EXPECT_EQ(view.Height, 1);
}

TEST_F(OpglCameraTest, SetViewPointsPutsTheEyeOnTheKindsAxis) {
  TGLView view = DefaultView(vkTop);
  view.Up.W = 9;
  GLCamera->SetViewPoints(view, GLPoint4f(3, 4, 0, 1), GLPoint4f(0, 0, 0, 2));
  ExpectPoint(view.Eye, 0, 5, 0);
  EXPECT_EQ(view.Eye.W, 2);
  ExpectPoint(view.Up, 0, 0, -1);
  EXPECT_EQ(view.Up.W, 9);

  struct TCase {
    TViewKind Kind;
    float X, Y, Z, UpY, UpZ;
  };
  for (const TCase& c :
       {TCase{vkFront, 1, 1, 6, 1, 0}, TCase{vkBack, 1, 1, -4, 1, 0}, TCase{vkRight, 6, 1, 1, 1, 0},
        TCase{vkLeft, -4, 1, 1, 1, 0}, TCase{vkBottom, 1, -4, 1, 0, -1}}) {
    SCOPED_TRACE(int(c.Kind));
    view = DefaultView(c.Kind);
    GLCamera->SetViewPoints(view, GLPoint4f(4, 5, 1, 1), GLPoint4f(1, 1, 1, 1));
    ExpectPoint(view.Eye, c.X, c.Y, c.Z);
    ExpectPoint(view.Up, 0, c.UpY, c.UpZ);
  }
  // The user view keeps both points and its Up; passing the view's own points is safe.
  view = DefaultView();
  const TGLPoint4f up = view.Up;
  GLCamera->SetViewPoints(view, GLPoint4f(4, 5, 1, 1), GLPoint4f(1, 1, 1, 1));
  ExpectPoint(view.Eye, 4, 5, 1);
  ExpectPoint(view.Up, up.X, up.Y, up.Z);
  view.Kind = vkFront;
  GLCamera->SetViewPoints(view, view.Eye, view.ViewPt);
  ExpectPoint(view.Eye, 1, 1, 6);
}

TEST_F(OpglCameraTest, MovesAndZooms) {
  TGLView view = DefaultView();
  view.Eye = GLPoint4f(0, 0, 10, 1);
  view.ViewPt = GLPoint4f(0, 0, 0, 1);
  view.Up = GLPoint4f(0, 3, 0, 0);  // only its direction counts
  GLCamera->MoveUp(view, 2);
  ExpectPoint(view.Eye, 0, 2, 10);
  ExpectPoint(view.ViewPt, 0, 2, 0);
  GLCamera->MoveDown(view, 2);
  GLCamera->MoveRight(view, 1);  // (ViewPt - Eye) x Up points to +X
  ExpectPoint(view.Eye, 1, 0, 10);
  ExpectPoint(view.ViewPt, 1, 0, 0);
  GLCamera->MoveLeft(view, 1);
  GLCamera->MoveForward(view, 4);
  ExpectPoint(view.Eye, 0, 0, 6);
  ExpectPoint(view.ViewPt, 0, 0, -4);
  GLCamera->MoveBackward(view, 4);
  GLCamera->MoveAlong(view, GLVector3f(0, 0, 7), -1);
  ExpectPoint(view.Eye, 0, 0, 9);
  ExpectPoint(view.ViewPt, 0, 0, -1);

  GLCamera->ZoomOut(view, 1);
  ExpectPoint(view.Eye, 0, 0, 10);
  ExpectPoint(view.ViewPt, 0, 0, -1);
  // Zooming in by the whole distance puts the eye on the view point; further moves along the
  // line of sight have no direction and leave the points as they are.
  GLCamera->ZoomIn(view, 11);
  ExpectPoint(view.Eye, 0, 0, -1);
  GLCamera->ZoomIn(view, 1);
  GLCamera->MoveForward(view, 1);
  ExpectPoint(view.Eye, 0, 0, -1);
  ExpectPoint(view.ViewPt, 0, 0, -1);
}

TEST_F(OpglCameraTest, Rotations) {
  TGLView view = DefaultView();
  view.Eye = GLPoint4f(10, 0, 0, 1);
  view.ViewPt = GLPoint4f(0, 0, 0, 1);
  GLCamera->RotateAboutY(view, 90);
  ExpectPoint(view.Eye, 0, 0, -10);
  ExpectPoint(view.Up, 0, 1, 0);

  // About the line through the view point, whatever it is.
  view.Eye = GLPoint4f(1, 5, 2, 1);
  view.ViewPt = GLPoint4f(1, 2, 2, 1);
  GLCamera->RotateAboutX(view, 90);
  ExpectPoint(view.Eye, 1, 2, 5);
  ExpectPoint(view.Up, 1, 0, 0);
  GLCamera->RotateAboutZ(view, -90);
  ExpectPoint(view.Eye, 1, 2, 5);  // on the Z line through the view point
  ExpectPoint(view.Up, 0, 0, 1);

  // About an axis: right-handed, then Up aligned square to the line of sight.
  view.Eye = GLPoint4f(10, 0, 0, 1);
  view.ViewPt = GLPoint4f(0, 0, 0, 1);
  view.Up = GLPoint4f(0, 1, 0, 0);
  GLCamera->RotateAboutAxis(view, GLPoint4f(0, 5, 0, 0), 90);
  ExpectPoint(view.Eye, 0, 0, -10);
  ExpectPoint(view.Up, 0, 1, 0);
  GLCamera->RotateAboutAxis(view, GLPoint4f(1, 0, 0, 0), 30);
  const TGLVector3f f = VectorFromTo(view.Eye, view.ViewPt);
  EXPECT_NEAR(view.Up.X * f.X + view.Up.Y * f.Y + view.Up.Z * f.Z, 0, 1e-4);
  EXPECT_NEAR(GLVector->VectorLength(view.Up), 1, 1e-5);
}

TEST_F(OpglCameraTest, AlignUpVector) {
  TGLView view = DefaultView();
  view.Eye = GLPoint4f(0, 0, 10, 1);
  view.ViewPt = GLPoint4f(0, 0, 0, 1);
  view.Up = GLPoint4f(0, 2, 5, 0);
  GLCamera->AlignUpVector(view);
  ExpectPoint(view.Up, 0, 1, 0);
  // Up along the line of sight: no plane to align in, the old Up stays usable.
  view.Up = GLPoint4f(0, 0, 3, 0);
  GLCamera->AlignUpVector(view);
  ExpectPoint(view.Up, 0, 0, 3);
}
