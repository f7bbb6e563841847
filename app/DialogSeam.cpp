#include "DialogSeam.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QCompleter>
#include <QFileDialog>
#include <QMessageBox>

#include "QColorValue.h"
#include "ViewPicture.h"

QStringList PictureNameFilters(const QString& Filter) {
  const QStringList parts = Filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // "*.*" means every file, those without a dot in their name too.
    for (QString& pattern : patterns)
      if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    // The dialog shows the description alone (it hides the patterns in brackets).
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
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
    Dialog->setOption(QFileDialog::HideNameFilterDetails);
    Dialog->setNameFilters(filters);
    if (Request.FilterIndex >= 1 && Request.FilterIndex <= filters.size())
      Dialog->selectNameFilter(filters[Request.FilterIndex - 1]);
    if (!Request.FileName.isEmpty()) Dialog->selectFile(Request.FileName);
    const int result = Dialog->exec();
    // A completion list still up when the dialog closed would stay over the window and take
    // the next click.
    for (QCompleter* completer : Dialog->findChildren<QCompleter*>())
      if (completer->popup()) completer->popup()->hide();
    if (result != QDialog::Accepted || Dialog->selectedFiles().isEmpty()) return false;
    Request.FileName = Dialog->selectedFiles().first();
    // With the patterns hidden the dialog may answer the description it shows.
    const QString chosen = Dialog->selectedNameFilter();
    qsizetype index = filters.indexOf(chosen);
    for (qsizetype i = 0; index < 0 && i < filters.size(); ++i)
      if (filters[i].startsWith(chosen + QStringLiteral(" ("))) index = i;
    Request.FilterIndex = static_cast<int>(index) + 1;
    return true;
  };
  seam.ChooseSavePicture = RealSavePictureDialog(Owner);
  return seam;
}
