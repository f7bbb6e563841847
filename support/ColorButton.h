#pragma once
// A push button whose face is painted in its own colour, with its caption in a second one.
#include <QPushButton>
#include <QStyle>
#include <functional>

#include "ColorValue.h"

class TColorButton;

// Owner-draw state of the button as it is painted.
enum TButtonDrawState : uint8_t { bdsPressed = 1, bdsDisabled = 2, bdsFocused = 4 };
// Called after the button has painted itself: the face rectangle inside the frame and the
// state flags.
using TDrawButtonEvent = std::function<void(TColorButton* Control, const QRect& Rect, int State)>;

class TColorButton : public QPushButton {
  Q_OBJECT
 public:
  explicit TColorButton(const QString& Caption, QWidget* Parent = nullptr);

  QString Author() const { return QStringLiteral("Talven"); }
  void SetAuthor(const QString&) {}

  TColor Color() const { return FColor; }
  void SetColor(TColor Color);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Color);

  // The active button: the focused one, or the default one while the focus is on a control
  // that is not a button.
  bool FIsFocused = false;
  TDrawButtonEvent OnDrawButton;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

 private:
  void UpdateActive();
  TColor FColor = 0x00FFFF00;      // aqua
  TColor FFontColor = 0x00FF0000;  // blue
};
