#include "Vector3D.h"

TGLVector* GLVector = nullptr;

namespace {
const TManagedTraits GLVectorTraits{"Vector3D", "mGLVector", true, true, true, true, true, true};
}  // namespace

const TManagedTraits& TGLVector::Traits() const {
  return GLVectorTraits;
}
