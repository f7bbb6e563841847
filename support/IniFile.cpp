#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include "IniFile.h"

#include <SimpleIni.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <string>
#include <unordered_map>

struct TIniFile::TData {
  CSimpleIniA Ini{false, false, false};
};

namespace {
std::function<void()>& BeforeCommit() {
  static std::function<void()> hook;
  return hook;
}
QString& FileWithFolders() {
  static QString name;
  return name;
}
constexpr qsizetype MaxValueLength = 2047;

struct TMemoryFiles {
  bool On = false;
  std::unordered_map<std::string, QByteArray> Texts;
};
TMemoryFiles& MemoryFiles() {
  static TMemoryFiles files;
  return files;
}

// One blank line at most between lines and a final line break, however the text came in; one
// pass, so a file of many blank lines saves as fast as any other.
std::string CollapseBlankLines(const std::string& Text) {
  std::string out;
  out.reserve(Text.size() + 1);
  int breaks = 0;
  for (const char c : Text) {
    breaks = c == '\n' ? breaks + 1 : 0;
    if (breaks <= 2) out += c;
  }
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

// Creates the missing folders above FileName, each for its owner alone as a user's
// configuration folder is meant to be; false when one cannot be made.
bool MakeFolders(const QString& FileName) {
  QStringList missing;
  for (QFileInfo folder(QFileInfo(FileName).absolutePath()); !folder.exists();
       folder = QFileInfo(folder.absolutePath())) {
    if (folder.isRoot()) return false;
    missing.prepend(folder.absoluteFilePath());
  }
  const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  for (const QString& folder : missing)
    if (!QDir().mkdir(folder, owner)) return false;
  return true;
}
}  // namespace

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName), FData(new TData) {
  FData->Ini.SetSpaces(false);
  if (MemoryFiles().On) {
    const QByteArray text = MemoryFile(FileName);
    FData->Ini.LoadData(text.constData(), static_cast<size_t>(text.size()));
    return;
  }
  QFile file(FileName);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray text = file.readAll();
    FData->Ini.LoadData(text.constData(), static_cast<size_t>(text.size()));
  }
}

TIniFile::~TIniFile() = default;

QString TIniFile::ReadString(const QString& Section, const QString& Key,
                             const QString& Default) const {
  const char* value =
      FData->Ini.GetValue(Section.toUtf8().constData(), Key.toUtf8().constData(), nullptr);
  if (!value) return Default;
  return QString::fromUtf8(value).left(MaxValueLength);
}

void TIniFile::WriteString(const QString& Section, const QString& Key, const QString& Value) {
  QString line = Value;
  line.replace('\r', ' ').replace('\n', ' ');  // one value, one line
  FData->Ini.SetValue(Section.toUtf8().constData(), Key.toUtf8().constData(),
                      line.toUtf8().constData());
  FDirty = true;
}

int32_t TIniFile::ReadInteger(const QString& Section, const QString& Key, int32_t Default) const {
  const QString text = ReadString(Section, Key, QString());
  return text.isEmpty() ? Default : ValueText::StrToIntDef(text, Default);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Key, int32_t Value) {
  WriteString(Section, Key, ValueText::IntToStr(Value));
}

bool TIniFile::ReadBool(const QString& Section, const QString& Key, bool Default) const {
  return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& Section, const QString& Key, bool Value) {
  WriteString(Section, Key, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString& Section, const QString& Key, double Default) const {
  double value = Default;
  return ValueText::TryStrToFloat(ReadString(Section, Key, QString()), value) ? value : Default;
}

void TIniFile::WriteFloat(const QString& Section, const QString& Key, double Value) {
  WriteString(Section, Key, ValueText::FloatToStr(Value));
}

TDateTime TIniFile::ReadDateTime(const QString& Section, const QString& Key,
                                 TDateTime Default) const {
  TDateTime value = Default;
  return ValueText::TryStrToDateTime(ReadString(Section, Key, QString()), value) ? value : Default;
}

void TIniFile::WriteDateTime(const QString& Section, const QString& Key, TDateTime Value) {
  WriteString(Section, Key, ValueText::DateTimeToStr(Value));
}

void TIniFile::WriteBinaryStream(const QString& Section, const QString& Key, TMemoryStream& Value) {
  const std::size_t from = Value.Position() < Value.Size() ? Value.Position() : Value.Size();
  WriteString(Section, Key,
              ValueText::BytesToHex(Value.Bytes().constData() + from, Value.Size() - from));
}

std::size_t TIniFile::ReadBinaryStream(const QString& Section, const QString& Key,
                                       TMemoryStream& Value) const {
  const QByteArray bytes = ValueText::HexToBytes(ReadString(Section, Key, QString()));
  const std::size_t start = Value.Position();
  Value.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  Value.SetPosition(start);
  return static_cast<std::size_t>(bytes.size());
}

bool TIniFile::SectionExists(const QString& Section) const {
  return FData->Ini.GetSectionSize(Section.toUtf8().constData()) >= 0;
}

bool TIniFile::ValueExists(const QString& Section, const QString& Key) const {
  return FData->Ini.GetValue(Section.toUtf8().constData(), Key.toUtf8().constData(), nullptr) !=
         nullptr;
}

void TIniFile::DeleteKey(const QString& Section, const QString& Key) {
  if (FData->Ini.Delete(Section.toUtf8().constData(), Key.toUtf8().constData(), false))
    FDirty = true;
}

void TIniFile::UpdateFile() {
  if (!FDirty) return;
  std::string text;
  const QString message = QStringLiteral("Unable to write to %1").arg(FFileName);
  if (FData->Ini.Save(text, false) < 0) throw EIniFileException(message);
  // One blank line between sections and a final line break, however the text came in.
  text = CollapseBlankLines(text);
  if (MemoryFiles().On) {
    SetMemoryFile(FFileName, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    FDirty = false;
    return;
  }
  // The settings file in the user's configuration folder starts with its folder; elsewhere a
  // missing folder is a mistake, not something to create.
  if (FFileName == FileWithFolders() && !MakeFolders(FFileName)) throw EIniFileException(message);
  QSaveFile file(FFileName);
  if (!file.open(QIODevice::WriteOnly)) throw EIniFileException(message);
  // The write only fills Qt's buffer; a full disk shows when it is flushed, and commit() would
  // still rename the short file over the good one.
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.flush()) {
    file.cancelWriting();
    throw EIniFileException(message);
  }
  if (BeforeCommit()) BeforeCommit()();
  if (!file.commit()) throw EIniFileException(message);
  FDirty = false;
}

void TIniFile::MakeFoldersFor(const QString& FileName) {
  FileWithFolders() = FileName;
}

void TIniFile::SetBeforeCommitHook(std::function<void()> Hook) {
  BeforeCommit() = std::move(Hook);
}

void TIniFile::KeepFilesInMemory(bool On) {
  MemoryFiles().On = On;
  if (!On) MemoryFiles().Texts.clear();
}

QByteArray TIniFile::MemoryFile(const QString& FileName) {
  const auto found = MemoryFiles().Texts.find(FileName.toStdString());
  return found == MemoryFiles().Texts.end() ? QByteArray() : found->second;
}

void TIniFile::SetMemoryFile(const QString& FileName, const QByteArray& Text) {
  MemoryFiles().Texts[FileName.toStdString()] = Text;
}

bool TIniFile::Exists(const QString& FileName) {
  if (MemoryFiles().On) return MemoryFiles().Texts.count(FileName.toStdString()) != 0;
  return QFileInfo::exists(FileName);
}
