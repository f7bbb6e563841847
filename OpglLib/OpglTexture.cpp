#include "OpglTexture.h"

TGLTexturer* GLTexturer = nullptr;

namespace {
const TManagedTraits GLTexturerTraits{"OpglTexture", "mGLTexturer", false, true,
                                      false,         false,         false, false};
}  // namespace

const TManagedTraits& TGLTexturer::Traits() const {
  return GLTexturerTraits;
}
