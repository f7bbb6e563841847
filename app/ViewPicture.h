#pragma once
// F12: the rendering surface, all its views as shown, saved as a PNG picture.
#include <QString>
#include <functional>

class QImage;
class TGLSurface;
class QWidget;
struct TDialogSeam;

// Grabs the surface's frame at its device-pixel size, asks for the file through the dialogs
// seam and writes the picture; a failed write says so in a message and leaves no file.
void SaveViewPicture(TGLSurface* Surface, const TDialogSeam& Dialogs);

// Writes Picture to FileName as PNG through a temporary file renamed at the end, so a failed
// write leaves the old file, or none; false when it failed.
bool WritePngPicture(const QImage& Picture, const QString& FileName);

// The real save dialog of the picture: FileName holds the suggestion and, on true, the choice.
std::function<bool(QString& FileName)> RealSavePictureDialog(QWidget* Owner);
