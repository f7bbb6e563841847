#pragma once
// The main window under a real display and Mesa, shared by the suites that drive it.
//
// WindowFixture creates the scene units and one shown TMainForm (900 x 700, not maximized) per
// test suite, with the settings file in a temporary folder and, when the start-up textures
// were copied beside the programs, the working folder there. SetUp stops the timer (tests
// step the animation themselves) and answers every modal dialog with Answers: a test sets
// what the next confirmation, colour, picture or picture save dialog answers and reads what
// was asked.
#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>
#include <initializer_list>

#include "frmOpgl.h"

class QCheckBox;

extern TMainForm* Form;

// What the dialogs answer in a test, and what they were asked.
struct TDialogAnswers {
  TModalResult Confirm = mrYes;
  bool ColorChosen = true;
  TColor Color = 0;
  bool PictureChosen = true;
  QString FileName;
  int FilterIndex = 1;
  QStringList Asked;              // each confirmation's text, in order
  int ColorDialogs = 0;           // colour dialogs opened
  TPictureDialog LastPicture{};   // the last picture dialog as it was opened
  QStringList Messages;           // message boxes shown
  bool SavePictureChosen = true;  // the picture save dialog: chosen or cancelled
  QString SavePictureName;        // the file it answers
  QStringList SaveSuggested;      // each suggestion it was opened with
};

class WindowFixture : public ::testing::Test {
 public:
  static void SetUpTestSuite();
  static void TearDownTestSuite();

 protected:
  void SetUp() override;
  void TearDown() override;

  // A frame drawn now, read back from the surface.
  static QImage Frame();
  // Only the given display options on.
  static void ShowOnly(std::initializer_list<QCheckBox*> Boxes);
  // Path of a file in the suite's temporary folder.
  static QString TempPath(const QString& Name);

  TDialogAnswers Answers;
};
