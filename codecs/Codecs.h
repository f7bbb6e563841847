#pragma once
// The image codec layer: recognises, decodes and encodes raster files.

namespace Codecs {
// Unit start-up and shut-down of the codec layer.
void InitCodecs();
void DoneCodecs();
}  // namespace Codecs
