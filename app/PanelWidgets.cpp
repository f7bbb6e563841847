#include "PanelWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

// ---------------------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(const QString& Caption, const QStringList& Items, int Columns, int Index,
                         QWidget* Parent)
    : QGroupBox(Caption, Parent), FGroup(new QButtonGroup(this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 4, 2);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(0);
  Columns = std::max(1, Columns);
  const int rows = (static_cast<int>(Items.size()) + Columns - 1) / Columns;
  for (int i = 0; i < Items.size(); ++i) {
    auto* button = new QRadioButton(Items[i], this);
    // A click gives the item the focus, so the arrow keys then move the selection from it.
    button->setFocusPolicy(Qt::StrongFocus);
    FGroup->addButton(button, i);
    FButtons.push_back(button);
    button->installEventFilter(this);
    // Items run down the first column, then the next, as a radio group lists them.
    grid->addWidget(button, i % rows, i / rows);
  }
  // A switch toggles the old button off and the new one on: act on the "on" half only.
  connect(FGroup, &QButtonGroup::idToggled, this, [this](int Id, bool Checked) {
    if (!Checked || Id == FItemIndex) return;
    FItemIndex = Id;
    emit Click();
  });
  if (Index >= 0 && Index < Count()) {
    FItemIndex = Index;
    const QSignalBlocker block(FGroup);
    FButtons[Index]->setChecked(true);
  }
}

void TRadioGroup::SetItemIndex(int Index) {
  if (Index < -1 || Index >= Count()) Index = -1;
  if (Index == FItemIndex) return;
  if (Index >= 0) {
    FButtons[Index]->setChecked(true);  // raises Click through idToggled
    return;
  }
  {
    const QSignalBlocker block(FGroup);
    FGroup->setExclusive(false);
    FButtons[FItemIndex]->setChecked(false);
    FGroup->setExclusive(true);
  }
  FItemIndex = -1;
  emit Click();
}

bool TRadioGroup::eventFilter(QObject* Watched, QEvent* Event) {
  // The arrows step through the items in their order, wrapping at the ends, whatever the
  // columns: Down and Right to the next item, Up and Left to the one before.
  if (Event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(Event);
    const int step = key->key() == Qt::Key_Down || key->key() == Qt::Key_Right ? 1
                     : key->key() == Qt::Key_Up || key->key() == Qt::Key_Left  ? -1
                                                                               : 0;
    const auto at = std::find(FButtons.begin(), FButtons.end(), Watched);
    if (step != 0 && at != FButtons.end() && !(key->modifiers() & Qt::ControlModifier)) {
      const int count = Count();
      const int next = (static_cast<int>(at - FButtons.begin()) + step + count) % count;
      FButtons[next]->setFocus(Qt::TabFocusReason);
      FButtons[next]->setChecked(true);  // raises Click through idToggled
      return true;
    }
  }
  return QGroupBox::eventFilter(Watched, Event);
}

QString TRadioGroup::Item(int Index) const {
  return Index >= 0 && Index < Count() ? FButtons[Index]->text() : QString();
}

// ---------------------------------------------------------------------------------------------

TStaticText::TStaticText(const QString& Caption, TColor Color, TColor FontColor, QWidget* Parent)
    : QLabel(Caption, Parent), FColor(Color), FFontColor(FontColor) {
  setAlignment(Qt::AlignCenter);
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  Restyle();
}

void TStaticText::SetColor(TColor Color) {
  FColor = Color;
  Restyle();
}

void TStaticText::SetFontColor(TColor Color) {
  FFontColor = Color;
  Restyle();
}

void TStaticText::ShowChannel(TColor Color, int Level) {
  FColor = Color;
  FFontColor = InverseColor(Color);
  setText(QString::number(Level));
  Restyle();
}

void TStaticText::mousePressEvent(QMouseEvent* Event) {
  QLabel::mousePressEvent(Event);
  if (Event->button() == Qt::LeftButton) emit Click();
}

void TStaticText::Restyle() {
  QPalette p = palette();
  p.setColor(QPalette::Window, ColorToQColor(FColor));
  p.setColor(QPalette::WindowText, ColorToQColor(FFontColor));
  setPalette(p);
}

// ---------------------------------------------------------------------------------------------

void TColorBars::Show(TColor Color) const {
  const int r = Color & 0xFF, g = (Color >> 8) & 0xFF, b = (Color >> 16) & 0xFF;
  R->setValue(r);
  SwatchR->ShowChannel(r, r);
  G->setValue(g);
  SwatchG->ShowChannel(g << 8, g);
  B->setValue(b);
  SwatchB->ShowChannel(b << 16, b);
}

TColor TColorBars::Read() const {
  const int r = R->value(), g = G->value(), b = B->value();
  SwatchR->ShowChannel(r, r);
  SwatchG->ShowChannel(g << 8, g);
  SwatchB->ShowChannel(b << 16, b);
  return r | (g << 8) | (b << 16);
}

// ---------------------------------------------------------------------------------------------

