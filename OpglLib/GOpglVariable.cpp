#include "GOpglVariable.h"

#include <cfenv>

TGLPoint4f GLOrigin{0, 0, 0, 1};
GLUquadric* GLQuadric = nullptr;

void MaskFPUExceptions() {
  fedisableexcept(FE_ALL_EXCEPT);
  std::fesetround(FE_TONEAREST);
}

void InitGOpglVariable() {
  GLOrigin = GLPoint4f(0, 0, 0, 1);
  if (!GLQuadric) GLQuadric = gluNewQuadric();
}

void DoneGOpglVariable() {
  if (GLQuadric) gluDeleteQuadric(GLQuadric);
  GLQuadric = nullptr;
}
