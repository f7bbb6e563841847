#pragma once
// Photoshop pictures (the flattened image), which the image library cannot read.
#include <QByteArray>
#include <QImage>

namespace Codecs {

// Raises ECodecError when Data is not a Photoshop picture the decoder accepts or is larger
// than the layer's limits.
QImage DecodePsd(const QByteArray& Data);

}  // namespace Codecs
