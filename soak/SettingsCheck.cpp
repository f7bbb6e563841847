#include "SettingsCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "IniFile.h"
#include "ManageOpgl.h"
#include "OpglLight.h"
#include "Units.h"

namespace {

bool InRange(double V, double Low, double High) {
  return std::isfinite(V) && V >= Low && V <= High;
}

// By value: the colours of a light are members of a packed record.
bool Colour(TGLColor4f C) {
  return InRange(C.R, 0, 1) && InRange(C.G, 0, 1) && InRange(C.B, 0, 1) && InRange(C.A, 0, 1);
}

}  // namespace

QStringList SettingsProblems(const QString& FileName) {
  QStringList problems;
  if (!QFile::exists(FileName)) return {QStringLiteral("no settings file")};
  {
    const TIniFile ini(FileName);
    for (const char* section :
         {"TListBoxColor", "TCheckListBoxColor", "TGLBrimloLogo", "TGLTexturer", "TTavRaster",
          "Application Info", "CopyRight", "TGLCamera", "TGLLighter", "TGLManager", "TGLVector",
          "TFileOpEX", "TBatchRunner"})
      if (!ini.SectionExists(QString::fromLatin1(section)))
        problems << QStringLiteral("section [%1] missing").arg(QString::fromLatin1(section));
    for (const char* list : {"TListBoxColor", "TCheckListBoxColor"}) {
      const QString section = QString::fromLatin1(list);
      if (ini.ReadInteger(section, QStringLiteral("ClrNum"), -1) != 60)
        problems << QStringLiteral("[%1] ClrNum is not 60").arg(section);
      for (int i = 0; i < 60; ++i) {
        const QString key = QStringLiteral("Clr%1").arg(i);
        const int32_t colour = ini.ReadInteger(section, key, -1);
        if (!ini.ValueExists(section, key) || colour < 0 || colour > 0xFFFFFF)
          problems << QStringLiteral("[%1] %2 missing or not a colour").arg(section, key);
      }
    }
    if (ini.ReadString(QStringLiteral("Application Info"), QStringLiteral("Version"), QString()) !=
        QStringLiteral("1.0.0.0"))
      problems << QStringLiteral("[Application Info] Version is not 1.0.0.0");
    if (!ini.ValueExists(QStringLiteral("TGLLighter"), QStringLiteral("FLights7")))
      problems << QStringLiteral("[TGLLighter] FLights7 missing");
  }

  // Read back through the objects, on a copy: their shut-down writes the file again.
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("check.ini"));
  if (!QFile::copy(FileName, copy)) return problems << QStringLiteral("cannot copy the file");
  AppPaths::SetSettingsFileName(copy);
  UnitStartup();
  if (!InRange(GLManager->FAxisLength, 1e-3, 1e6)) problems << QStringLiteral("axis length");
  if (!Colour(GLManager->FFontColor)) problems << QStringLiteral("font colour");
  int index = 0;
  for (const TGLLight& light : GLLighter->FLights) {
    const QString name = QStringLiteral("light %1: ").arg(index++);
    if (!Colour(light.Ambient) || !Colour(light.Diffuse) || !Colour(light.Specular))
      problems << name + QStringLiteral("colour");
    if (!InRange(light.CutOff, 0, 500)) problems << name + QStringLiteral("cut-off");
    if (!InRange(light.Exponent, 0, 128)) problems << name + QStringLiteral("exponent");
    for (float v : {light.Position.X, light.Position.Y, light.Position.Z, light.Position.W,
                    light.Direction.X, light.Direction.Y, light.Direction.Z, light.Direction.W})
      if (!std::isfinite(v)) problems << name + QStringLiteral("position or direction");
  }
  const TGLBrimloLogo& logo = *GLBrimloLogo;
  if (!Colour(logo.FClrAmbient) || !Colour(logo.FClrDiffuse) || !Colour(logo.FClrSpecular) ||
      !Colour(logo.FClrEmission))
    problems << QStringLiteral("logo colour");
  if (!InRange(logo.FMixRate, 0, 1)) problems << QStringLiteral("mix rate");
  if (!InRange(logo.FShinese, 0, 128)) problems << QStringLiteral("shininess");
  if (!InRange(logo.FScale, 0.2 - 1e-6, 6 + 1e-6)) problems << QStringLiteral("logo scale");
  UnitShutdown();
  AppPaths::SetSettingsFileName(QString());
  return problems;
}
