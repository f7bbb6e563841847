#pragma once
// The batch runner: records the units in use and the user who runs the program. It is the
// first managed object created and the last released.
#include <QStringList>

#include "ManagedSingleton.h"

class TBatchRunner;
extern TBatchRunner* BatchRunner;

class TBatchRunner : public TManagedSingleton<TBatchRunner, &BatchRunner> {
 public:
  QString ClassName() const override { return QStringLiteral("TBatchRunner"); }

  // Appends Name to the unit list unless it holds it already (compared without case).
  void RegisterUnit(const QString& Name);
  const QStringList& UnitList() const { return FUnitList; }

  void InitMembers() override;
  void InitIdentity() override;
  void SaveSettings() override;
  void FreeMembers() override;

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
  bool FListsCreated = false;
};
