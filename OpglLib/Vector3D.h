#pragma once
// 3-D vector arithmetic: distances, angles, products, mirrored vectors, moves and rotations.
#include "ManagedSingleton.h"

class TGLVector;
extern TGLVector* GLVector;

class TGLVector : public TManagedSingleton<TGLVector, &GLVector> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLVector"); }

 protected:
  const TManagedTraits& Traits() const override;
};
