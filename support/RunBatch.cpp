#include "RunBatch.h"

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <exception>

#include "AppPaths.h"
#include "FileCopy.h"
#include "IniFile.h"
#include "RegistryLookup.h"

TBatchRunner* BatchRunner = nullptr;

namespace {
const TManagedTraits BatchTraits{"RunBatch", "mBatchRunner", true, false, true, true, false, false};
const QString AppInfo = QStringLiteral("Application Info");
const QString ProjectInfo = QStringLiteral("Project Info");
const QString IdeInfo = QStringLiteral("Delphi IDE Info");
const QString UnitsInfo = QStringLiteral("Talven Units");
const QString DelphiKey = QStringLiteral("Software\\Borland\\Delphi\\7.0");
const QString LibraryKey = QStringLiteral("Software\\Borland\\Delphi\\7.0\\Library");
// Numbered keys a run without a debugger removes: 0 to 255.
constexpr int NumberedKeys = 256;

TBatchEnvironment& Environment() {
  static TBatchEnvironment environment;
  return environment;
}

QString CurrentUserName() {
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name);
  return QStringLiteral("Unknown");
}

// A tracer (gdb, strace, an IDE's debugger) shows as a non-zero TracerPid.
bool TracerAttached() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("TracerPid:")) return line.mid(10).trimmed().toLongLong() != 0;
  return false;
}

QString ReadRegString(const QString& Key, const QString& Name) {
  if (Environment().ReadRegString) return Environment().ReadRegString(Key, Name);
  return RegistryLookup::ReadRegString(RegistryLookup::DefaultFileName(), Key, Name);
}

QString ExecutablePath() {
  return Environment().ExecutablePath.isEmpty() ? AppPaths::ExecutablePath()
                                                : Environment().ExecutablePath;
}

QString WithoutTrailingDelimiter(QString Path) {
  while (Path.size() > 1 && (Path.endsWith('/') || Path.endsWith('\\'))) Path.chop(1);
  return Path;
}

// Name with its extension replaced (or added).
QString ChangeFileExt(const QString& Name, const QString& Extension) {
  const QFileInfo info(Name);
  const QString folder = Name.left(Name.size() - info.fileName().size());
  const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
  return folder + base + Extension;
}

// Text resolved against Folder when relative, cleaned, keeping a trailing '/'.
QString ExpandPath(const QString& Folder, const QString& Text) {
  QString path = QDir::cleanPath(QDir(Folder).absoluteFilePath(Text));
  if ((Text.isEmpty() || Text.endsWith('/')) && !path.endsWith('/')) path += '/';
  return path;
}

// A file we may rewrite: a plain file whose whole text could be read.
bool ReadWholeFile(const QString& Name, QByteArray& Text) {
  if (!QFileInfo(Name).isFile()) return false;
  QFile file(Name);
  if (!file.open(QIODevice::ReadOnly)) return false;
  Text = file.readAll();
  return file.error() == QFile::NoError;
}

// Lines without their breaks; the break used ("\r\n" or "\n") goes to Eol.
QList<QByteArray> SplitLines(const QByteArray& Text, QByteArray& Eol) {
  Eol = Text.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
  QList<QByteArray> lines = Text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  return lines;
}

// The letter after the switch's dash, upper-cased; 0 for a line too short to have one.
char SwitchLetter(const QByteArray& Line) {
  return Line.size() >= 2 ? static_cast<char>(QChar::toUpper(static_cast<uchar>(Line[1]))) : 0;
}

// An "-E" / "-N" value: after the first double quote up to the character before the last.
QByteArray QuotedValue(const QByteArray& Line) {
  const qsizetype first = Line.indexOf('"');
  const qsizetype last = Line.lastIndexOf('"');
  if (first < 0 || last <= first) return {};
  return Line.mid(first + 1, last - first - 1);
}

// The text between the first two double quotes from the third character on (all of it when
// it has no quotes).
QByteArray SwitchText(const QByteArray& Line) {
  const QByteArray text = Line.mid(2);
  const qsizetype first = text.indexOf('"');
  if (first < 0) return text;
  const qsizetype second = text.indexOf('"', first + 1);
  return second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1);
}

QByteArray SwitchLine(char Letter, const QByteArray& Value) {
  return QByteArray("-") + Letter + '"' + Value + '"';
}

