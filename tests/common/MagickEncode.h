#pragma once
// Test pictures encoded by the image library itself, so the codec and raster tests read files
// they did not write through the code under test.
#include <QByteArray>
#include <QImage>

// Picture encoded in Format ("PNG", "TGA", "GIF", ...), as the library writes it by default.
QByteArray MagickEncode(const QImage& Picture, const char* Format);
