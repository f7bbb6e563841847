// The scene of one view: the items of "Display Options" in their fixed order, and the window's
// own items (satellite cube, view volume, eye line, points and vectors).
#include <GL/gl.h>
#include <GL/glu.h>

#include <QCheckBox>
#include <cmath>

#include "BrimloLogo.h"
#include "GLCallsHook.h"
#include "GOpglVariable.h"
#include "HandModel.h"
#include "MaterialDefine.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "RobotModel.h"
#include "Vector3D.h"
#include "frmOpgl.h"

namespace {

constexpr float Pi = 3.14159265358979f;

void MaterialColor(GLenum Face, GLenum Param, const TGLColor4f& Color) {
  glMaterialfv(Face, Param, &Color.R);
}

}  // namespace

void TMainForm::DrawScene() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 20);

  if (GLCallsHook) GLCallsHook->LightPassBegins();
  GLLighter->DrawLights(LightAngles, ckbxRotateLight->isChecked(), ckbxShowLights->isChecked());
  if (GLCallsHook) GLCallsHook->LightPassEnds();

  switch (ObjectPolygonMode) {
    case 0:
      GLManager->SetPointSize(10);
      glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
      break;
    case 1:
      GLManager->SetLineWidth(3);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      break;
    default:
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
  }

  if (ckbxShowFrame->isChecked()) {
    GLBrimloLogo->DrawLogoFrame(FAngle);
    GLBrimloLogo->DrawLogoHexagons(FAngle);
  }
  if (ckbxShowBall->isChecked()) GLBrimloLogo->DrawBall();
  if (ckbxShowCube->isChecked()) {
    glPushMatrix();
    const float a = FAngle * Pi / 180;
    glTranslatef(12 * std::cos(a), 0, 12 * std::sin(a));
    glRotatef(-FAngle, 1, 1, 1);
    glEnable(GL_NORMALIZE);
    glScalef(FObjectScale, FObjectScale, FObjectScale);
    DrawSatelliteCube();
    glPopMatrix();
  }
  if (ckbxShowWorldAxis->isChecked()) GLManager->DrawWorldAxis();
  if (ckbxShowEyeLine->isChecked()) DrawEyeLine();
  if (ckbxShowVolume->isChecked()) DrawViewVolume();
  if (ckbxShowPts->isChecked()) DrawPointsAndVectors();

  // The meshes wear the preset material, whatever the colour-material switch says.
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  glDisable(GL_COLOR_MATERIAL);
  if (ckbxHand->isChecked()) {
    ApplyPresetMaterial(GLBrimloLogo->FPresetMaterial);
    glPushMatrix();
    glRotatef(FAngle, 0.5f, 0.7f, 0.5f);
    DrawHand();
    glPopMatrix();
  }
  if (ckbxRobot->isChecked()) {
    ApplyPresetMaterial(GLBrimloLogo->FPresetMaterial);
    glPushMatrix();
    glRotatef(-90, 1, 0, 0);
    glRotatef(FAngle, 0, 0, 1);
    DrawRobot();
    glPopMatrix();
  }
  if (GLCallsHook) GLCallsHook->ObjectsDrawn();
  if (colorMaterial) glEnable(GL_COLOR_MATERIAL);
}

