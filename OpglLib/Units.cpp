#include "Units.h"

#include <exception>
#include <vector>

#include "BrimloLogo.h"
#include "Codecs.h"
#include "FileOP.h"
#include "GOpglVariable.h"
#include "IniFile.h"
#include "ManageOpgl.h"
#include "Messages.h"
#include "OpglCamera.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "Raster.h"
#include "RunBatch.h"
#include "Vector3D.h"

namespace {

struct TUnit {
  const char* Name;
  void (*Startup)();
  void (*Shutdown)();
};

void Nothing() {}

const TUnit Units[] = {
    {"RunBatch", [] { TBatchRunner::Create(); }, [] { TBatchRunner::ReleaseInstance(); }},
    {"FileOP", [] { TFileOpEX::Create(); }, [] { TFileOpEX::ReleaseInstance(); }},
    {"Vector3D", [] { TGLVector::Create(); }, [] { TGLVector::ReleaseInstance(); }},
    {"GOpglVariable", InitGOpglVariable, DoneGOpglVariable},
    {"ManageOpgl", [] { TGLManager::Create(); }, [] { TGLManager::ReleaseInstance(); }},
    {"OpglLight", [] { TGLLighter::Create(); }, [] { TGLLighter::ReleaseInstance(); }},
    {"OpglCamera", [] { TGLCamera::Create(); }, [] { TGLCamera::ReleaseInstance(); }},
    {"Codecs", Codecs::InitCodecs, Codecs::DoneCodecs},
    {"Raster", [] { TTavRaster::Create(); }, [] { TTavRaster::ReleaseInstance(); }},
    {"OpglTexture", [] { TGLTexturer::Create(); }, [] { TGLTexturer::ReleaseInstance(); }},
    {"MaterialDefine", Nothing, Nothing},
    {"BrimloLogo", [] { TGLBrimloLogo::Create(); }, [] { TGLBrimloLogo::ReleaseInstance(); }},
    {"HandModel", Nothing, Nothing},
    {"RobotModel", Nothing, Nothing},
};

std::size_t StartedUnits = 0;

}  // namespace

void UnitStartup() {
  for (const TUnit& unit : Units) {
    if (StartedUnits > static_cast<std::size_t>(&unit - Units)) continue;
    unit.Startup();
    ++StartedUnits;
  }
}

void UnitShutdown() {
  while (StartedUnits > 0) {
    const TUnit& unit = Units[--StartedUnits];
    try {
      unit.Shutdown();
    } catch (const EIniFileException& e) {
      ShowMessage(e.Message());
    } catch (const std::exception& e) {
      ShowMessage(QString::fromUtf8(e.what()));
    }
  }
}
