#include "FuzzTargets.h"

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Magick++.h>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "Codecs.h"
#include "ColorSettings.h"
#include "FileOP.h"
#include "GOpglDefine.h"
#include "IniFile.h"
#include "ManageOpgl.h"
#include "OpglLight.h"
#include "Raster.h"
#include "ValueText.h"

namespace Fuzz {

namespace {

[[noreturn]] void Broken(const char* What) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", What);
  std::abort();
}

// A private folder for the files the targets write, in memory when the machine has one.
const QString& WorkFolder() {
  static const QString folder = [] {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString path = base + QStringLiteral("/opgl-fuzz-%1").arg(getpid());
    QDir().mkpath(path);
    return path;
  }();
  return folder;
}

void WriteFile(const QString& Name, const uint8_t* Data, std::size_t Size) {
  QFile file(Name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) Broken("cannot write work file");
  file.write(reinterpret_cast<const char*>(Data), static_cast<qint64>(Size));
}

// By value: the colours of a light are members of a packed record.
bool Finite(TGLColor4f C) {
  return std::isfinite(C.R) && std::isfinite(C.G) && std::isfinite(C.B) && std::isfinite(C.A);
}

// The settings file of one input, in memory: parsed and saved without touching the disk, and
// gone with the guard.
struct TMemorySettings {
  TMemorySettings(const char* Name, const uint8_t* Data, std::size_t Size)
      : FileName(QStringLiteral("/memory/") + QLatin1String(Name)) {
    TIniFile::KeepFilesInMemory(true);
    TIniFile::SetMemoryFile(
        FileName, QByteArray(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size)));
  }
  ~TMemorySettings() { TIniFile::KeepFilesInMemory(false); }
  TMemorySettings(const TMemorySettings&) = delete;
  TMemorySettings& operator=(const TMemorySettings&) = delete;
  const QString FileName;
};

}  // namespace

void Settings(const uint8_t* Data, std::size_t Size) {
  const TMemorySettings memory("settings.ini", Data, Size);
  const QString& name = memory.FileName;
  TIniFile ini(name);
  // Every key of every section as every type. The names come from the text itself.
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(Data),
                                         static_cast<qsizetype>(std::min<std::size_t>(Size, 4096)));
  QString section = QStringLiteral("S");
  int keys = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    if (keys >= 64) break;
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
      section = trimmed.mid(1, trimmed.size() - 2);
      continue;
    }
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    const QString key = trimmed.left(equals).trimmed();
    ++keys;
    if (ini.ReadString(section, key, QString()).size() > 2047) Broken("value longer than 2047");
    (void)ini.ReadInteger(section, key, 7);
    (void)ini.ReadBool(section, key, true);
    (void)ini.ReadFloat(section, key, 1.5);
    // Date-times through the locale are slow: the first few keys are enough.
    if (keys <= 4) (void)ValueText::DateTimeToStr(ini.ReadDateTime(section, key, 2.0));
    TMemoryStream stream;
    const std::size_t decoded = ini.ReadBinaryStream(section, key, stream);
    if (decoded != stream.Size()) Broken("stream holds other than the decoded bytes");
    (void)ini.ValueExists(section, key);
  }
  // The colour lists' sections, with any "ClrNum" and any keys: always sixty colours, and
  // what is written reads back.
  TColorArray colours[2];
  const QString lists[2] = {QStringLiteral("TListBoxColor"), QStringLiteral("TCheckListBoxColor")};
  for (int k = 0; k < 2; ++k) {
    colours[k] = MakeColorArray(60);
    ReadColorSection(ini, lists[k], colours[k]);
    if (colours[k].size() != 60) Broken("colour list not sixty long");
    WriteColorSection(ini, lists[k], colours[k]);
  }
  // A write of each kind, then the save; what is saved reads back.
  ini.WriteInteger(QStringLiteral("Fuzz"), QStringLiteral("Int"), -12);
  ini.WriteFloat(QStringLiteral("Fuzz"), QStringLiteral("Float"), 2.5);
  ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Text"), text.left(64));
  ini.DeleteKey(section, QStringLiteral("k"));
  try {
    ini.UpdateFile();
  } catch (const EIniFileException&) {
    return;
  }
  TIniFile again(name);
  if (again.ReadInteger(QStringLiteral("Fuzz"), QStringLiteral("Int"), 0) != -12)
    Broken("saved integer lost");
  if (again.ReadFloat(QStringLiteral("Fuzz"), QStringLiteral("Float"), 0) != 2.5)
    Broken("saved float lost");
  for (int k = 0; k < 2; ++k) {
    TColorArray read = MakeColorArray(60);
    ReadColorSection(again, lists[k], read);
    if (read != colours[k]) Broken("saved colours lost");
  }
}

