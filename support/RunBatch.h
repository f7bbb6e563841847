#pragma once
// The batch runner: records the units in use and the user who runs the program. Under a
// debugger it also prepares the project's build folders and configuration and, at shut-down,
// copies the compiled units into the shared unit library. It is the first managed object
// created and the last released.
#include <QStringList>
#include <functional>

#include "ManagedSingleton.h"

class TBatchRunner;
extern TBatchRunner* BatchRunner;

// Where the batch runner looks at the world; every member left empty means the real one.
struct TBatchEnvironment {
  // Whether a debugger is attached (default: a tracer in /proc/self/status).
  std::function<bool()> DebuggerAttached;
  // A registry value under the current user's root, empty when absent (default: the lookup
  // file of RegistryLookup).
  std::function<QString(const QString& Key, const QString& Name)> ReadRegString;
  // The executable the project is found from (default: the running one).
  QString ExecutablePath;
};

class TBatchRunner : public TManagedSingleton<TBatchRunner, &BatchRunner> {
 public:
  QString ClassName() const override { return QStringLiteral("TBatchRunner"); }

  // Replaces the environment (tests); takes effect for the next creation and every later check.
  static void SetEnvironment(TBatchEnvironment Environment);
  static bool DebuggerAttached();

  // Appends Name to the unit list unless it holds it already (compared without case).
  void RegisterUnit(const QString& Name);
  const QStringList& UnitList() const { return FUnitList; }

  void InitMembers() override;
  void InitIdentity() override;
  void SaveSettings() override;
  void FreeMembers() override;

  // The project steps, run only with a debugger attached. ExeFolder and DcuFolder are relative
  // to the project folder and end in '/'.
  void FindProjectFile();
  void PrepareProjectFolders();
  void RewriteProjectConfig(const QString& ExeFolder, const QString& DcuFolder,
                            const QStringList& SearchFolders);
  void RewriteProjectOptions(const QString& ExeFolder, const QString& DcuFolder,
                             const QStringList& SearchFolders);
  void ReadProjectConfig();
  void CopyUnits();
  // Creates Folder and its missing parents.
  static bool ForceFolder(const QString& Folder);

  QString FIdeExeName;
  QString FDelphiRoot;
  QStringList FDelphiSearchPaths;
  QString FFullProjectName;
  QString FFullProjectDcuPath;
  QString FFullProjectExePath;
  QStringList FProjectSearchPaths;
  QStringList FUnitList;
  QString FCurrentUser;

 protected:
  const TManagedTraits& Traits() const override;

 private:
  // The project file's folder, ending in '/'.
  QString ProjectFolder() const;
  bool FListsCreated = false;
};
