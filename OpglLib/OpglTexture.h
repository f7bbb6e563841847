#pragma once
// The texture list: OpenGL texture objects made from pictures.
#include "ManagedSingleton.h"

class TGLTexturer;
extern TGLTexturer* GLTexturer;

class TGLTexturer : public TManagedSingleton<TGLTexturer, &GLTexturer> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLTexturer"); }

 protected:
  const TManagedTraits& Traits() const override;
};