void Records(const uint8_t* Data, std::size_t Size) {
  const TMemorySettings memory("records.ini", Data, Size);
  AppPaths::SetSettingsFileName(memory.FileName);
  TFileOpEX::Create();
  TGLManager::Create();
  TGLLighter::Create();
  TGLBrimloLogo::Create();
  if (!std::isfinite(GLManager->FAxisLength)) Broken("axis length not finite");
  if (!Finite(GLManager->FFontColor)) Broken("font colour not finite");
  (void)GLManager->GetFontColor();
  for (const TGLLight& light : GLLighter->FLights) {
    if (!Finite(light.Ambient) || !Finite(light.Diffuse) || !Finite(light.Specular))
      Broken("light colour not finite");
    const float numbers[] = {light.CutOff,      light.Exponent,    light.Position.X,
                             light.Position.Y,  light.Position.Z,  light.Position.W,
                             light.Direction.X, light.Direction.Y, light.Direction.Z,
                             light.Direction.W};
    for (float v : numbers)
      if (!std::isfinite(v)) Broken("light number not finite");
    const TGLColor4f diffuse = light.Diffuse;
    (void)GLColorToColor(diffuse);
  }
  const TGLBrimloLogo& logo = *GLBrimloLogo;
  if (!Finite(logo.FClrAmbient) || !Finite(logo.FClrDiffuse) || !Finite(logo.FClrSpecular) ||
      !Finite(logo.FClrEmission))
    Broken("logo colour not finite");
  if (!(logo.FMixRate >= 0 && logo.FMixRate <= 1)) Broken("mix rate out of range");
  if (!(logo.FShinese >= 0 && logo.FShinese <= 128)) Broken("shininess out of range");
  if (!std::isfinite(logo.FScale) || !std::isfinite(logo.FLogoWidth)) Broken("logo size");
  // What the track bar would show.
  (void)static_cast<int>(std::nearbyint(logo.FMixRate * 10));
  TGLBrimloLogo::ReleaseInstance();
  TGLLighter::ReleaseInstance();
  TGLManager::ReleaseInstance();
  TFileOpEX::ReleaseInstance();
  AppPaths::SetSettingsFileName(QString());
}

void Values(const uint8_t* Data, std::size_t Size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(Data),
                                         static_cast<qsizetype>(std::min<std::size_t>(Size, 512)));
  int32_t number = 0;
  if (ValueText::TryStrToInt(text, number) &&
      ValueText::StrToIntDef(ValueText::IntToStr(number), number ^ 1) != number)
    Broken("integer does not read back");
  double value = 0;
  if (ValueText::TryStrToFloat(text, value)) {
    if (!std::isfinite(value)) Broken("float text gave a non-finite value");
    double again = 0;
    if (!ValueText::TryStrToFloat(ValueText::FloatToStr(value), again))
      Broken("written float does not parse");
    if (std::abs(again - value) > std::abs(value) * 1e-13) Broken("float does not round-trip");
  }
  TDateTime when = 0;
  if (ValueText::TryStrToDateTime(text, when)) (void)ValueText::DateTimeToStr(when);
  if (Size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, Data, sizeof raw);
    (void)ValueText::FloatToStr(raw);
    (void)ValueText::DateTimeToStr(raw);
    (void)ValueText::ToQDateTime(raw);
  }
  if (Size >= sizeof(TGLColor4f)) {
    TGLColor4f color{};
    std::memcpy(&color, Data, sizeof color);
    (void)GLColorToColor(color);
  }
  const QByteArray bytes = ValueText::HexToBytes(text);
  const QString hex =
      ValueText::BytesToHex(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (hex.compare(text.left(hex.size()), Qt::CaseInsensitive) != 0)
    Broken("hex pairs do not match the text they came from");
  if (ValueText::HexToBytes(hex) != bytes) Broken("hex does not round-trip");
}

void Picture(const uint8_t* Data, std::size_t Size) {
  static const char* const Extensions[] = {"dat", "jpg", "gif", "bmp", "tga", "png", "tif", "pcx",
                                           "psd", "ico", "cut", "rla", "pcd", "sgi", "ppm", "pix"};
  static bool started = false;
  if (!started) {
    Codecs::InitCodecs();
    // Smaller limits than the program's keep each run short; the refusal paths are the same.
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, 4'000'000);
    MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, 8192);
    MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, 8192);
    AppPaths::SetSettingsFileName(WorkFolder() + QStringLiteral("/raster.ini"));
    TTavRaster::Create();
    started = true;
  }
  if (Size == 0) return;
  const char* extension = Extensions[Data[0] % (sizeof Extensions / sizeof *Extensions)];
  const QString name = WorkFolder() + QStringLiteral("/picture.") + QLatin1String(extension);
  WriteFile(name, Data + 1, Size - 1);
  (void)Codecs::RecognizeFormat(name);
  QImage picture;
  if (!TavRaster->LoadRaster(name, &picture)) return;
  if (picture.width() > Codecs::MaxSide || picture.height() > Codecs::MaxSide ||
      static_cast<int64_t>(picture.width()) * picture.height() > Codecs::MaxPixels)
    Broken("decoded picture over the limits");
  // Resampling and the texture block on pictures small enough to keep the run fast.
  if (static_cast<int64_t>(picture.width()) * picture.height() > 1'000'000) return;
  QImage smaller = picture;
  TavRaster->ResizeRaster(&smaller, std::max(1, picture.width() / 3 + 1),
                          std::max(1, picture.height() / 2));
  TTexImage block;
  if (TavRaster->RasterToTexImage(&picture, block)) {
    const auto powerOf2 = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    if (!powerOf2(block.Width) || !powerOf2(block.Height)) Broken("texture side not a power of 2");
    volatile uint8_t last =
        block.Pixels[static_cast<std::size_t>(block.Width) * block.Height * 3 - 1];
    (void)last;
    TavRaster->FreeTexImage(block);
  }
}

TTarget TargetByName(const std::string& Name) {
  if (Name == "settings") return Settings;
  if (Name == "records") return Records;
  if (Name == "values") return Values;
  if (Name == "picture") return Picture;
  return nullptr;
}

}  // namespace Fuzz
