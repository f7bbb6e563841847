#pragma once
// The render-state manager: the rendering context, the bitmap font, the initial GL state,
// background, blending, world axes and 2-D text.
#include <QString>
#include <QSurfaceFormat>
#include <cstdint>
#include <functional>

#include "GOpglDefine.h"
#include "ManagedSingleton.h"

class QOpenGLWidget;
class QOpenGLContext;
class QWidget;
class QSurface;

// A palette handle; true-colour visuals never need one, so it stays 0.
using TGLPalette = uintptr_t;

// The one rendering surface: the GL widget, its surface, its context, and no palette.
struct TGLRenderContext {
  QWidget* Window = nullptr;
  QSurface* DC = nullptr;
  QOpenGLContext* RC = nullptr;
  TGLPalette Palette = 0;
};

class TGLManager;
extern TGLManager* GLManager;

class TGLManager : public TManagedSingleton<TGLManager, &GLManager> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLManager"); }

  void InitMembers() override;
  void InitIdentity() override;
  void FreeMembers() override;

  // Asks Window for double-buffered RGBA with 24 colour bits and 32 depth bits in a
  // compatibility context. A widget's format is fixed when it is first shown, so the main
  // window calls this when it creates its GL surface, before showing it.
  static void SetupPixelFormat(QOpenGLWidget* Window);
  static QSurfaceFormat PixelFormat();

  // Takes the context of a shown Window (closest format the driver gave), makes it current,
  // builds the font, sets the initial state and reads the stack depths. False on any failure
  // (no message); false with Ctx untouched for a null Window.
  bool CreateRenderContext(QOpenGLWidget* Window, TGLRenderContext& Ctx);
  // The same for a widget with a context of its own, made current (its framebuffer bound)
  // by MakeCurrent; Context null while there is none.
  bool CreateRenderContext(QWidget* Window, QOpenGLContext* Context,
                           const std::function<void()>& MakeCurrent, TGLRenderContext& Ctx);
  // Deletes the font lists and clears DC, RC and Palette; Window stays.
  void ReleaseRenderContext(TGLRenderContext& Ctx);
  // Number of palette entries mapped: 0 for a true-colour visual.
  int RealizeGLPalette(QSurface* DC, TGLPalette Palette);
  void UpdateGLPalette(QSurface* DC, TGLPalette Palette);

  // The implementation strings; empty when GL returns nothing.
  QString GetGLVendor() const;
  QString GetGLRenderer() const;
  QString GetGLVersion() const;
  QString GetGLExtensions() const;

  void ReadStackDepths();
  void InitGLState();
  // Clear colour R, G, B of Color with alpha 0.5.
  void SetCanvasColor(TColor Color);
  void ClearBuffers();
  void SetBlend(bool Value);
  // Size 0 or less gives 1.
  void SetLineWidth(int Size);
  void SetPointSize(int Size);
  void DrawWorldAxis();
  // Dashed positive axes and, with FShowXZPlane, the three plane squares. Restores line width,
  // stipple, polygon mode, blending and colour material; leaves the blend function at
  // (GL_SRC_ALPHA, GL_SRC_ALPHA).
  void DrawAxis(float Length);
  // Text in the bitmap font at (X, Y) pixels from the lower-left corner, in FFontColor.
  // Leaves 2-D texturing on.
  void DrawText2D(int X, int Y, const QString& Text);
  TColor GetFontColor() const;
  // Alpha becomes 0.5.
  void SetFontColor(TColor Color);
  // 96 display lists of bold 16-pixel "Arial" glyphs for the characters 32..127.
  void BuildFont(QSurface* DC);
  void DeleteFont();

  TGLRenderContext FRenderContext;
  uint32_t FFontListBase = 0;
  TGLColor4f FFontColor{0.8f, 0.8f, 0.0f, 1.0f};
  TColor FCanvasColor = 0;
  bool FBlend = false;
  int32_t FMaxModelviewStack = 0;
  int32_t FMaxTextureStack = 0;
  int32_t FMaxProjectionStack = 0;
  int32_t FMaxColorStack = 0;
  float FAxisLength = 20.0f;
  bool FShowXZPlane = true;

 protected:
  const TManagedTraits& Traits() const override;
  void ReadOwnSettings(TIniFile& Ini) override;
  void WriteOwnSettings(TIniFile& Ini) override;

 private:
  // The context the font lists were built in.
  QOpenGLContext* FFontContext = nullptr;
};
