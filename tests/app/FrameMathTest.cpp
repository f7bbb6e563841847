// The window's per-frame arithmetic, checked in numbers: which eye each side view gets, where
// the satellite cube is and which way it turns (read back through OpenGL's feedback mode), and
// which extent of the view volume each volume field shows.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "AppPaths.h"
#include "OpglCamera.h"
#include "Units.h"
#include "WindowFixture.h"
#include "frmOpgl.h"

class FrameMathTest : public WindowFixture {};

namespace {

using TVec = std::array<double, 3>;

// Rotation of P by Degrees about the unit vector along Axis (right-handed, as glRotate).
TVec Rotate(const TVec& P, double Degrees, TVec Axis) {
  const double n = std::sqrt(Axis[0] * Axis[0] + Axis[1] * Axis[1] + Axis[2] * Axis[2]);
  for (double& a : Axis) a /= n;
  const double t = Degrees * M_PI / 180, c = std::cos(t), s = std::sin(t);
  const double dot = Axis[0] * P[0] + Axis[1] * P[1] + Axis[2] * P[2];
  const TVec cross{Axis[1] * P[2] - Axis[2] * P[1], Axis[2] * P[0] - Axis[0] * P[2],
                   Axis[0] * P[1] - Axis[1] * P[0]};
  TVec out{};
  for (int i = 0; i < 3; ++i) out[i] = P[i] * c + cross[i] * s + Axis[i] * dot * (1 - c);
  return out;
}

// The User view's scene as OpenGL transformed it: the feedback buffer of window coordinates
// and the matrices and viewport it was drawn with.
struct TSceneFeedback {
  GLdouble Model[16], Projection[16];
  GLint Viewport[4];
  std::vector<GLfloat> Buffer = std::vector<GLfloat>(1 << 18);
  GLint Used = 0;
};

TSceneFeedback DrawnScene() {
  TSceneFeedback scene;
  Form->pbGL->makeCurrent();
  GLCamera->ApplyView(UserView);
  glGetDoublev(GL_MODELVIEW_MATRIX, scene.Model);
  glGetDoublev(GL_PROJECTION_MATRIX, scene.Projection);
  glGetIntegerv(GL_VIEWPORT, scene.Viewport);
  glFeedbackBuffer(static_cast<GLsizei>(scene.Buffer.size()), GL_3D, scene.Buffer.data());
  glRenderMode(GL_FEEDBACK);
  Form->DrawScene();
  scene.Used = glRenderMode(GL_RENDER);
  return scene;
}

}  // namespace

// Every side view looks at the User view's view point from the User view's distance, from its
// own side: Front from +Z, Back from -Z, Right from +X, Left from -X, Top from +Y, Bottom from -Y.
TEST_F(FrameMathTest, EachSideViewGetsItsOwnEye) {
  Form->ckbxSinglePort->setChecked(false);
  GLCamera->SetViewPoints(UserView, GLPoint4f(3, 4, 12, 1), GLPoint4f(1, 0, 0, 1));
  Frame();  // the frame re-aims the side views
  const double d = std::sqrt(2.0 * 2 + 4 * 4 + 12 * 12);
  const struct {
    const TGLView& View;
    TVec Offset;
  } views[] = {{FrontView, {0, 0, d}}, {BackView, {0, 0, -d}}, {RightView, {d, 0, 0}},
               {LeftView, {-d, 0, 0}}, {TopView, {0, d, 0}},   {BottomView, {0, -d, 0}}};
  for (const auto& v : views) {
    SCOPED_TRACE(v.View.Kind);
    EXPECT_NEAR(v.View.ViewPt.X, 1, 1e-5);
    EXPECT_NEAR(v.View.ViewPt.Y, 0, 1e-5);
    EXPECT_NEAR(v.View.ViewPt.Z, 0, 1e-5);
    EXPECT_NEAR(v.View.Eye.X, 1 + v.Offset[0], 1e-4);
    EXPECT_NEAR(v.View.Eye.Y, v.Offset[1], 1e-4);
    EXPECT_NEAR(v.View.Eye.Z, v.Offset[2], 1e-4);
  }
  // The User view itself keeps its eye.
  EXPECT_FLOAT_EQ(UserView.Eye.Z, 12);
  Form->ResetViews();
}

