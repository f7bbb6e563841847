#include "OpglCamera.h"

TGLCamera* GLCamera = nullptr;

namespace {
const TManagedTraits GLCameraTraits{"OpglCamera", "mGLCamera", true, true, true, true, true, true};
}  // namespace

const TManagedTraits& TGLCamera::Traits() const {
  return GLCameraTraits;
}
