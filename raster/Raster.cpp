#include "Raster.h"

TTavRaster* TavRaster = nullptr;

namespace {
const TManagedTraits TavRasterTraits{"Raster", "mTavRaster", false, true,
                                     false,    false,        false, false};
}  // namespace

const TManagedTraits& TTavRaster::Traits() const {
  return TavRasterTraits;
}
