#pragma once
// A seeded random user: keys of the key table with and without Shift and Ctrl, clicks with
// every button on the controls of every tab and window, drags on the rendering surface, texts
// typed into the edits, list choices, window resizes, and the dialogs that open answered at
// random. Message boxes are real and closed with a key, as a user closes them.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <random>

class QWidget;
class TMainForm;

class TSoakDriver : public QObject {
  Q_OBJECT
 public:
  // Pictures to open and a place to save them are made in WorkFolder.
  TSoakDriver(TMainForm* Form, uint32_t Seed, const QString& WorkFolder);

  // Sends Count inputs, one per turn of the event loop while the animation runs, then returns.
  void Run(int Count);
  int Inputs() const { return FInputs; }
  // The input being sent or last sent, for the log of a failure.
  const QString& LastInput() const { return FLast; }
  // Each input is written to standard error as it is sent.
  bool Trace = false;

 private:
  void Step();
  void AnswerModal(QWidget* Modal);
  void PressKey();
  void ClickControl();
  void TypeText();
  void DragSurface();
  void ResizeWindow();
  void AnswerDialogs();
  void MakePictures();
  QWidget* RandomControl();
  int Pick(int Count) { return std::uniform_int_distribution<int>(0, Count - 1)(FRandom); }
  bool Chance(double P) { return std::bernoulli_distribution(P)(FRandom); }
  void Note(const QString& What);

  TMainForm* FForm;
  std::mt19937 FRandom;
  QString FWork;
  QStringList FPictures;
  int FInputs = 0;
  int FTarget = 0;
  int FSaves = 0;
  bool FBusy = false;
  QString FLast;
  QElapsedTimer FClock;
};
