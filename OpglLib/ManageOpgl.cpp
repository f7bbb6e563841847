#include "ManageOpgl.h"

TGLManager* GLManager = nullptr;

namespace {
const TManagedTraits GLManagerTraits{"ManageOpgl", "mGLManager", true,  true,
                                     false,        false,        false, false};
}  // namespace

const TManagedTraits& TGLManager::Traits() const {
  return GLManagerTraits;
}
