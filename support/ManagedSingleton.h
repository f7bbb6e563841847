#pragma once
// Long-lived objects manage their one instance themselves: a second Create returns the
// object that exists and counts one more holder, and only the last Free saves its settings,
// frees what it owns and clears the global reference. The first Create fills the identity,
// announces the declaring unit to the batch runner and loads the object's settings.
#include <QString>
#include <cstddef>
#include <cstdint>

class TIniFile;

// What differs between the managed classes in the common steps.
struct TManagedTraits {
  const char* UnitName;    // unit that declares the class
  const char* ClassKey;    // integer key holding FSettingsTag in the class's section
  bool Announces;          // registers its unit with the batch runner
  bool SceneClass;         // has FProjectName
  bool ReadsAppPath;       // reads "mApplicationPath" of "Application Info"
  bool WritesAppInfo;      // writes "Application Info" and "CopyRight"
  bool WritesProjectName;  // writes "FProjectName" too
  bool WritesFileInfo;     // writes the executable's file times and version
};

class TManagedObject {
 public:
  virtual ~TManagedObject() = default;

  // Name of the running object's class; also its settings section.
  virtual QString ClassName() const = 0;

  // The steps of the pattern, in the order they run. Public so that each level of a two-level
  // class can run its own; nothing else calls them.
  virtual void InitMembers() {}
  virtual void InitIdentity();
  virtual void LoadSettings();
  virtual void SaveSettings();
  virtual void FreeMembers() {}

  QString FProjectName;
  QString FUnitName;
  QString mApplicationName;
  QString mApplicationPath;
  int32_t FSettingsTag = 0;

 protected:
  virtual const TManagedTraits& Traits() const = 0;
  // The common identity step with a given level's traits.
  void InitIdentityWith(const TManagedTraits& Traits);
  // The class's own keys, read from and written to its section.
  virtual void ReadOwnSettings(TIniFile&) {}
  virtual void WriteOwnSettings(TIniFile&) {}

  // Raw records: written as hexadecimal text, read back only when the key holds at least
  // Size bytes (otherwise the record keeps its value).
  static void WriteRecord(TIniFile& Ini, const QString& Section, const QString& Key,
                          const void* Record, std::size_t Size);
  static bool ReadRecord(const TIniFile& Ini, const QString& Section, const QString& Key,
                         void* Record, std::size_t Size);

  // Pieces of the common steps, shared by the two levels of the file utilities.
  static void WriteApplicationNameAndPath(TIniFile& Ini, const QString& Name, const QString& Path);
  static void WriteFileInfo(TIniFile& Ini);
  static void WriteCopyRight(TIniFile& Ini);
};

// The pattern, once. Global is the class's global instance reference (GLCamera, ...).
template <class T, T** Global>
class TManagedSingleton : public TManagedObject {
 public:
  // Creations not yet released; counts modulo 256.
  static inline uint8_t InstanceCount = 0;

  static T* Create() { return NewInstance(); }
  // Alloc is the class actually allocated (a derived level may ask for its own size); the
  // steps run are those of T.
  template <class Alloc = T>
  static T* NewInstance() {
    if (!*Global) {
      T* object = new Alloc();
      *Global = object;
      object->T::InitMembers();
      object->T::InitIdentity();
      object->T::LoadSettings();
    }
    ++InstanceCount;
    return *Global;
  }
  // Counts down; the last release saves, frees and clears even when the save fails (the
  // failure is passed on afterwards).
  static void FreeInstance() {
    if (!*Global) return;
    --InstanceCount;
    if (InstanceCount != 0) return;
    T* object = *Global;
    struct Release {
      T* Object;
      ~Release() {
        try {
          Object->T::FreeMembers();
        } catch (...) {
        }
        delete Object;
        *Global = nullptr;
      }
    } release{object};
    object->T::SaveSettings();
  }
  void Free() { FreeInstance(); }
  // Frees the global instance; the unit's shut-down calls it.
  static void ReleaseInstance() {
    if (*Global) (*Global)->Free();
  }
};
