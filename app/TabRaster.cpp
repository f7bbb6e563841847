// Handlers of the "TavRaster" tab: the workbench picture shown in Image1, loaded, saved,
// cleared, resized and turned into a texture.
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include "OpglTexture.h"
#include "Raster.h"
#include "frmOpgl.h"

namespace {

const QString OpenFilter =
    QStringLiteral("All(*.*)|*.*|All Raster File|*.bmp;*.jpg;*.gif;*.wmf;*.tif;*.pcx");
const QString SaveFilter = QStringLiteral(
    "Windows Bitmap(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|GIF(*.gif)|*.gif|WMF(*.wmf)|*.wmf");

// FileName with its extension (from the last dot of its last part) replaced by Extension.
QString ChangeFileExt(const QString& FileName, const QString& Extension) {
  const qsizetype dot = FileName.lastIndexOf(QLatin1Char('.'));
  const qsizetype slash = FileName.lastIndexOf(QLatin1Char('/'));
  return (dot > slash ? FileName.left(dot) : FileName) + Extension;
}

}  // namespace

QImage DesignTimePicture() {
  // Colour bands over a grey ramp: something to resize, save and texture before a file is
  // loaded.
  QImage picture(183, 135, QImage::Format_BGR888);
  for (int y = 0; y < picture.height(); ++y) {
    uchar* row = picture.scanLine(y);
    for (int x = 0; x < picture.width(); ++x) {
      const int band = (x / 23 + y / 17) % 4;
      const int ramp = 40 + (x + y) * 200 / (picture.width() + picture.height());
      row[3 * x + 0] = static_cast<uchar>(band == 2 ? 230 : ramp / 2);  // blue
      row[3 * x + 1] = static_cast<uchar>(band == 1 ? 210 : ramp);      // green
      row[3 * x + 2] = static_cast<uchar>(band == 0 ? 220 : ramp / 3);  // red
    }
  }
  return picture;
}

void TMainForm::ShowRasterPicture() {
  if (RasterPicture.isNull() || RasterPicture.width() == 0 || RasterPicture.height() == 0) {
    Image1->clear();
    return;
  }
  // Stretched to the image control; a large picture is scaled once here, not at every paint.
  Image1->setPixmap(QPixmap::fromImage(
      RasterPicture.scaled(Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool TMainForm::ChooseOpenPicture() {
  OpenPicture.Title = QStringLiteral("Open Raster File");
  OpenPicture.Filter = OpenFilter;
  OpenPicture.FilterIndex = 1;
  return Dialogs.ChoosePicture(OpenPictureDialog1, OpenPicture);
}

void TMainForm::Button3Click(QObject*) {
  if (!ChooseOpenPicture()) return;
  if (!TavRaster->LoadRaster(OpenPicture.FileName, &RasterPicture)) return;
  edBmpW->setText(QString::number(RasterPicture.width()));
  edBmpH->setText(QString::number(RasterPicture.height()));
  edBmpPf->setText(QString::fromLatin1(PixelFormatNames[PixelFormatOf(RasterPicture)]));
  ShowRasterPicture();
}

void TMainForm::Button4Click(QObject*) {
  if (TavRaster->IsRasterEmpty(&RasterPicture)) return;
  SavePicture.FileName = ChangeFileExt(SavePicture.FileName, QString());
  SavePicture.Title = QStringLiteral("Save Raster File");
  SavePicture.Filter = SaveFilter;
  if (!Dialogs.ChoosePicture(SavePictureDialog1, SavePicture)) return;
  static const char* const Extensions[] = {".bmp", ".jpg", ".gif", ".wmf"};
  const int index = SavePicture.FilterIndex;
  const QString extension =
      index >= 1 && index <= 4 ? QString::fromLatin1(Extensions[index - 1]) : QString();
  SavePicture.FileName = ChangeFileExt(SavePicture.FileName, extension);
  const bool saved = TavRaster->SaveRaster(SavePicture.FileName, &RasterPicture);
  ShowMessage(saved ? QStringLiteral("Saved") : QStringLiteral("Failed"));
}

void TMainForm::Button5Click(QObject*) {
  if (TavRaster->IsRasterEmpty(&RasterPicture)) return;
  RasterPicture = QImage();
  edBmpW->setText(QString::number(RasterPicture.width()));
  edBmpH->setText(QString::number(RasterPicture.height()));
  edBmpPf->setText(QString::fromLatin1(PixelFormatNames[PixelFormatOf(RasterPicture)]));
  ShowRasterPicture();
}

void TMainForm::Button6Click(QObject*) {
  const int W = StrToInt(edBmpW->text());
  const int H = StrToInt(edBmpH->text());
  if (Dialogs.Confirm(FormatText("Resize Image to %d*%d?", W, H)) == mrNo) return;
  TavRaster->ResizeRaster(&RasterPicture, W, H);
  ShowRasterPicture();
}

void TMainForm::Button7Click(QObject*) {
  if (GLTexturer->AddTextureFromGraphic(&RasterPicture)) FillTextureList();
  // The picture itself was fitted to powers of two.
  ShowRasterPicture();
  RenderFrame();
}
