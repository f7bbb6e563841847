#pragma once
// A list whose items are painted in their own colours; the selected item is drawn bold and
// two points larger, the others italic.
#include "ColorListBase.h"

class TListBoxColor : public TColorListBase {
  Q_OBJECT
 public:
  explicit TListBoxColor(QWidget* Parent = nullptr);
  ~TListBoxColor() override;
  QString ClassName() const override { return QStringLiteral("TListBoxColor"); }
  TItemLook ItemLook(int Index) const override;

 protected:
  // Every left-button press repaints the whole list.
  void mousePressEvent(QMouseEvent* Event) override;
};
