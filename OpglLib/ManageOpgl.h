#pragma once
// The render-state manager: the rendering context, the bitmap font, the initial GL state,
// background, blending, world axes and 2-D text.
#include "ManagedSingleton.h"

class TGLManager;
extern TGLManager* GLManager;

class TGLManager : public TManagedSingleton<TGLManager, &GLManager> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLManager"); }

 protected:
  const TManagedTraits& Traits() const override;
};
