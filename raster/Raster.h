#pragma once
// The raster object: loads, saves and resamples pictures and turns them into texture pixels.
#include "ManagedSingleton.h"

class TTavRaster;
extern TTavRaster* TavRaster;

class TTavRaster : public TManagedSingleton<TTavRaster, &TavRaster> {
 public:
  QString ClassName() const override { return QStringLiteral("TTavRaster"); }

 protected:
  const TManagedTraits& Traits() const override;
};