bool FolderExists(const QString& Folder) {
  return !Folder.isEmpty() && QFileInfo(Folder).isDir();
}

void WriteList(TIniFile& Ini, const QString& Section, const QString& CountKey,
               const QString& ItemKey, const QStringList& List) {
  Ini.WriteInteger(Section, CountKey, static_cast<int32_t>(List.size()));
  for (qsizetype i = 0; i < List.size(); ++i) Ini.WriteString(Section, ItemKey.arg(i), List[i]);
}

// Keys an earlier debugged run may have left; a run without a debugger removes them.
void DeleteProjectKeys(TIniFile& Ini) {
  for (const char* key :
       {"FFullProjectName", "FFullProjectExePath", "FFullProjectDcuPath", "SearchPathNum"})
    Ini.DeleteKey(ProjectInfo, QString::fromLatin1(key));
  Ini.DeleteKey(IdeInfo, QStringLiteral("FDelphiRoot"));
  Ini.DeleteKey(IdeInfo, QStringLiteral("DelphiSearchPathNum"));
  Ini.DeleteKey(UnitsInfo, QStringLiteral("UnitNum"));
  for (int i = 0; i < NumberedKeys; ++i) {
    Ini.DeleteKey(ProjectInfo, QStringLiteral("FFullProjectSearchPaths%1").arg(i));
    Ini.DeleteKey(IdeInfo, QStringLiteral("FDelphiSearchPaths%1").arg(i));
    Ini.DeleteKey(UnitsInfo, QStringLiteral("U%1").arg(i));
  }
}
}  // namespace

const TManagedTraits& TBatchRunner::Traits() const {
  return BatchTraits;
}

void TBatchRunner::SetEnvironment(TBatchEnvironment Value) {
  Environment() = std::move(Value);
}

bool TBatchRunner::DebuggerAttached() {
  return Environment().DebuggerAttached ? Environment().DebuggerAttached() : TracerAttached();
}

void TBatchRunner::RegisterUnit(const QString& Name) {
  if (!FListsCreated) return;
  if (FUnitList.contains(Name, Qt::CaseInsensitive)) return;
  FUnitList.append(Name);
}

void TBatchRunner::InitMembers() {
  FListsCreated = true;
}

void TBatchRunner::InitIdentity() {
  FCurrentUser = CurrentUserName();
  FDelphiRoot = ReadRegString(DelphiKey, QStringLiteral("RootDir"));
  FIdeExeName = WithoutTrailingDelimiter(FDelphiRoot) + QStringLiteral("/Bin/Delphi32.exe");
  if (!FDelphiRoot.isEmpty()) {
    const QString searchPath = ReadRegString(LibraryKey, QStringLiteral("Search Path"));
    if (!searchPath.isEmpty()) {
      // Every piece, the one after the last ';' too even when it is empty.
      for (QString piece : searchPath.split(';'))
        FDelphiSearchPaths.append(
            piece.replace(QStringLiteral("$(Delphi)"), FDelphiRoot, Qt::CaseInsensitive));
    }
  }
  TManagedObject::InitIdentity();  // unit name, announcement, application name and path
  if (DebuggerAttached()) FindProjectFile();
}

void TBatchRunner::FindProjectFile() {
  const QFileInfo exe(ExecutablePath());
  const QString besideExe = ChangeFileExt(exe.filePath(), QStringLiteral(".dpr"));
  const QString aboveExe = QDir::cleanPath(exe.absolutePath() + QStringLiteral("/..")) + '/' +
                           ChangeFileExt(exe.fileName(), QStringLiteral(".dpr"));
  FFullProjectName.clear();
  for (const QString& candidate : {besideExe, aboveExe})
    if (QFileInfo(candidate).isFile()) FFullProjectName = QFileInfo(candidate).absoluteFilePath();
  if (FFullProjectName.isEmpty()) return;
  PrepareProjectFolders();
  ReadProjectConfig();
}

QString TBatchRunner::ProjectFolder() const {
  if (FFullProjectName.isEmpty()) return {};
  return QFileInfo(FFullProjectName).absolutePath() + '/';
}

