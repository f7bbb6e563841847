#include "DialogSeam.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "QColorValue.h"
#include "ViewPicture.h"

QStringList PictureNameFilters(const QString& Filter) {
  const QStringList parts = Filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return filters;
}

TDialogSeam RealDialogs(QWidget* Owner, QColorDialog* ColorDialog) {
  TDialogSeam seam;
  seam.Confirm = [Owner](const QString& Text) {
    QString lines = Text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), lines,
                    QMessageBox::Yes | QMessageBox::No, Owner);
    return box.exec() == QMessageBox::Yes ? mrYes : mrNo;
  };
  seam.ChooseColor = [ColorDialog](TColor& Chosen) {
    // The dialog keeps the colour it showed last, as it opens again.
    if (ColorDialog->exec() != QDialog::Accepted) return false;
    Chosen = QColorToColor(ColorDialog->selectedColor());
    return true;
  };
  seam.ChoosePicture = [](QFileDialog* Dialog, TPictureDialog& Request) {
    const QStringList filters = PictureNameFilters(Request.Filter);
    Dialog->setWindowTitle(Request.Title);
    Dialog->setNameFilters(filters);
    if (Request.FilterIndex >= 1 && Request.FilterIndex <= filters.size())
      Dialog->selectNameFilter(filters[Request.FilterIndex - 1]);
    if (!Request.FileName.isEmpty()) Dialog->selectFile(Request.FileName);
    if (Dialog->exec() != QDialog::Accepted || Dialog->selectedFiles().isEmpty()) return false;
    Request.FileName = Dialog->selectedFiles().first();
    Request.FilterIndex = static_cast<int>(filters.indexOf(Dialog->selectedNameFilter())) + 1;
    return true;
  };
  seam.ChooseSavePicture = RealSavePictureDialog(Owner);
  return seam;
}
