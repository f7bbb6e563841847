#pragma once
// The window's modal dialogs, reached through one seam: the program shows the real dialogs,
// tests answer them without a nested event loop.
#include <QString>
#include <QStringList>
#include <functional>

#include "ColorValue.h"

class QColorDialog;
class QFileDialog;
class QWidget;

// The answer of a confirmation box.
enum TModalResult { mrNone, mrYes, mrNo };

// What a picture dialog is asked and what it answers. Filter holds pairs of description and
// pattern separated by vertical bars; FilterIndex counts from 1.
struct TPictureDialog {
  QString Title;
  QString Filter;
  int FilterIndex = 1;
  QString FileName;
};

struct TDialogSeam {
  // A confirmation box with Yes and No; lines separated by a lone carriage return.
  std::function<TModalResult(const QString& Text)> Confirm;
  // The colour dialog: true with the chosen colour, false when cancelled.
  std::function<bool(TColor& Chosen)> ChooseColor;
  // A picture dialog: true when a file was chosen (FileName and FilterIndex then hold the
  // choice), false when cancelled.
  std::function<bool(QFileDialog* Dialog, TPictureDialog& Request)> ChoosePicture;
  // The save dialog of a picture of the view: FileName holds the suggestion; true with the
  // chosen file name, false when cancelled.
  std::function<bool(QString& FileName)> ChooseSavePicture;
};

// The real dialogs, owned by Owner.
TDialogSeam RealDialogs(QWidget* Owner, QColorDialog* ColorDialog);

// The dialog's name filters for a "Description|pattern;pattern|..." filter text.
QStringList PictureNameFilters(const QString& Filter);
