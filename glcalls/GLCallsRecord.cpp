#include "GLCallsRecord.h"

#include <algorithm>

TGLCallsRecord::TGLCallsRecord() : Values(StateRows().size()) {
  for (auto& v : Values) v.fill(0);
}

const std::array<double, 16>& TGLCallsRecord::Value(int Row) const {
  static const std::array<double, 16> none{};
  if (Row < 0 || Row >= static_cast<int>(Values.size())) return none;
  return Values[static_cast<std::size_t>(Row)];
}

void TGLCallsRecord::Set(int Row, std::initializer_list<double> V) {
  if (Row < 0 || Row >= static_cast<int>(Values.size())) return;
  std::array<double, 16>& value = Values[static_cast<std::size_t>(Row)];
  value.fill(0);
  std::copy_n(V.begin(), std::min<std::size_t>(V.size(), value.size()), value.begin());
}

TGLCallsRecord DefaultRecord() {
  TGLCallsRecord record;
  const std::vector<TStateRow>& rows = StateRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::array<double, 16>& v = record.Values[i];
    v.fill(0);
    if (rows[i].Count == 16) {
      for (int k = 0; k < 4; ++k) v[static_cast<std::size_t>(k * 5)] = 1;
    } else {
      std::copy_n(rows[i].Default, 4, v.begin());
    }
  }
  return record;
}

TGLCallsExtras::TGLCallsExtras() {
  for (auto& a : Attenuation) {
    a[0] = 1;
    a[1] = 0;
    a[2] = 0;
  }
}

bool TGLCallsExtras::operator==(const TGLCallsExtras& O) const {
  for (int i = 0; i < MaxShownLights; ++i)
    for (int k = 0; k < 3; ++k)
      if (Attenuation[i][k] != O.Attenuation[i][k]) return false;
  for (int k = 0; k < 4; ++k)
    if (ModelAmbient[k] != O.ModelAmbient[k] || FogColor[k] != O.FogColor[k]) return false;
  return LocalViewer == O.LocalViewer && ShadeModel == O.ShadeModel && Fog == O.Fog &&
         FogMode == O.FogMode && FogDensity == O.FogDensity && FogStart == O.FogStart &&
         FogEnd == O.FogEnd && TexEnvMode == O.TexEnvMode && MinFilter == O.MinFilter &&
         MagFilter == O.MagFilter && WrapS == O.WrapS && WrapT == O.WrapT &&
         LightsBeforeLookAt == O.LightsBeforeLookAt;
}

bool TGLCallsExtras::IsDefault() const {
  return *this == TGLCallsExtras();
}
