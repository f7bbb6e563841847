#include "OpglCamera.h"

#include <GL/glu.h>

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "Vector3D.h"

TGLCamera* GLCamera = nullptr;

const QString ProjectionNames[5] = {QStringLiteral("Ortho2D"), QStringLiteral("Ortho"),
                                    QStringLiteral("Frustum"), QStringLiteral("Perspective"),
                                    QString()};
const QString ViewNames[7] = {QStringLiteral("User"),  QStringLiteral("Front"),
                              QStringLiteral("Back"),  QStringLiteral("Right"),
                              QStringLiteral("Left"),  QStringLiteral("Top"),
                              QStringLiteral("Bottom")};

namespace {
const TManagedTraits GLCameraTraits{"OpglCamera", "mGLCamera", true, true, true, true, true, true};

// The near plane handed to GL never comes closer than this.
constexpr double MinNearPlane = 0.5;

QSize ScreenSize() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
  return QSize(640, 480);
}

TGLPoint4f AsPoint(const TGLVector3f& V) {
  return {V.X, V.Y, V.Z, 0};
}

void SetXYZ(TGLPoint4f& P, float X, float Y, float Z) {
  P.X = X;
  P.Y = Y;
  P.Z = Z;
}

// The line of sight, from the eye to the view point.
TGLVector3f Forward(const TGLView& View) {
  return VectorFromTo(View.Eye, View.ViewPt);
}

void MoveBoth(TGLView& View, const TGLVector3f& Dir, float Dist) {
  GLVector->MovePoint(View.Eye, Dir, Dist);
  GLVector->MovePoint(View.ViewPt, Dir, Dist);
}
}  // namespace

const TManagedTraits& TGLCamera::Traits() const {
  return GLCameraTraits;
}

void TGLCamera::InitView(TGLView& View, TViewKind Kind, const TGLPoint4f& Eye,
                         const TGLPoint4f& ViewPt, float Size) {
  const TGLPoint4f eye = Eye, viewPt = ViewPt;
  View.Projection = pmPerspective;
  View.Kind = Kind;
  const QSize screen = ScreenSize();
  View.X = 0;
  View.Y = 0;
  View.Width = screen.width();
  View.Height = screen.height();
  SetXYZ(View.Eye, eye.X, eye.Y, eye.Z);
  SetXYZ(View.ViewPt, viewPt.X, viewPt.Y, viewPt.Z);
  SetXYZ(View.Up, 0, 1, 0);
  View.FOV = 52;
  AlignUpVector(View);
  SetViewVolume(View, 2 * Size, 2 * Size, 2 * Size);
}

TGLProjectionCall ProjectionCall(const TGLView& View) {
  TGLProjectionCall call;
  call.Mode = View.Projection;
  const double n = View.Near >= MinNearPlane ? double(View.Near) : MinNearPlane;
  const int height = View.Height < 1 ? 1 : View.Height;
  switch (View.Projection) {
    case pmOrtho2D:
      call = {pmOrtho2D, 4, {View.Left, View.Right, View.Bottom, View.Top, 0, 0}};
      break;
    case pmOrtho:
    case pmFrustum:
      call = {View.Projection, 6, {View.Left, View.Right, View.Bottom, View.Top, n, View.Far}};
      break;
    case pmPerspective:
      call = {pmPerspective, 4, {View.FOV, double(View.Width) / double(height), n, View.Far, 0, 0}};
      break;
  }
  return call;
}

