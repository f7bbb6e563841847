#include "OpglLight.h"

TGLLighter* GLLighter = nullptr;

namespace {
const TManagedTraits GLLighterTraits{"OpglLight", "mGLLighter", true,  true,
                                     true,        false,        false, false};
}  // namespace

const TManagedTraits& TGLLighter::Traits() const {
  return GLLighterTraits;
}
