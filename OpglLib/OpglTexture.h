#pragma once
// The texture list: OpenGL texture objects made from image files or pictures.
// Entries keep the order they were added in. Adding needs the rendering context to be
// current (without it nothing is added); the list owns the texture objects and frees them
// with their entries and at shut-down.
#include <QImage>
#include <QOpenGLContext>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "ManagedSingleton.h"

// One texture of the list.
struct TGLTexture {
  QString Source;          // file name as given, or the picture's class name ("TBitmap")
  int32_t Width = 0;       // a power of two
  int32_t Height = 0;      // a power of two
  QString Name;            // list caption: file name without folder and extension, or "TBitmap%d"
  uint32_t TextureID = 0;  // OpenGL texture name, never 0 for an entry in the list
  // The context the texture object lives in: it is deleted only while that context (or one
  // sharing with it) is current; a context that is gone took its textures with it.
  QPointer<QOpenGLContext> Context;
};

// The start-up textures in the order they are added, as "Data\..." names relative to the
// working folder; pass each through PlatformPath before use.
extern const char* const StartupTextureFiles[7];
// A "Data\Block01.jpg" style name with its separators turned into the platform's ("/").
QString PlatformPath(const QString& Path);

class TGLTexturer;
extern TGLTexturer* GLTexturer;

class TGLTexturer : public TManagedSingleton<TGLTexturer, &GLTexturer> {
 public:
  QString ClassName() const override { return QStringLiteral("TGLTexturer"); }

  void InitMembers() override;
  void FreeMembers() override;

  // Appends a texture named after the file. A file that is missing or cannot be read as a
  // picture adds nothing and still gives true; false only when building the entry failed.
  bool AddTextureFromFile(const QString& FileName);
  // Appends a texture named "TBitmap%d" (the entry's index). Graphic is resized to powers
  // of two in place when it is not already. False for a missing or empty picture.
  bool AddTextureFromGraphic(QImage* Graphic);
  int GetTextureCount() const;
  // The entry at Index, or nullptr outside 0..count - 1.
  TGLTexture* GetTexture(int Index) const;
  // Deletes the entry's texture object and the entry; an index out of range does nothing.
  void DeleteTexture(int Index);
  void ClearTextures();

 protected:
  const TManagedTraits& Traits() const override;

 private:
  using TTextureList = std::vector<std::unique_ptr<TGLTexture>>;
  std::unique_ptr<TTextureList> FTextures;
};