void TGLCamera::ApplyView(TGLView& View) {
  if (View.Height < 1) View.Height = 1;
  const TGLProjectionCall call = ProjectionCall(View);
  const double* a = call.A;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  switch (call.Mode) {
    case pmOrtho2D:
      gluOrtho2D(a[0], a[1], a[2], a[3]);
      break;
    case pmOrtho:
      glOrtho(a[0], a[1], a[2], a[3], a[4], a[5]);
      break;
    case pmFrustum:
      glFrustum(a[0], a[1], a[2], a[3], a[4], a[5]);
      break;
    case pmPerspective:
      gluPerspective(a[0], a[1], a[2], a[3]);
      break;
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(View.Eye.X, View.Eye.Y, View.Eye.Z, View.ViewPt.X, View.ViewPt.Y, View.ViewPt.Z,
            View.Up.X, View.Up.Y, View.Up.Z);
  glViewport(View.X, View.Y, View.Width, View.Height);
}

void TGLCamera::SetViewVolume(TGLView& View, float W, float H, float D) {
  // Also refuses NaN, which compares false both ways.
  if (!(W > 5 && W < 10000 && H > 5 && H < 10000 && D > 5 && D < 10000)) return;
  const float l = GLVector->Distance(View.Eye, View.ViewPt);
  float across = W, up = H, depth = D;
  float centreX = View.ViewPt.X, centreY = View.ViewPt.Y;
  switch (View.Kind) {
    case vkRight:
    case vkLeft:
      across = D;
      depth = W;
      centreX = View.ViewPt.Z;
      break;
    case vkTop:
    case vkBottom:
      up = D;
      depth = H;
      centreY = View.ViewPt.Z;
      break;
    default:
      break;
  }
  View.Left = centreX - across / 2;
  View.Right = centreX + across / 2;
  View.Bottom = centreY - up / 2;
  View.Top = centreY + up / 2;
  View.Near = l - depth / 2;
  View.Far = View.Near + depth;
}

void TGLCamera::SetViewport(TGLView& View, int X, int Y, int Width, int Height) {
  View.X = X;
  View.Y = Y;
  View.Width = Width < 1 ? 1 : Width;
  View.Height = Height < 1 ? 1 : Height;
  FitVolumeToViewport(View, View.Width, View.Height);
}

void TGLCamera::FitVolumeToViewport(TGLView& View, int Width, int Height) {
  const double w = Width < 1 ? 1 : Width;
  const double h = Height < 1 ? 1 : Height;
  double bw = double(View.Right) - View.Left;
  double bh = double(View.Top) - View.Bottom;
  if (bh / w <= h / bw)
    bh = bw * (h / w);
  else
    bw = bh * (w / h);
  const double depth = double(View.Far) - View.Near;
  // Hand the screen extents back as the world sizes they came from, so side and top views
  // keep their depth along the line of sight.
  switch (View.Kind) {
    case vkRight:
    case vkLeft:
      SetViewVolume(View, float(depth), float(bh), float(bw));
      break;
    case vkTop:
    case vkBottom:
      SetViewVolume(View, float(bw), float(depth), float(bh));
      break;
    default:
      SetViewVolume(View, float(bw), float(bh), float(depth));
      break;
  }
}

void TGLCamera::SetViewPoints(TGLView& View, const TGLPoint4f& Eye, const TGLPoint4f& ViewPt) {
  const TGLPoint4f eye = Eye, viewPt = ViewPt;
  View.Eye = eye;
  View.ViewPt = viewPt;
  const float l = GLVector->Distance(eye, viewPt);
  float dx = 0, dy = 0, dz = 0;
  bool topDown = false;
  switch (View.Kind) {
    case vkUser:
      return;
    case vkFront:
      dz = l;
      break;
    case vkBack:
      dz = -l;
      break;
    case vkRight:
      dx = l;
      break;
    case vkLeft:
      dx = -l;
      break;
    case vkTop:
      dy = l;
      topDown = true;
      break;
    case vkBottom:
      dy = -l;
      topDown = true;
      break;
  }
  View.Eye = {viewPt.X + dx, viewPt.Y + dy, viewPt.Z + dz, viewPt.W};
  if (topDown)
    SetXYZ(View.Up, 0, 0, -1);
  else
    SetXYZ(View.Up, 0, 1, 0);
}

void TGLCamera::GetViewport(int& X, int& Y, int& Width, int& Height) {
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  X = viewport[0];
  Y = viewport[1];
  Width = viewport[2];
  Height = viewport[3];
}

void TGLCamera::MoveUp(TGLView& View, float Dist) {
  MoveBoth(View, GLVector3f(View.Up.X, View.Up.Y, View.Up.Z), Dist);
}

void TGLCamera::MoveDown(TGLView& View, float Dist) {
  MoveUp(View, -Dist);
}

void TGLCamera::MoveRight(TGLView& View, float Dist) {
  MoveBoth(View, GLVector->CrossProduct(AsPoint(Forward(View)), View.Up), Dist);
}

void TGLCamera::MoveLeft(TGLView& View, float Dist) {
  MoveRight(View, -Dist);
}

void TGLCamera::MoveForward(TGLView& View, float Dist) {
  MoveBoth(View, Forward(View), Dist);
}

void TGLCamera::MoveBackward(TGLView& View, float Dist) {
  MoveForward(View, -Dist);
}

void TGLCamera::ZoomIn(TGLView& View, float Dist) {
  GLVector->MovePoint(View.Eye, Forward(View), Dist);
}

void TGLCamera::ZoomOut(TGLView& View, float Dist) {
  ZoomIn(View, -Dist);
}

void TGLCamera::MoveAlong(TGLView& View, const TGLVector3f& Dir, float Dist) {
  MoveBoth(View, Dir, Dist);
}

void TGLCamera::RotateAboutX(TGLView& View, float Angle) {
  GLVector->RotatePointX(View.Eye, View.ViewPt, GLVector->DegToRad(Angle));
  SetXYZ(View.Up, 1, 0, 0);
}

void TGLCamera::RotateAboutY(TGLView& View, float Angle) {
  GLVector->RotatePointY(View.Eye, View.ViewPt, GLVector->DegToRad(Angle));
  SetXYZ(View.Up, 0, 1, 0);
}

void TGLCamera::RotateAboutZ(TGLView& View, float Angle) {
  GLVector->RotatePointZ(View.Eye, View.ViewPt, GLVector->DegToRad(Angle));
  SetXYZ(View.Up, 0, 0, 1);
}

void TGLCamera::RotateAboutAxis(TGLView& View, const TGLPoint4f& Axis, float Angle) {
  const TGLPoint4f axis = Axis;
  GLVector->RotateAboutNormal(View.Eye, View.ViewPt, axis, GLVector->DegToRad(Angle));
  AlignUpVector(View);
}

void TGLCamera::AlignUpVector(TGLView& View) {
  const TGLVector3f f = Forward(View);
  const TGLVector3f side = GLVector->CrossProduct(AsPoint(f), View.Up);
  const TGLVector3f up = GLVector->Normalize(GLVector->CrossProduct(side, f));
  // With Up along the line of sight (or eye on the view point) there is no plane to align in;
  // the old Up stays instead of becoming NaN.
  if (!std::isfinite(up.X) || !std::isfinite(up.Y) || !std::isfinite(up.Z)) return;
  SetXYZ(View.Up, up.X, up.Y, up.Z);
}
