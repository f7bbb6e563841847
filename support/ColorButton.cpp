#include "ColorButton.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>

#include "FocusRect.h"
#include "QColorValue.h"

TColorButton::TColorButton(const QString& Caption, QWidget* Parent) : QPushButton(Caption, Parent) {
  // Whether this is the active button depends on where the focus is anywhere in the window.
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateActive(); });
}

void TColorButton::SetColor(TColor Color) {
  FColor = Color;
  update();
}

void TColorButton::SetFontColor(TColor Color) {
  FFontColor = Color;
  update();
}

void TColorButton::UpdateActive() {
  const QWidget* focus = QApplication::focusWidget();
  const bool active = hasFocus() || (isDefault() && !qobject_cast<const QAbstractButton*>(focus));
  if (active == FIsFocused) return;
  FIsFocused = active;
  update();
}

void TColorButton::focusInEvent(QFocusEvent* Event) {
  QPushButton::focusInEvent(Event);
  UpdateActive();
}

void TColorButton::focusOutEvent(QFocusEvent* Event) {
  QPushButton::focusOutEvent(Event);
  UpdateActive();
}

void TColorButton::changeEvent(QEvent* Event) {
  QPushButton::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::FontChange) update();
}

void TColorButton::mouseDoubleClickEvent(QMouseEvent* Event) {
  // A double-click is one more press.
  mousePressEvent(Event);
}

void TColorButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const bool pressed = isDown();
  const bool disabled = !isEnabled();
  const bool focused = hasFocus();
  const int state =
      (pressed ? bdsPressed : 0) | (disabled ? bdsDisabled : 0) | (focused ? bdsFocused : 0);
  const QRect whole = rect();
  QRect r = whole;

  if (focused || FIsFocused) {
    p.setPen(QPen(pal.color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  }
  if (pressed) {
    p.setPen(QPen(pal.color(QPalette::Dark), 1));
    p.setBrush(pal.color(QPalette::Button));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  } else {
    QStyleOptionButton frame;
    frame.initFrom(this);
    frame.rect = r;
    frame.state &= ~(QStyle::State_HasFocus | QStyle::State_Sunken);
    frame.state |= QStyle::State_Raised;
    if (disabled) frame.state &= ~QStyle::State_Enabled;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &frame, &p, this);
    r.adjust(2, 2, -2, -2);
  }
  if (pressed) r.translate(1, 1);

  p.fillRect(r, ColorToQColor(FColor));

  p.setFont(font());
  if (!disabled) {
    p.setPen(ColorToQColor(FFontColor));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text());
  } else {
    // Embossed: a light copy one pixel down and right under the shadowed text.
    const QSize size = fontMetrics().size(Qt::TextSingleLine, text());
    const QRect at(QPoint((r.width() - size.width()) / 2, (r.height() - size.height()) / 2), size);
    p.setPen(pal.color(QPalette::Light));
    p.drawText(at.translated(1, 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
    p.setPen(pal.color(QPalette::Dark));
    p.drawText(at, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
  }

  if (OnDrawButton) OnDrawButton(this, r, state);

  // Drawn here rather than by the style, which shows it only after a key and tints the face.
  if (FIsFocused && focused) DrawFocusRect(p, whole.adjusted(4, 4, -4, -4));
}
