#include "ListBoxColor.h"

#include <QMouseEvent>

TListBoxColor::TListBoxColor(QWidget* Parent) : TColorListBase(Parent) {
  Initialize(QStringLiteral("ListBoxColor"));
}

TListBoxColor::~TListBoxColor() {
  SaveColors();
}

TItemLook TListBoxColor::ItemLook(int Index) const {
  TItemLook look;
  const bool selected = Index >= 0 && Index == ItemIndex();
  if (selected) {
    look.SizeDelta = 2;
    look.Bold = true;
  } else {
    look.Italic = true;
  }
  ApplyColoring(Index, selected, look);
  return look;
}

void TListBoxColor::mousePressEvent(QMouseEvent* Event) {
  TColorListBase::mousePressEvent(Event);
  if (Event->button() == Qt::LeftButton) viewport()->repaint();
}
