#pragma once
// The camera: turns view descriptions into projection, model-view and viewport state, and moves
// and turns them.
#include <QString>
#include <cstdint>

#include "GOpglDefine.h"
#include "ManagedSingleton.h"

enum TProjectionMode : uint8_t { pmOrtho2D = 0, pmOrtho = 1, pmFrustum = 2, pmPerspective = 3 };
enum TViewKind : uint8_t {
  vkUser = 0,
  vkFront = 1,
  vkBack = 2,
  vkRight = 3,
  vkLeft = 4,
  vkTop = 5,
  vkBottom = 6
};
static_assert(sizeof(TProjectionMode) == 1 && sizeof(TViewKind) == 1);

// Indexed by TProjectionMode (a fifth, empty entry follows) and by TViewKind.
extern const QString ProjectionNames[5];
extern const QString ViewNames[7];

// One camera view; the main window owns seven of them.
struct TGLView {
  TProjectionMode Projection = pmPerspective;
  TViewKind Kind = vkUser;
  int32_t X = 0, Y = 0;           // viewport origin, pixels from the bottom-left
  int32_t Width = 1, Height = 1;  // viewport size
  TGLPoint4f Eye{0, 0, 0, 1};
  TGLPoint4f ViewPt{0, 0, 0, 1};  // the point looked at
  TGLPoint4f Up{0, 1, 0, 0};
  float FOV = 52;  // vertical, degrees, for pmPerspective
  float Left = 0, Right = 0, Bottom = 0, Top = 0;
  float Near = 0, Far = 0;
};

// The projection call ApplyView makes for a view: gluOrtho2D(A0..A3), glOrtho or glFrustum
// (A0..A5: left, right, bottom, top, near, far) or gluPerspective (A0..A3: field of view,
// aspect, near, far).
struct TGLProjectionCall {
  TProjectionMode Mode = pmPerspective;
  int Count = 4;
  double A[6] = {0, 0, 0, 0, 0, 0};
};
// The call for View as it stands; a height below 1 counts as 1.
TGLProjectionCall ProjectionCall(const TGLView& View);

class TGLCamera;
extern TGLCamera* GLCamera;

class TGLCamera : public TManagedSingleton<TGLCamera, &GLCamera> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLCamera"); }

  // Perspective, viewport of the primary screen's size, Up aligned, a cube of 2*Size.
  void InitView(TGLView& View, TViewKind Kind, const TGLPoint4f& Eye, const TGLPoint4f& ViewPt,
                float Size);
  // Loads projection and model-view and sets the viewport; the near plane is never below 0.5.
  void ApplyView(TGLView& View);
  // Sizes must lie strictly between 5 and 10000, else nothing changes.
  void SetViewVolume(TGLView& View, float W, float H, float D);
  void SetViewport(TGLView& View, int X, int Y, int Width, int Height);
  // Makes the volume's height-to-width ratio equal the viewport's.
  void FitVolumeToViewport(TGLView& View, int Width, int Height);
  // Stores both points, then puts the eye on the kind's axis at the same distance.
  void SetViewPoints(TGLView& View, const TGLPoint4f& Eye, const TGLPoint4f& ViewPt);
  // The current GL_VIEWPORT.
  void GetViewport(int& X, int& Y, int& Width, int& Height);

  // Eye and view point moved along Up, right (F x Up) or forward (F = ViewPt - Eye).
  void MoveUp(TGLView& View, float Dist);
  void MoveDown(TGLView& View, float Dist);
  void MoveRight(TGLView& View, float Dist);
  void MoveLeft(TGLView& View, float Dist);
  void MoveForward(TGLView& View, float Dist);
  void MoveBackward(TGLView& View, float Dist);
  // Only the eye moves along F.
  void ZoomIn(TGLView& View, float Dist);
  void ZoomOut(TGLView& View, float Dist);
  void MoveAlong(TGLView& View, const TGLVector3f& Dir, float Dist);
  // Eye turned by Angle degrees about the line through ViewPt parallel to the axis; Up := axis.
  void RotateAboutX(TGLView& View, float Angle);
  void RotateAboutY(TGLView& View, float Angle);
  void RotateAboutZ(TGLView& View, float Angle);
  // Eye turned about the line through ViewPt with direction Axis, then Up aligned.
  void RotateAboutAxis(TGLView& View, const TGLPoint4f& Axis, float Angle);
  // Up := Normalize((F x Up) x F).
  void AlignUpVector(TGLView& View);

 protected:
  const TManagedTraits& Traits() const override;
};
