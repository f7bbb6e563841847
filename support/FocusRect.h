#pragma once
// The dotted focus rectangle of the colour controls: every other pixel of a one-pixel frame
// inverted, so it shows on any face colour without tinting it.
class QPainter;
class QRect;

// Inverts every other pixel of the frame of Rect, starting with its top-left corner.
void DrawFocusRect(QPainter& Painter, const QRect& Rect);