// The cube orbits at radius 12 in the XZ plane (at angle A it sits at (12 cos A, 0, 12 sin A))
// and turns by -A about (1, 1, 1). Its corners, as OpenGL transformed them, are compared with
// the same placement worked out here.
TEST_F(FrameMathTest, SatelliteCubeOrbitsAndTurnsTheStatedWay) {
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>()) box->setChecked(false);
  Form->ckbxShowCube->setChecked(true);
  Form->ckbxSinglePort->setChecked(true);
  CurrentView = &UserView;
  Form->ResetViews();
  Form->FObjectScale = 1.5f;
  for (const float angle : {30.0f, 117.0f}) {
    SCOPED_TRACE(angle);
    Form->FAngle = angle;
    const TSceneFeedback scene = DrawnScene();
    const GLdouble *model = scene.Model, *projection = scene.Projection;
    const GLint* viewport = scene.Viewport;
    const std::vector<GLfloat>& feedback = scene.Buffer;
    const GLint used = scene.Used;
    ASSERT_GT(used, 0);

    // Where each corner of the cube (side 4, scaled) should land in the window.
    const double a = angle * M_PI / 180;
    std::vector<TVec> expected;
    for (int corner = 0; corner < 8; ++corner) {
      TVec p{corner & 1 ? 2.0 : -2.0, corner & 2 ? 2.0 : -2.0, corner & 4 ? 2.0 : -2.0};
      for (double& c : p) c *= 1.5;
      p = Rotate(p, -angle, {1, 1, 1});
      p[0] += 12 * std::cos(a);
      p[2] += 12 * std::sin(a);
      TVec w{};
      gluProject(p[0], p[1], p[2], model, projection, viewport, &w[0], &w[1], &w[2]);
      expected.push_back(w);
    }
    int polygons = 0, matched = 0, vertices = 0;
    std::set<std::size_t> corners;
    for (GLint i = 0; i < used;) {
      const auto token = static_cast<GLenum>(feedback[static_cast<std::size_t>(i++)]);
      ASSERT_EQ(token, static_cast<GLenum>(GL_POLYGON_TOKEN)) << "only the cube is drawn";
      const int n = static_cast<int>(feedback[static_cast<std::size_t>(i++)]);
      ++polygons;
      for (int k = 0; k < n; ++k, i += 3) {
        const GLfloat* v = &feedback[static_cast<std::size_t>(i)];
        // Corners that clipping made lie on the viewport's edges or the depth range's ends.
        const auto onEdge = [](double X, double Low, double High) {
          return std::abs(X - Low) < 1e-3 || std::abs(X - High) < 1e-3;
        };
        if (onEdge(v[0], viewport[0], viewport[0] + viewport[2]) ||
            onEdge(v[1], viewport[1], viewport[1] + viewport[3]) || onEdge(v[2], 0, 1))
          continue;
        ++vertices;
        for (std::size_t e = 0; e < expected.size(); ++e)
          if (std::abs(v[0] - expected[e][0]) < 0.05 && std::abs(v[1] - expected[e][1]) < 0.05) {
            ++matched;
            corners.insert(e);
            break;
          }
      }
    }
    EXPECT_GE(polygons, 3);
    EXPECT_GE(corners.size(), 4u);  // enough of the cube is in view to tell its turn
    EXPECT_EQ(matched, vertices);
  }
  Form->FAngle = 0;
  Form->FObjectScale = 1;
}

// Width, height and depth of the current view's volume go to their own fields.
TEST_F(FrameMathTest, VolumeFieldsShowTheirOwnExtent) {
  CurrentView = &UserView;
  const TGLView saved = UserView;
  UserView.Left = -30;
  UserView.Right = 30;
  UserView.Bottom = -20;
  UserView.Top = 20;
  UserView.Near = 2;
  UserView.Far = 12;
  Form->RefreshPanel();
  EXPECT_EQ(Form->edVW->text(), QStringLiteral("60.00"));
  EXPECT_EQ(Form->edVH->text(), QStringLiteral("40.00"));
  EXPECT_EQ(Form->edVD->text(), QStringLiteral("10.00"));
  UserView = saved;
  Form->RefreshPanel();
}

