#include "ViewPicture.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

#include "DialogSeam.h"
#include "GLSurface.h"
#include "Messages.h"

namespace {

// The file saved last in this run, suggested again: a series of pictures lands in one place.
QString& LastPicture() {
  static QString name;
  return name;
}

QString SuggestedPicture() {
  if (!LastPicture().isEmpty()) return LastPicture();
  QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(QStringLiteral("OpglProject.png"));
}

}  // namespace

bool WritePngPicture(const QImage& Picture, const QString& FileName) {
  QSaveFile file(FileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&file, "png");
  if (!writer.write(Picture)) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

void SaveViewPicture(TGLSurface* Surface, const TDialogSeam& Dialogs) {
  if (!Surface || !Dialogs.ChooseSavePicture) return;
  // The frame of the moment the key went down, before the dialog lets the animation go on.
  // The window shows no alpha, so neither does the picture.
  const QImage frame = Surface->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  if (frame.isNull()) {
    ShowMessage(QStringLiteral("There is no picture of the view to save"));
    return;
  }
  QString name = SuggestedPicture();
  if (!Dialogs.ChooseSavePicture(name) || name.isEmpty()) return;
  LastPicture() = name;
  if (!WritePngPicture(frame, name)) ShowMessage(QStringLiteral("Unable to write to %1").arg(name));
}

std::function<bool(QString& FileName)> RealSavePictureDialog(QWidget* Owner) {
  return [Owner](QString& FileName) {
    QFileDialog dialog(Owner, QStringLiteral("Save View as Picture"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG picture (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    FileName = dialog.selectedFiles().first();
    return true;
  };
}
