#include "OpglTexture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QFileInfo>
#include <exception>

#include "Raster.h"

TGLTexturer* GLTexturer = nullptr;

const char* const StartupTextureFiles[7] = {
    "Data\\Block01.jpg", "Data\\Block02.jpg", "Data\\Metal01.jpg", "Data\\Stone01.jpg",
    "Data\\Stone02.jpg", "Data\\Test.jpg",    "Data\\TinNon.jpg"};

QString PlatformPath(const QString& Path) {
  QString result = Path;
  result.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return result;
}

namespace {
const TManagedTraits GLTexturerTraits{"OpglTexture", "mGLTexturer", false, true,
                                      false,         false,         false, false};

// Makes the texture object of Entry from Image; leaves TextureID 0 when GL gives no name.
void MakeTexture(TGLTexture& Entry, const TTexImage& Image) {
  Entry.Context = QOpenGLContext::currentContext();
  Entry.TextureID = 0;
  if (!Entry.Context) return;  // no rendering context: no texture name
  GLuint id = 0;
  glGenTextures(1, &id);
  Entry.TextureID = id;
  if (id == 0) return;
  glBindTexture(GL_TEXTURE_2D, id);
  // The rows are packed with no padding (a 1- or 2-pixel-wide block has 3- or 6-byte rows).
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, Image.Width, Image.Height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               Image.Pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, Image.Width, Image.Height, GL_RGB, GL_UNSIGNED_BYTE,
                    Image.Pixels);
  glPopClientAttrib();
}

void FreeTexture(TGLTexture& Entry) {
  QOpenGLContext* current = QOpenGLContext::currentContext();
  if (Entry.TextureID != 0 && Entry.Context && current &&
      QOpenGLContext::areSharing(current, Entry.Context)) {
    const GLuint id = Entry.TextureID;
    glDeleteTextures(1, &id);
    Entry.TextureID = 0;
  }
}

// Owns a texture block until the end of the scope, whatever happens in between.
struct TTexImageHolder {
  TTexImage Image;
  ~TTexImageHolder() {
    if (TavRaster) TavRaster->FreeTexImage(Image);
  }
};
}  // namespace

const TManagedTraits& TGLTexturer::Traits() const {
  return GLTexturerTraits;
}

void TGLTexturer::InitMembers() {
  FTextures = std::make_unique<TTextureList>();
}

void TGLTexturer::FreeMembers() {
  if (FTextures) ClearTextures();
  FTextures.reset();
}

bool TGLTexturer::AddTextureFromFile(const QString& FileName) {
  if (!TavRaster || !FTextures) return false;
  TTexImageHolder holder;
  if (!TavRaster->LoadTexImage(FileName, holder.Image)) return true;
  try {
    auto entry = std::make_unique<TGLTexture>();
    entry->Source = FileName;
    entry->Width = holder.Image.Width;
    entry->Height = holder.Image.Height;
    entry->Name = QFileInfo(PlatformPath(FileName)).completeBaseName();
    MakeTexture(*entry, holder.Image);
    if (entry->TextureID != 0) FTextures->push_back(std::move(entry));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TGLTexturer::AddTextureFromGraphic(QImage* Graphic) {
  if (!TavRaster || !FTextures) return false;
  if (TavRaster->IsRasterEmpty(Graphic)) return false;
  TTexImageHolder holder;
  try {
    if (!TavRaster->RasterToTexImage(Graphic, holder.Image)) return true;
    auto entry = std::make_unique<TGLTexture>();
    entry->Source = QStringLiteral("TBitmap");
    entry->Width = holder.Image.Width;
    entry->Height = holder.Image.Height;
    entry->Name = QStringLiteral("TBitmap%1").arg(FTextures->size());
    MakeTexture(*entry, holder.Image);
    if (entry->TextureID != 0) FTextures->push_back(std::move(entry));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

int TGLTexturer::GetTextureCount() const {
  return FTextures ? static_cast<int>(FTextures->size()) : 0;
}

TGLTexture* TGLTexturer::GetTexture(int Index) const {
  if (Index < 0 || Index >= GetTextureCount()) return nullptr;
  return (*FTextures)[static_cast<std::size_t>(Index)].get();
}

void TGLTexturer::DeleteTexture(int Index) {
  TGLTexture* entry = GetTexture(Index);
  if (!entry) return;
  FreeTexture(*entry);
  FTextures->erase(FTextures->begin() + Index);
}

void TGLTexturer::ClearTextures() {
  for (int i = GetTextureCount() - 1; i >= 0; --i) DeleteTexture(i);
  if (FTextures) FTextures->clear();
}
