#pragma once
// The camera: turns view descriptions into projection, model-view and viewport state, and moves
// and turns them.
#include "ManagedSingleton.h"

class TGLCamera;
extern TGLCamera* GLCamera;

class TGLCamera : public TManagedSingleton<TGLCamera, &GLCamera> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLCamera"); }

 protected:
  const TManagedTraits& Traits() const override;
};