void TBatchRunner::PrepareProjectFolders() {
  if (FFullProjectName.isEmpty()) return;
  const QString name = QFileInfo(ExecutablePath()).completeBaseName();
  const QString project = ProjectFolder();
  const QString exeFolder = QStringLiteral("Release%1/").arg(name);
  const QString dcuFolder = QStringLiteral("Dcus%1/").arg(name);
  ForceFolder(project + QStringLiteral("TalvenLib/"));
  // The extra search folders are an open question; none are handed on.
  RewriteProjectConfig(exeFolder, dcuFolder, {});
  RewriteProjectOptions(exeFolder, dcuFolder, {});
  FFullProjectDcuPath = project + dcuFolder;
  FFullProjectExePath = project + exeFolder;
}

void TBatchRunner::RewriteProjectConfig(const QString& ExeFolder, const QString& DcuFolder,
                                        const QStringList& SearchFolders) {
  if (FFullProjectName.isEmpty()) return;
  const QString project = ProjectFolder();
  const QString name = ChangeFileExt(FFullProjectName, QStringLiteral(".cfg"));
  QByteArray text;
  if (!ReadWholeFile(name, text)) return;  // missing or unreadable: nothing to rewrite
  QByteArray eol;
  QList<QByteArray> lines = SplitLines(text, eol);
  bool exeSeen = false, dcuSeen = false, searchSeen = false;
  // An output line naming no existing folder is pointed at our folder.
  auto output = [&](QByteArray& line, char letter, const QString& folder) {
    const QString value = QFile::decodeName(QuotedValue(line));
    if (value.isEmpty() || !FolderExists(project + value)) {
      ForceFolder(project + folder);
      line = SwitchLine(letter, QFile::encodeName(folder));
    }
  };
  for (QByteArray& line : lines) {
    switch (SwitchLetter(line)) {
      case 'E':
        output(line, 'E', ExeFolder);
        exeSeen = true;
        break;
      case 'N':
        output(line, 'N', DcuFolder);
        dcuSeen = true;
        break;
      case 'I':
      case 'O':
      case 'R':
      case 'U': {
        const qsizetype quote = line.indexOf('"');
        for (const QString& folder : SearchFolders) {
          const QByteArray entry = QFile::encodeName(folder) + ';';
          if (quote >= 0 && !line.contains(QFile::encodeName(folder)))
            line.insert(quote + 1, entry);
        }
        searchSeen = true;
        break;
      }
      default:
        break;
    }
  }
  if (!exeSeen) {
    ForceFolder(project + ExeFolder);
    lines.append(SwitchLine('E', QFile::encodeName(ExeFolder)));
  }
  if (!dcuSeen) {
    ForceFolder(project + DcuFolder);
    lines.append(SwitchLine('N', QFile::encodeName(DcuFolder)));
  }
  if (!searchSeen) {
    QByteArray all;
    for (const QString& folder : SearchFolders) {
      ForceFolder(project + folder);
      all += QFile::encodeName(folder) + ';';
    }
    for (char letter : {'U', 'O', 'I', 'R'}) lines.append(SwitchLine(letter, all));
  }
  // Written through a temporary file, so an interrupted rewrite keeps the old configuration.
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return;
  for (const QByteArray& line : lines) file.write(line + eol);
  file.commit();
}

void TBatchRunner::RewriteProjectOptions(const QString& ExeFolder, const QString& DcuFolder,
                                         const QStringList& SearchFolders) {
  if (FFullProjectName.isEmpty()) return;
  const QString project = ProjectFolder();
  const QString name = ChangeFileExt(FFullProjectName, QStringLiteral(".dof"));
  QByteArray text;
  if (!ReadWholeFile(name, text)) return;  // never make an options file that was not there
  const QString section = QStringLiteral("Directories");
  TIniFile options(name);
  auto output = [&](const QString& key, const QString& folder) {
    const QString value = options.ReadString(section, key, QString());
    if (value.isEmpty() || !FolderExists(project + value))
      options.WriteString(section, key, folder);
  };
  output(QStringLiteral("OutputDir"), ExeFolder);
  output(QStringLiteral("UnitOutputDir"), DcuFolder);
  QString searchPath = options.ReadString(section, QStringLiteral("SearchPath"), QString());
  for (const QString& folder : SearchFolders)
    if (!searchPath.contains(folder)) searchPath += folder + ';';
  options.WriteString(section, QStringLiteral("SearchPath"), searchPath);
  try {
    options.UpdateFile();  // atomic: a failed write keeps the old file
  } catch (const std::exception&) {
  }
}

