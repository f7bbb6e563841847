#pragma once
// A check list whose items are painted in their own colours; checked items are plain (bold
// when selected), unchecked items italic.
#include "ColorListBase.h"

class TCheckListBoxColor : public TColorListBase {
  Q_OBJECT
 public:
  explicit TCheckListBoxColor(QWidget* Parent = nullptr);
  ~TCheckListBoxColor() override;
  QString ClassName() const override { return QStringLiteral("TCheckListBoxColor"); }

  // The author and unit name are fixed for this class.
  void SetAuthor(const QString&) override {}
  void SetUnitFileName(const QString&) override {}

  // Appends an unchecked item.
  void AddCheckItem(const QString& Text);
  bool Checked(int Index) const;
  // Out-of-range indexes are ignored.
  void SetChecked(int Index, bool Value);

  TItemLook ItemLook(int Index) const override;
  bool HasCheckBoxes() const override { return true; }
};