TPageControl::TPageControl(QWidget* Parent)
    : QWidget(Parent),
      FTabArea(new QWidget(this)),
      FPages(new QStackedWidget(this)),
      FGroup(new QButtonGroup(this)) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  box->addWidget(FTabArea);
  box->addWidget(FPages, 1);
  FPages->setFrameShape(QFrame::StyledPanel);
  // The stack may be shorter than its tallest page: pages scroll on their own.
  FPages->setMinimumHeight(60);
  FPages->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  FGroup->setExclusive(true);
  connect(FGroup, &QButtonGroup::idClicked, FPages, &QStackedWidget::setCurrentIndex);
}

QWidget* TPageControl::AddPage(const QString& Caption, const QString& Name) {
  // A page taller than the panel scrolls instead of making the window taller; it always takes
  // the panel's width.
  auto* scroller = new QScrollArea(FPages);
  scroller->setWidgetResizable(true);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller->setFocusPolicy(Qt::NoFocus);  // Tab goes from control to control, not to the page
  auto* page = new QWidget();
  page->setObjectName(Name);
  page->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  scroller->setWidget(page);
  FPages->addWidget(scroller);
  auto* tab = new QToolButton(FTabArea);
  tab->setText(Caption);
  tab->setCheckable(true);
  tab->setAutoRaise(false);
  tab->setFocusPolicy(Qt::NoFocus);  // tabs take no focus
  tab->setObjectName(Name + QStringLiteral("Tab"));
  FGroup->addButton(tab, static_cast<int>(FTabs.size()));
  FTabs.push_back(tab);
  if (FTabs.size() == 1) tab->setChecked(true);
  LayoutTabs();
  return page;
}

QString TPageControl::PageCaption(int Index) const {
  return Index >= 0 && Index < PageCount() ? FTabs[Index]->text() : QString();
}

int TPageControl::ActivePageIndex() const {
  return FPages->currentIndex();
}

void TPageControl::SetActivePageIndex(int Index) {
  if (Index < 0 || Index >= PageCount()) return;
  FTabs[Index]->setChecked(true);
  FPages->setCurrentIndex(Index);
}

QWidget* TPageControl::ActivePage() const {
  auto* scroller = static_cast<QScrollArea*>(FPages->currentWidget());
  return scroller ? scroller->widget() : nullptr;
}

int TPageControl::TabRow(int Index) const {
  return Index >= 0 && Index < static_cast<int>(FRows.size()) ? FRows[Index] : -1;
}

void TPageControl::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  LayoutTabs();
}

void TPageControl::LayoutTabs() {
  // Fill rows left to right, then stretch each row's tabs over the full width.
  const int width = std::max(1, this->width());
  std::vector<std::vector<int>> rows(1);
  int used = 0;
  for (int i = 0; i < PageCount(); ++i) {
    const int w = FTabs[i]->sizeHint().width() + 8;
    if (!rows.back().empty() && used + w > width) {
      rows.emplace_back();
      used = 0;
    }
    rows.back().push_back(i);
    used += w;
  }
  FRows.assign(FTabs.size(), 0);
  const int rowHeight = FTabs.empty() ? 0 : FTabs[0]->sizeHint().height();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    int natural = 0;
    for (int i : rows[r]) natural += FTabs[i]->sizeHint().width() + 8;
    int x = 0;
    for (std::size_t k = 0; k < rows[r].size(); ++k) {
      const int i = rows[r][k];
      int w = (FTabs[i]->sizeHint().width() + 8) * width / std::max(1, natural);
      if (k + 1 == rows[r].size()) w = width - x;
      FTabs[i]->setGeometry(x, static_cast<int>(r) * rowHeight, w, rowHeight);
      FRows[i] = static_cast<int>(r);
      x += w;
    }
  }
  FTabArea->setFixedHeight(static_cast<int>(rows.size()) * rowHeight);
}

// ---------------------------------------------------------------------------------------------

TStatusBar::TStatusBar(const std::vector<int>& Widths, QWidget* Parent)
    : QWidget(Parent), FWidths(Widths) {
  // Panels that grow past the window's edge are cut there; they never widen the window.
  setMinimumWidth(1);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 1, 0, 1);
  row->setSpacing(2);
  for (std::size_t i = 0; i < Widths.size(); ++i) {
    auto* panel = new QLabel(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedWidth(Widths[i]);
    panel->setTextFormat(Qt::PlainText);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    row->addWidget(panel);
    FPanels.push_back(panel);
  }
  row->addStretch(1);
}

QString TStatusBar::PanelText(int Index) const {
  return Index >= 0 && Index < PanelCount() ? FPanels[Index]->text() : QString();
}

void TStatusBar::SetPanelText(int Index, const QString& Text) {
  if (Index < 0 || Index >= PanelCount()) return;
  QLabel* panel = FPanels[Index];
  panel->setText(Text);
  // A panel is as wide as it was made, and wider when a text would not fit; it does not
  // shrink again, so texts of changing length do not make the panels jump.
  const int need = panel->sizeHint().width();
  if (need > panel->width()) panel->setFixedWidth(std::max(need, FWidths[Index]));
}

int TStatusBar::PanelWidth(int Index) const {
  return Index >= 0 && Index < PanelCount() ? FPanels[Index]->width() : 0;
}
