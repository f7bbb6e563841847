#include "PsdDecode.h"

#include <cstring>
#include <memory>

#include "Codecs.h"

#define STBI_ONLY_PSD
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 32768
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace Codecs {

static_assert(STBI_MAX_DIMENSIONS == MaxSide, "the decoder's side limit is the layer's");

QImage DecodePsd(const QByteArray& Data) {
  if (Data.size() > INT32_MAX) throw ECodecError("Picture file too large");
  const auto* bytes = reinterpret_cast<const stbi_uc*>(Data.constData());
  const int length = static_cast<int>(Data.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, length, &width, &height, &channels))
    throw ECodecError(std::string("Cannot decode Photoshop picture: ") + stbi_failure_reason());
  if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide ||
      static_cast<int64_t>(width) * height > MaxPixels)
    throw ECodecError("Picture too large");
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load_from_memory(bytes, length, &width, &height, &channels, 4), stbi_image_free);
  if (!pixels)
    throw ECodecError(std::string("Cannot decode Photoshop picture: ") + stbi_failure_reason());
  // Alpha only when the file has a fourth channel (the decoder always reports four); the rows
  // come as red, green, blue, alpha.
  const int fileChannels = (static_cast<uint8_t>(Data[12]) << 8) | static_cast<uint8_t>(Data[13]);
  QImage image(width, height,
               fileChannels >= 4 ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
  if (image.isNull()) throw ECodecError("Out of memory");
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(image.scanLine(y), pixels.get() + rowBytes * static_cast<std::size_t>(y), rowBytes);
  return image;
}

}  // namespace Codecs
