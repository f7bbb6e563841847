#include "CheckListBoxColor.h"

TCheckListBoxColor::TCheckListBoxColor(QWidget* Parent) : TColorListBase(Parent) {
  Initialize(QStringLiteral("CheckListBoxColor"));
}

TCheckListBoxColor::~TCheckListBoxColor() {
  SaveColors();
}

void TCheckListBoxColor::AddCheckItem(const QString& Text) {
  auto* it = new QListWidgetItem(Text, this);
  it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
  it->setCheckState(Qt::Unchecked);
}

bool TCheckListBoxColor::Checked(int Index) const {
  const QListWidgetItem* it = item(Index);
  return it && it->checkState() == Qt::Checked;
}

void TCheckListBoxColor::SetChecked(int Index, bool Value) {
  if (QListWidgetItem* it = item(Index)) it->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
}

TItemLook TCheckListBoxColor::ItemLook(int Index) const {
  TItemLook look;
  const bool selected = Index >= 0 && Index == ItemIndex();
  look.Bold = selected;
  // A checked item is bold only while selected and never italic; an unchecked one is italic
  // only.
  if (Checked(Index)) {
    look.Italic = false;
  } else {
    look.Bold = false;
    look.Italic = true;
  }
  ApplyColoring(Index, selected, look);
  return look;
}