void TMainForm::DrawSatelliteCube() {
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  glDisable(GL_COLOR_MATERIAL);
  MaterialColor(GL_FRONT_AND_BACK, GL_AMBIENT, clGLBlack);
  MaterialColor(GL_FRONT_AND_BACK, GL_DIFFUSE, GLColor4f(1, 1, 0, 0.5f));
  MaterialColor(GL_FRONT_AND_BACK, GL_SPECULAR, clGLWhite);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, ShininessHigh);
  MaterialColor(GL_FRONT_AND_BACK, GL_EMISSION, clGLGray);

  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  const bool texturing = glIsEnabled(GL_TEXTURE_2D);
  glEnable(GL_TEXTURE_2D);
  const bool autoCoords = ckbxAutoGenTexture->isChecked();
  if (autoCoords) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
  }
  // The selection decides, not the current row: tabbing into the list selects nothing.
  if (const int selected = lbxTextures->ItemIndex(); selected >= 0)
    if (const TGLTexture* texture = GLTexturer->GetTexture(selected))
      glBindTexture(GL_TEXTURE_2D, texture->TextureID);

  struct TCorner {
    float X, Y, Z, S, T;
  };
  struct TFace {
    float NX, NY, NZ;
    TCorner C[4];
  };
  static constexpr TFace Faces[6] = {
      {0, 0, 1, {{2, 2, 2, 1, 1}, {-2, 2, 2, 0, 1}, {-2, -2, 2, 0, 0}, {2, -2, 2, 1, 0}}},
      {0, 0, -1, {{2, 2, -2, 0, 1}, {2, -2, -2, 0, 0}, {-2, -2, -2, 1, 0}, {-2, 2, -2, 1, 1}}},
      {-1, 0, 0, {{-2, 2, 2, 1, 1}, {-2, 2, -2, 0, 1}, {-2, -2, -2, 0, 0}, {-2, -2, 2, 1, 0}}},
      {1, 0, 0, {{2, 2, 2, 0, 1}, {2, -2, 2, 0, 0}, {2, -2, -2, 1, 0}, {2, 2, -2, 1, 1}}},
      {0, 1, 0, {{-2, 2, -2, 0, 1}, {-2, 2, 2, 0, 0}, {2, 2, 2, 1, 0}, {2, 2, -2, 1, 1}}},
      {0, -1, 0, {{-2, -2, -2, 0, 0}, {2, -2, -2, 1, 0}, {2, -2, 2, 1, 1}, {-2, -2, 2, 0, 1}}}};
  glPushMatrix();
  for (const TFace& face : Faces) {
    glBegin(GL_POLYGON);
    glNormal3f(face.NX, face.NY, face.NZ);
    for (const TCorner& c : face.C) {
      if (!autoCoords) glTexCoord2f(c.S, c.T);
      glVertex3f(c.X, c.Y, c.Z);
    }
    glEnd();
  }
  glPopMatrix();

  if (colorMaterial) {
    glEnable(GL_COLOR_MATERIAL);
    MaterialColor(GL_FRONT, GL_EMISSION, clGLBlack);
  }
  if (!texturing) glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT, modes[0]);
  glPolygonMode(GL_BACK, modes[1]);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
}

void TMainForm::DrawViewVolume() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50);
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  switch (VolumePolygonMode) {
    case 0:
      glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
      break;
    case 1:
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      break;
    default:
      glPolygonMode(GL_BACK, GL_FILL);
      glPolygonMode(GL_FRONT, GL_LINE);
      break;
  }
  const bool blending = glIsEnabled(GL_BLEND);
  if (ckbxBlend->isChecked()) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
  }

  const TGLView& u = UserView;
  const float WX = std::fabs(u.Right - u.Left), WY = std::fabs(u.Top - u.Bottom),
              WZ = std::fabs(u.Far - u.Near);
  // 98 % of the volume, so the box stays inside the clip planes.
  const float HX = WX / 2 - WX * 0.01f, HY = WY / 2 - WY * 0.01f, HZ = WZ / 2 - WZ * 0.01f;
  const float cx = u.ViewPt.X, cy = u.ViewPt.Y, cz = u.ViewPt.Z;
  const float x0 = cx - HX, x1 = cx + HX, y0 = cy - HY, y1 = cy + HY, z0 = cz - HZ, z1 = cz + HZ;
  static constexpr float ColY[3] = {0, 0.2f, 0}, ColX[3] = {0.2f, 0, 0}, ColZ[3] = {0, 0, 0.2f};

  glPushMatrix();
  glBegin(GL_QUADS);
  glColor3fv(ColY);  // +Y
  glNormal3f(0, -1, 0);
  glVertex3f(x0, y1, z0);
  glVertex3f(x0, y1, z1);
  glVertex3f(x1, y1, z1);
  glVertex3f(x1, y1, z0);
  glColor3fv(ColX);  // -X
  glNormal3f(1, 0, 0);
  glVertex3f(x0, y0, z0);
  glVertex3f(x0, y0, z1);
  glVertex3f(x0, y1, z1);
  glVertex3f(x0, y1, z0);
  glColor3fv(ColY);  // -Y
  glNormal3f(0, 1, 0);
  glVertex3f(x0, y0, z0);
  glVertex3f(x1, y0, z0);
  glVertex3f(x1, y0, z1);
  glVertex3f(x0, y0, z1);
  glColor3fv(ColX);  // +X
  glNormal3f(-1, 0, 0);
  glVertex3f(x1, y0, z0);
  glVertex3f(x1, y1, z0);
  glVertex3f(x1, y1, z1);
  glVertex3f(x1, y0, z1);
  glColor3fv(ColZ);  // +Z
  glNormal3f(0, 0, -1);
  glVertex3f(x0, y0, z1);
  glVertex3f(x1, y0, z1);
  glVertex3f(x1, y1, z1);
  glVertex3f(x0, y1, z1);
  glColor3fv(ColZ);  // -Z
  glNormal3f(0, 0, 1);
  glVertex3f(x0, y0, z0);
  glVertex3f(x0, y1, z0);
  glVertex3f(x1, y1, z0);
  glVertex3f(x1, y0, z0);
  glEnd();
  glPopMatrix();

  glPolygonMode(GL_FRONT_AND_BACK, modes[0]);
  if (!blending) glDisable(GL_BLEND);
}

