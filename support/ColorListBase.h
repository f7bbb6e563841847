#pragma once
// What the two colour lists share: sixty item colours kept in the settings file, a colouring
// mode, owner-drawn rows and arrow keys that can be switched off.
#include <QListWidget>
#include <QString>
#include <cstdint>

#include "ColorValue.h"
#include "PseudoRandom.h"

// How the item colours are used.
enum TColoringMode : uint8_t { cmNormal, cmFont, cmBackground };

// The look of one item: what the list paints for it.
struct TItemLook {
  bool Bold = false;
  bool Italic = false;
  int SizeDelta = 0;  // points added to the list's font
  QColor Brush;       // fills the item's text rectangle
  QColor Text;
};

class TColorListBase : public QListWidget {
  Q_OBJECT
 public:
  static constexpr int ColorCount = 60;

  // The settings section: the control's class name.
  virtual QString ClassName() const = 0;

  QString Author() const { return FAuthor; }
  virtual void SetAuthor(const QString& Value) { FAuthor = Value; }
  QString UnitFileName() const { return FUnitFileName; }
  virtual void SetUnitFileName(const QString& Value) { FUnitFileName = Value; }
  bool EnableArrowKey() const { return FEnableArrowKey; }
  void SetEnableArrowKey(bool Value) { FEnableArrowKey = Value; }
  // Whether a key that moves the selection or toggles a check raises Click (on by default).
  bool KeysRaiseClick() const { return FKeysRaiseClick; }
  void SetKeysRaiseClick(bool Value) { FKeysRaiseClick = Value; }
  TColoringMode ColoringMode() const { return FColoringMode; }
  void SetColoringMode(TColoringMode Mode);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Height);

  // Indexes 0..59 only; other indexes are ignored.
  void SetItemColor(int Index, TColor Color);
  // The colour item Index is drawn with: entry Index mod 60.
  TColor ItemColor(int Index) const;
  const TColorArray& Colors() const { return FColors; }

  // The selected item, -1 when none is; setting it makes the item current and selected.
  int ItemIndex() const;
  void SetItemIndex(int Index);

  // How item Index is drawn now (selection, check state and colouring mode).
  virtual TItemLook ItemLook(int Index) const = 0;
  // Whether the items carry a check box in front of their text.
  virtual bool HasCheckBoxes() const { return false; }

 signals:
  // The user chose an item: a left click (after a click on an item's check box has toggled
  // it), or a key that moved the selection or toggled a check while KeysRaiseClick is on.
  // Changes made from code raise nothing.
  void Click();

 protected:
  explicit TColorListBase(QWidget* Parent);
  // The construction steps that need the class's name: unit name, default colours, author,
  // then the stored colours.
  void Initialize(const QString& UnitName);
  // Stores the colours in the class's section; derived destructors call it.
  void SaveColors() noexcept;
  // The colours of an item in the normal mode, before the colouring mode applies.
  void NormalColors(bool Selected, QColor& Brush, QColor& Text) const;
  void ApplyColoring(int Index, bool Selected, TItemLook& Look) const;

  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

 private:
  bool DropsKey(const QKeyEvent* Event) const;
  void LoadColors();

  TColorArray FColors;
  TColoringMode FColoringMode = cmNormal;
  QString FAuthor;
  QString FUnitFileName;
  bool FEnableArrowKey = false;
  bool FKeysRaiseClick = true;
  int FItemHeight = 16;
};
