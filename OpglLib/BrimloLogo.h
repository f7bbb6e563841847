#pragma once
// The two-part logo and the ball, with the shared material state.
#include "ManagedSingleton.h"

class TGLBrimloLogo;
extern TGLBrimloLogo* GLBrimloLogo;

class TGLBrimloLogo : public TManagedSingleton<TGLBrimloLogo, &GLBrimloLogo> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLBrimloLogo"); }

 protected:
  const TManagedTraits& Traits() const override;
};
