#include "FocusRect.h"

#include <QPainter>
#include <QPolygon>
#include <QRect>

void DrawFocusRect(QPainter& Painter, const QRect& Rect) {
  if (Rect.width() <= 0 || Rect.height() <= 0) return;
  QPolygon dots;
  const int x0 = Rect.left(), y0 = Rect.top(), x1 = Rect.right(), y1 = Rect.bottom();
  // Counted from the top-left corner along the frame, so the corners follow the same pattern.
  auto dot = [&](int X, int Y) {
    if ((X - x0 + Y - y0) % 2 == 0) dots << QPoint(X, Y);
  };
  for (int x = x0; x <= x1; ++x) {
    dot(x, y0);
    if (y1 != y0) dot(x, y1);
  }
  for (int y = y0 + 1; y < y1; ++y) {
    dot(x0, y);
    if (x1 != x0) dot(x1, y);
  }
  Painter.save();
  Painter.setRenderHint(QPainter::Antialiasing, false);
  Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  Painter.setPen(QPen(Qt::white, 0));
  Painter.drawPoints(dots);
  Painter.restore();
}
