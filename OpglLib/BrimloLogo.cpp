#include "BrimloLogo.h"

TGLBrimloLogo* GLBrimloLogo = nullptr;

namespace {
const TManagedTraits GLBrimloLogoTraits{"BrimloLogo", "mGLBrimloLogo", false, true,
                                        false,        false,           false, false};
}  // namespace

const TManagedTraits& TGLBrimloLogo::Traits() const {
  return GLBrimloLogoTraits;
}