// "Sym V" and "Reflect V" draw the operands and the result as lines from the origin: read back
// through feedback, the P1 line ends at P1 (at -P1 for the reflection) and the result line at
// the mirrored vector, worked out here from the operands.
TEST_F(FrameMathTest, SymmetricAndReflectedVectorsAreDrawnWhereTheyPoint) {
  ShowOnly({Form->ckbxShowPts});
  Form->ckbxSinglePort->setChecked(true);
  CurrentView = &UserView;
  Form->ResetViews();
  Form->LayoutViewports();
  Form->edX1->setText(QStringLiteral("3.0"));
  Form->edy1->setText(QStringLiteral("1.0"));
  Form->edz1->setText(QStringLiteral("2.0"));
  Form->edx2->setText(QStringLiteral("0.0"));
  Form->edy2->setText(QStringLiteral("4.0"));
  Form->edz2->setText(QStringLiteral("0.0"));
  // P1 = (3, 1, 2), P2 = (0, 4, 0): P1.P2 / |P2|^2 = 1/4, so its projection on P2 is (0, 1, 0).
  const struct {
    int Op;
    TVec P1End, Result, Other;
  } cases[] = {{5, {3, 1, 2}, {-3, 1, -2}, {3, -1, 2}},      // 2 (0, 1, 0) - P1
               {6, {-3, -1, -2}, {3, -1, 2}, {-3, 1, -2}}};  // P1 - 2 (0, 1, 0)
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Op);
    Form->rdgpVecOp->SetItemIndex(c.Op);
    ASSERT_TRUE(Form->ckbxShowPts->isChecked());
    const TSceneFeedback scene = DrawnScene();
    const GLdouble *model = scene.Model, *projection = scene.Projection;
    const GLint* viewport = scene.Viewport;
    const std::vector<GLfloat>& feedback = scene.Buffer;
    const GLint used = scene.Used;
    ASSERT_GT(used, 0);
    // The far ends of the lines drawn (every line starts at the origin).
    TVec origin{};
    gluProject(0, 0, 0, model, projection, viewport, &origin[0], &origin[1], &origin[2]);
    std::vector<TVec> ends;
    for (GLint i = 0; i < used;) {
      const auto token = static_cast<GLenum>(feedback[static_cast<std::size_t>(i++)]);
      if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
        for (int k = 0; k < 2; ++k, i += 3) {
          const GLfloat* v = &feedback[static_cast<std::size_t>(i)];
          if (std::abs(v[0] - origin[0]) > 0.5 || std::abs(v[1] - origin[1]) > 0.5)
            ends.push_back({v[0], v[1], v[2]});
        }
      } else if (token == GL_POLYGON_TOKEN) {
        i += 3 * static_cast<int>(feedback[static_cast<std::size_t>(i)]) + 1;
      } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                 token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
        i += 3;
      } else {
        ++i;  // a pass-through token carries one value
      }
    }
    const auto drawn = [&](const TVec& P) {
      TVec w{};
      gluProject(P[0], P[1], P[2], model, projection, viewport, &w[0], &w[1], &w[2]);
      for (const TVec& e : ends)
        if (std::abs(e[0] - w[0]) < 0.05 && std::abs(e[1] - w[1]) < 0.05) return true;
      return false;
    };
    EXPECT_TRUE(drawn(c.P1End));
    EXPECT_TRUE(drawn({0, 4, 0}));  // P2
    EXPECT_TRUE(drawn(c.Result));
    // Nor the other operation's line, nor P1 on the wrong side.
    EXPECT_FALSE(drawn({-c.P1End[0], -c.P1End[1], -c.P1End[2]}));
    EXPECT_FALSE(drawn(c.Other));
    EXPECT_EQ(ends.size(), 3u);
  }
  Form->rdgpVecOp->SetItemIndex(0);
  Form->ckbxSinglePort->setChecked(false);
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}
