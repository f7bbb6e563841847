#pragma once
// The light table: eight lights, their records and their drawing.
#include "ManagedSingleton.h"

class TGLLighter;
extern TGLLighter* GLLighter;

class TGLLighter : public TManagedSingleton<TGLLighter, &GLLighter> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLLighter"); }

 protected:
  const TManagedTraits& Traits() const override;
};
