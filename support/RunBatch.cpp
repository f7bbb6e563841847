#include "RunBatch.h"

#include <pwd.h>
#include <unistd.h>

#include "AppPaths.h"
#include "IniFile.h"

TBatchRunner* BatchRunner = nullptr;

namespace {
const TManagedTraits BatchTraits{"RunBatch", "mBatchRunner", true, false, true, true, false, false};

QString CurrentUserName() {
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name);
  return QStringLiteral("Unknown");
}

// Keys an earlier debugged run may have left; a run without a debugger removes them.
void DeleteProjectKeys(TIniFile& Ini) {
  const QString project = QStringLiteral("Project Info");
  for (const char* key :
       {"FFullProjectName", "FFullProjectExePath", "FFullProjectDcuPath", "SearchPathNum"})
    Ini.DeleteKey(project, QString::fromLatin1(key));
  const QString ide = QStringLiteral("Delphi IDE Info");
  Ini.DeleteKey(ide, QStringLiteral("FDelphiRoot"));
  Ini.DeleteKey(ide, QStringLiteral("DelphiSearchPathNum"));
  const QString units = QStringLiteral("Talven Units");
  Ini.DeleteKey(units, QStringLiteral("UnitNum"));
  for (int i = 0; i < 256; ++i) {
    Ini.DeleteKey(project, QStringLiteral("FFullProjectSearchPaths%1").arg(i));
    Ini.DeleteKey(ide, QStringLiteral("FDelphiSearchPaths%1").arg(i));
    Ini.DeleteKey(units, QStringLiteral("U%1").arg(i));
  }
}
}  // namespace

const TManagedTraits& TBatchRunner::Traits() const {
  return BatchTraits;
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
  FIdeExeName = FDelphiRoot + QStringLiteral("/Bin/Delphi32.exe");
  TManagedObject::InitIdentity();
}

void TBatchRunner::SaveSettings() {
  TIniFile ini(AppPaths::SettingsFileName());
  WriteApplicationNameAndPath(ini, mApplicationName, mApplicationPath);
  ini.WriteString(QStringLiteral("Application Info"), QStringLiteral("FCurrentUser"), FCurrentUser);
  DeleteProjectKeys(ini);
  WriteCopyRight(ini);
  ini.WriteInteger(ClassName(), QString::fromLatin1(BatchTraits.ClassKey), FSettingsTag);
  ini.UpdateFile();
}

void TBatchRunner::FreeMembers() {
  FDelphiSearchPaths.clear();
  FProjectSearchPaths.clear();
  FUnitList.clear();
  FListsCreated = false;
}