void TBatchRunner::ReadProjectConfig() {
  if (FFullProjectName.isEmpty()) return;
  const QString project = ProjectFolder();
  FFullProjectExePath = project;
  FFullProjectDcuPath = project;
  // Relative names are resolved against the project folder (as if it were the working folder,
  // which is left alone).
  QByteArray text;
  if (ReadWholeFile(ChangeFileExt(FFullProjectName, QStringLiteral(".cfg")), text)) {
    QByteArray eol;
    for (const QByteArray& line : SplitLines(text, eol)) {
      const QString value = QFile::decodeName(SwitchText(line));
      switch (SwitchLetter(line)) {
        case 'E':
          FFullProjectExePath = ExpandPath(project, value);
          break;
        case 'N':
          FFullProjectDcuPath = ExpandPath(project, value);
          break;
        case 'U':
          for (const QString& piece : value.split(';')) {
            qsizetype blanks = 0;
            while (blanks < piece.size() && piece[blanks].isSpace()) ++blanks;
            FProjectSearchPaths.append(ExpandPath(project, piece.mid(blanks)));
          }
          break;
        default:
          break;
      }
    }
  }
  ForceFolder(FFullProjectExePath);
  ForceFolder(FFullProjectDcuPath);
}

bool TBatchRunner::ForceFolder(const QString& Folder) {
  return FileCopy::ForceFolder(Folder);
}

void TBatchRunner::SaveSettings() {
  TIniFile ini(AppPaths::SettingsFileName());
  WriteApplicationNameAndPath(ini, mApplicationName, mApplicationPath);
  ini.WriteString(AppInfo, QStringLiteral("FCurrentUser"), FCurrentUser);
  if (DebuggerAttached()) {
    ini.WriteString(ProjectInfo, QStringLiteral("FFullProjectName"), FFullProjectName);
    ini.WriteString(ProjectInfo, QStringLiteral("FFullProjectExePath"), FFullProjectExePath);
    ini.WriteString(ProjectInfo, QStringLiteral("FFullProjectDcuPath"), FFullProjectDcuPath);
    WriteList(ini, ProjectInfo, QStringLiteral("SearchPathNum"),
              QStringLiteral("FFullProjectSearchPaths%1"), FProjectSearchPaths);
    if (!FDelphiRoot.isEmpty()) {
      ini.WriteString(IdeInfo, QStringLiteral("FDelphiRoot"), FDelphiRoot);
      WriteList(ini, IdeInfo, QStringLiteral("DelphiSearchPathNum"),
                QStringLiteral("FDelphiSearchPaths%1"), FDelphiSearchPaths);
    }
    WriteList(ini, UnitsInfo, QStringLiteral("UnitNum"), QStringLiteral("U%1"), FUnitList);
  } else {
    DeleteProjectKeys(ini);
  }
  WriteCopyRight(ini);
  ini.WriteInteger(ClassName(), QString::fromLatin1(BatchTraits.ClassKey), FSettingsTag);
  ini.UpdateFile();
}

void TBatchRunner::CopyUnits() {
  if (!FolderExists(FFullProjectDcuPath) || FUnitList.isEmpty() || FProjectSearchPaths.isEmpty())
    return;
  if (FCurrentUser.compare(QStringLiteral("talven"), Qt::CaseInsensitive) != 0) return;
  const QString library = ProjectFolder() + QStringLiteral("TalvenLib/");
  if (library == QStringLiteral("TalvenLib/")) return;  // no project folder to copy into
  const QString units = WithoutTrailingDelimiter(FFullProjectDcuPath) + '/';
  for (const QString& unit : FUnitList)  // a failed copy is skipped
    FileCopy::CopyReplacing(units + unit + QStringLiteral(".dcu"),
                            library + unit + QStringLiteral(".dcu"));
}

void TBatchRunner::FreeMembers() {
  if (DebuggerAttached()) {
    try {
      CopyUnits();
    } catch (const std::exception&) {  // the lists are freed whatever the copies did
    }
  }
  FDelphiSearchPaths.clear();
  FProjectSearchPaths.clear();
  FUnitList.clear();
  FListsCreated = false;
}