void TMainForm::DrawEyeLine() {
  const TGLView& u = UserView;
  glPushMatrix();
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(5, 0xECEC);
  glColor3f(1, 1, 1);
  glBegin(GL_LINES);
  glVertex3f(u.Eye.X, u.Eye.Y, u.Eye.Z);
  glVertex3f(u.ViewPt.X, u.ViewPt.Y, u.ViewPt.Z);
  glEnd();
  for (const TGLPoint4f* p : {&u.Eye, &u.ViewPt}) {
    glPushMatrix();
    glTranslatef(p->X, p->Y, p->Z);
    gluSphere(GLQuadric, 0.3, 5, 5);
    glPopMatrix();
  }
  glDisable(GL_LINE_STIPPLE);
  glPopMatrix();
}

void TMainForm::DrawPointsAndVectors() {
  const TGLColor4f C1 = GLLighter->ColorToGLColor(stPt1->Color());
  const TGLColor4f C2 = GLLighter->ColorToGLColor(stPt2->Color());
  const TGLColor4f CV = GLLighter->ColorToGLColor(stVec->Color());
  TGLPoint4f P = Point1;
  const TGLPoint4f Q = Point2;
  const int op = rdgpVecOp->ItemIndex();

  auto ball = [](float X, float Y, float Z) {
    glPushMatrix();
    glTranslatef(X, Y, Z);
    gluSphere(GLQuadric, 1.0, 5, 5);
    glPopMatrix();
  };
  auto line = [](const TGLColor4f& C, float X0, float Y0, float Z0, float X1, float Y1, float Z1) {
    glColor4fv(&C.R);
    glBegin(GL_LINES);
    glVertex3f(X0, Y0, Z0);
    glVertex3f(X1, Y1, Z1);
    glEnd();
  };

  glPushMatrix();
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(2, 0xAAAA);
  GLint width = 1;
  glGetIntegerv(GL_LINE_WIDTH, &width);
  glLineWidth(2);

  if (op == 6) {
    const TGLVector3f n = GLVector->Negate(P);
    P.X = n.X;
    P.Y = n.Y;
    P.Z = n.Z;
  }
  line(C1, 0, 0, 0, P.X, P.Y, P.Z);
  ball(P.X, P.Y, P.Z);
  line(C2, 0, 0, 0, Q.X, Q.Y, Q.Z);
  ball(Q.X, Q.Y, Q.Z);
  glDisable(GL_LINE_STIPPLE);

  bool result = true;
  TGLVector3f R{};
  switch (op) {
    case 0:
    case 4:
      line(CV, P.X, P.Y, P.Z, Q.X, Q.Y, Q.Z);
      result = false;
      break;
    case 3:
      R = GLVector->SetVectorLength(GLVector->CrossProduct(P, Q), 6);
      break;
    case 5:
      R = GLVector->SymmetricVector(P, Q);
      break;
    case 6:
      R = GLVector->ReflectVector(Point1, Point2);
      break;
    case 7: {
      TGLPoint4f turned = Point1;
      GLVector->RotateAboutNormal(turned, GLPoint4f(0, 0, 0, 1), Point2, 1.5707964f);
      R = GLVector3f(turned.X, turned.Y, turned.Z);
      break;
    }
    default:
      result = false;
      break;
  }
  if (result) {
    line(CV, 0, 0, 0, R.X, R.Y, R.Z);
    ball(R.X, R.Y, R.Z);
  }

  glLineWidth(static_cast<GLfloat>(width));
  glPopMatrix();
}
