#pragma once
// The image codec layer: recognises, decodes and encodes raster files.
// Decoding and encoding errors are raised as ECodecError.
#include <QImage>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace Codecs {

// Largest picture the layer decodes: files claiming more are refused before any pixel
// memory is reserved.
constexpr int64_t MaxPixels = 100'000'000;
constexpr int MaxSide = 32768;

class ECodecError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Unit start-up and shut-down of the codec layer.
void InitCodecs();
void DoneCodecs();

// The format that recognises the file by its content ("PNG", "TIFF", "PCX", ...), or an
// empty string when none does (or the file cannot be read).
QString RecognizeFormat(const QString& FileName);
// Decodes FileName as Format (a name given by RecognizeFormat).
QImage DecodeAs(const QString& FileName, const QString& Format);
// Decodes FileName choosing the decoder by its extension (Targa, bitmap, icon, JPEG, GIF,
// metafiles, ...), then by Qt's own readers.
QImage DecodeByExtension(const QString& FileName);
// Recognition by content, then by extension.
QImage Decode(const QString& FileName);

// Encodes Picture as a Windows bitmap (the picture's own depth), a JPEG or a GIF, with the
// coder's default settings. The bytes of the file are returned; nothing is written.
QByteArray EncodeBmp(const QImage& Picture);
QByteArray EncodeJpeg(const QImage& Picture);
QByteArray EncodeGif(const QImage& Picture);

}  // namespace Codecs
