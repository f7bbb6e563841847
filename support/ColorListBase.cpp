#include "ColorListBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "AppPaths.h"
#include "ColorSettings.h"
#include "FocusRect.h"
#include "IniFile.h"
#include "Messages.h"
#include "QColorValue.h"

namespace {

// Paints each row as the list's ItemLook says: the list's background (and the check box),
// then the text rectangle in the item's brush with the text from its left and top edges.
class TColorItemDelegate : public QStyledItemDelegate {
 public:
  explicit TColorItemDelegate(TColorListBase* List) : QStyledItemDelegate(List), FList(List) {}

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
             const QModelIndex& Index) const override {
    QStyleOptionViewItem opt = Option;
    initStyleOption(&opt, Index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();

    Painter->save();
    Painter->fillRect(opt.rect, opt.palette.color(QPalette::Base));
    QRect text = opt.rect;
    if (FList->HasCheckBoxes()) {
      QStyleOptionViewItem check = opt;
      check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
      check.state &= ~QStyle::State_HasFocus;
      check.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
      // A standard box whatever the list's colours: a black tick on white.
      check.palette.setColor(QPalette::Base, Qt::white);
      check.palette.setColor(QPalette::Window, Qt::white);
      check.palette.setColor(QPalette::Text, Qt::black);
      check.palette.setColor(QPalette::WindowText, Qt::black);
      style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, Painter, widget);
      text.setLeft(check.rect.right() + 3);
    }

    const TItemLook look = FList->ItemLook(Index.row());
    QFont font = opt.font;
    font.setBold(look.Bold);
    font.setItalic(look.Italic);
    if (look.SizeDelta != 0) {
      if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + look.SizeDelta);
      else  // a pixel-sized font grows by the points' worth of pixels
        font.setPixelSize(font.pixelSize() +
                          qRound(look.SizeDelta * (widget ? widget->logicalDpiY() : 96) / 72.0));
    }
    Painter->fillRect(text, look.Brush);
    Painter->setClipRect(text);
    Painter->setFont(font);
    Painter->setPen(look.Text);
    Painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      Index.data(Qt::DisplayRole).toString());
    // The focused list shows which item the keys act on, over the item's own colours.
    if (FList->hasFocus() && Index == FList->currentIndex()) {
      Painter->setClipping(false);
      DrawFocusRect(*Painter, text);
    }
    Painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    QSize size = QStyledItemDelegate::sizeHint(Option, Index);
    size.setHeight(FList->ItemHeight());
    return size;
  }

 private:
  TColorListBase* FList;
};

bool IsArrowKey(int Key) {
  return Key == Qt::Key_Left || Key == Qt::Key_Up || Key == Qt::Key_Right || Key == Qt::Key_Down;
}

}  // namespace

TColorListBase::TColorListBase(QWidget* Parent) : QListWidget(Parent) {
  setItemDelegate(new TColorItemDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
}

void TColorListBase::Initialize(const QString& UnitName) {
  FUnitFileName = UnitName;
  FColors = MakeColorArray(ColorCount);
  FAuthor = QStringLiteral("Talven");
  LoadColors();
}

void TColorListBase::LoadColors() {
  // A first run has no file yet: the defaults stand.
  const QString file = AppPaths::SettingsFileName();
  if (!TIniFile::Exists(file)) return;
  ReadColorSection(TIniFile(file), ClassName(), FColors);
}

void TColorListBase::SaveColors() noexcept {
  try {
    TIniFile ini(AppPaths::SettingsFileName());
    WriteColorSection(ini, ClassName(), FColors);
    ini.UpdateFile();
  } catch (const EIniFileException& e) {
    ShowMessage(e.Message());
  } catch (...) {
    // A control going away must never take the program with it.
  }
  FColors.clear();
}

void TColorListBase::SetColoringMode(TColoringMode Mode) {
  FColoringMode = Mode;
  viewport()->update();
}

void TColorListBase::SetItemHeight(int Height) {
  FItemHeight = qMax(1, Height);
  doItemsLayout();
}

void TColorListBase::SetItemColor(int Index, TColor Color) {
  if (Index < 0 || Index >= static_cast<int>(FColors.size())) return;
  FColors.at(static_cast<std::size_t>(Index)) = Color;
  viewport()->update();
}

TColor TColorListBase::ItemColor(int Index) const {
  if (FColors.empty() || Index < 0) return 0;
  return FColors[static_cast<std::size_t>(Index) % FColors.size()];
}

int TColorListBase::ItemIndex() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void TColorListBase::SetItemIndex(int Index) {
  if (Index < 0 || Index >= count()) {
    clearSelection();
    return;
  }
  setCurrentRow(Index, QItemSelectionModel::ClearAndSelect);
}

void TColorListBase::NormalColors(bool Selected, QColor& Brush, QColor& Text) const {
  const QPalette& p = palette();
  Brush = p.color(Selected ? QPalette::Highlight : QPalette::Base);
  Text = p.color(Selected ? QPalette::HighlightedText : QPalette::Text);
}

void TColorListBase::ApplyColoring(int Index, bool Selected, TItemLook& Look) const {
  NormalColors(Selected, Look.Brush, Look.Text);
  const TColor color = ItemColor(Index);
  switch (FColoringMode) {
    case cmFont:
      Look.Text = ColorToQColor(color);
      if (Selected) {
        Look.Brush = ColorToQColor(color);
        Look.Text = ColorToQColor(InverseColor(color));
      }
      break;
    case cmBackground:
      Look.Brush = ColorToQColor(color);
      if (Selected) Look.Text = ColorToQColor(InverseColor(color));
      break;
    case cmNormal:
      break;
  }
}

bool TColorListBase::DropsKey(const QKeyEvent* Event) const {
  return !FEnableArrowKey && IsArrowKey(Event->key());
}

void TColorListBase::keyPressEvent(QKeyEvent* Event) {
  // Dropped outright: not even the parent sees it.
  if (DropsKey(Event)) return Event->accept();
  // A selection shown is a selection applied: a key that moves it or toggles a check runs the
  // click handler, unless the list takes its keys without one.
  const int row = ItemIndex();
  const QListWidgetItem* current = currentItem();
  const Qt::CheckState check = current ? current->checkState() : Qt::Unchecked;
  QListWidget::keyPressEvent(Event);
  if (!FKeysRaiseClick) return;
  const QListWidgetItem* now = currentItem();
  if (ItemIndex() != row || (now && now == current && now->checkState() != check)) emit Click();
}

void TColorListBase::keyReleaseEvent(QKeyEvent* Event) {
  if (DropsKey(Event)) return Event->accept();
  QListWidget::keyReleaseEvent(Event);
}

void TColorListBase::mousePressEvent(QMouseEvent* Event) {
  // Only the left button selects: a right or middle press would change the selection without
  // the click handler (the right press still asks for the pop-up menu, through its own event).
  if (Event->button() != Qt::LeftButton) return Event->accept();
  QListWidget::mousePressEvent(Event);
  // A press on an item's check box selects the item too, as a press anywhere on it does.
  if (const QListWidgetItem* it = itemAt(Event->position().toPoint()))
    if (row(it) != ItemIndex()) SetItemIndex(row(it));
}

void TColorListBase::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return Event->accept();
  QListWidget::mouseReleaseEvent(Event);
  emit Click();
}

void TColorListBase::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return Event->accept();
  QListWidget::mouseDoubleClickEvent(Event);
}
