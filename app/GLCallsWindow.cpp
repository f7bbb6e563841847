#include "GLCallsWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "GLCalls.h"
#include "OpglCamera.h"
#include "frmOpgl.h"

namespace {

// Pixels of mouse travel per step of a drag.
constexpr int PixelsPerStep = 4;
constexpr int Margin = 4;

QFont FixedFont() {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(12);
  return font;
}

QString ChoiceName(const TCellRule& Rule, std::size_t Index) {
  if (Index < Rule.ChoiceNames.size()) return QString::fromUtf8(Rule.ChoiceNames[Index]);
  return QString::fromStdString(EnumText(Rule.Choices[Index]));
}

int ChoiceIndex(const TCellRule& Rule, double Value) {
  for (std::size_t i = 0; i < Rule.Choices.size(); ++i)
    if (static_cast<double>(Rule.Choices[i]) == Value) return static_cast<int>(i);
  return 0;
}

}  // namespace

// ---- the text ------------------------------------------------------------------------------

TGLCallsView::TGLCallsView(QWidget* Parent) : QAbstractScrollArea(Parent) {
  setFont(FixedFont());
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  QPalette colours = viewport()->palette();
  colours.setColor(QPalette::Base, QColor(0xFB, 0xFB, 0xF6));
  viewport()->setPalette(colours);
  viewport()->setAutoFillBackground(true);
}

int TGLCallsView::LineHeight() const {
  return fontMetrics().height();
}

qreal TGLCallsView::CharWidth() const {
  return std::max<qreal>(1, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('M')));
}

void TGLCallsView::SetText(TGLCallsText Text) {
  // The current cell stays where it stood, when a cell still stands there.
  int line = -1, column = -1;
  if (FCurrent >= 0 && FCurrent < static_cast<int>(FText.Cells.size())) {
    line = FText.Cells[static_cast<std::size_t>(FCurrent)].Line;
    column = FText.Cells[static_cast<std::size_t>(FCurrent)].Column;
  }
  FText = std::move(Text);
  FCurrent = -1;
  FHover = -1;
  for (std::size_t i = 0; i < FText.Cells.size(); ++i)
    if (FText.Cells[i].Line == line && FText.Cells[i].Column == column)
      FCurrent = static_cast<int>(i);
  UpdateScrollBars();
  viewport()->update();
}

void TGLCallsView::UpdateScrollBars() {
  int widest = 0;
  for (const std::string& line : FText.Lines) widest = std::max(widest, int(line.size()));
  const int h = static_cast<int>(FText.Lines.size()) * LineHeight() + 2 * Margin;
  const int w = static_cast<int>(std::ceil(widest * CharWidth())) + 2 * Margin;
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setSingleStep(LineHeight());
  verticalScrollBar()->setRange(0, std::max(0, h - viewport()->height()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(static_cast<int>(std::ceil(CharWidth())));
  horizontalScrollBar()->setRange(0, std::max(0, w - viewport()->width()));
}

void TGLCallsView::resizeEvent(QResizeEvent* Event) {
  QAbstractScrollArea::resizeEvent(Event);
  UpdateScrollBars();
}

QRect TGLCallsView::CellRect(const TGLCallsCell& Cell) const {
  return QRectF(Margin + Cell.Column * CharWidth() - horizontalScrollBar()->value(),
                Margin + Cell.Line * LineHeight() - verticalScrollBar()->value(),
                Cell.Length * CharWidth(), LineHeight())
      .toAlignedRect();
}

TGLCallsView::TPos TGLCallsView::PosAt(QPoint Point) const {
  const int y = Point.y() + verticalScrollBar()->value() - Margin;
  const int x = Point.x() + horizontalScrollBar()->value() - Margin;
  TPos pos;
  pos.Line = std::clamp(y / LineHeight(), 0, std::max(0, int(FText.Lines.size()) - 1));
  const int length = FText.Lines.empty() ? 0 : int(FText.Lines[std::size_t(pos.Line)].size());
  pos.Column = std::clamp(static_cast<int>((x + CharWidth() / 2) / CharWidth()), 0, length);
  return pos;
}

const TGLCallsCell* TGLCallsView::CellAtPoint(QPoint Point) const {
  const int y = Point.y() + verticalScrollBar()->value() - Margin;
  const int x = Point.x() + horizontalScrollBar()->value() - Margin;
  if (y < 0 || x < 0) return nullptr;
  const int line = y / LineHeight(), column = static_cast<int>(x / CharWidth());
  if (const TGLCallsCell* cell = FText.CellAt(line, column)) return cell;
  // A one- or two-digit number is a small target: the character beside it counts too.
  for (int beside : {column - 1, column + 1})
    if (const TGLCallsCell* cell = FText.CellAt(line, beside); cell && cell->Length <= 2)
      return cell;
  return nullptr;
}

bool TGLCallsView::HasSelection() const {
  return !(FAnchor == FCaret);
}

QString TGLCallsView::SelectedText() const {
  if (!HasSelection()) return QString();
  const TPos from = std::min(FAnchor, FCaret), to = std::max(FAnchor, FCaret);
  QStringList lines;
  for (int l = from.Line; l <= to.Line && l < int(FText.Lines.size()); ++l) {
    const QString line = QString::fromStdString(FText.Lines[std::size_t(l)]);
    const int start = l == from.Line ? from.Column : 0;
    const int end = l == to.Line ? to.Column : int(line.size());
    lines << line.mid(start, std::max(0, end - start));
  }
  return lines.join(QLatin1Char('\n'));
}

void TGLCallsView::SelectAll() {
  FAnchor = {};
  FCaret.Line = std::max(0, int(FText.Lines.size()) - 1);
  FCaret.Column = FText.Lines.empty() ? 0 : int(FText.Lines.back().size());
  viewport()->update();
}

void TGLCallsView::ClearSelection() {
  FCaret = FAnchor;
  viewport()->update();
}

void TGLCallsView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  const int lh = LineHeight(), ascent = fontMetrics().ascent();
  const qreal cw = CharWidth();
  const int top = verticalScrollBar()->value(), left = horizontalScrollBar()->value();
  const int first = std::max(0, (top - Margin) / lh);
  const int last = std::min(int(FText.Lines.size()) - 1, (top + viewport()->height()) / lh + 1);
  const TPos from = std::min(FAnchor, FCaret), to = std::max(FAnchor, FCaret);
  const QColor text(0x20, 0x20, 0x20), comment(0x4A, 0x75, 0x4A), number(0x10, 0x40, 0xC0),
      choice(0x90, 0x20, 0x90), selection = palette().color(QPalette::Highlight);
  // Cells by line, so each line is drawn piece by piece, every piece at its own column.
  std::vector<std::vector<std::size_t>> cells(FText.Lines.size());
  for (std::size_t i = 0; i < FText.Cells.size(); ++i) {
    const int line = FText.Cells[i].Line;
    if (line >= 0 && line < int(cells.size())) cells[std::size_t(line)].push_back(i);
  }
  for (int l = first; l <= last; ++l) {
    const QString line = QString::fromStdString(FText.Lines[std::size_t(l)]);
    const int y = Margin + l * lh - top;
    const qreal x0 = Margin - left;
    if (HasSelection() && l >= from.Line && l <= to.Line) {
      const int start = l == from.Line ? from.Column : 0;
      const int end = l == to.Line ? to.Column : int(line.size()) + 1;
      painter.fillRect(QRectF(x0 + start * cw, y, (end - start) * cw, lh), selection.lighter(160));
    }
    const int commentAt = static_cast<int>(line.indexOf(QStringLiteral("/*")));
    auto plain = [&](int From, int To) {
      for (int c = From; c < To;) {
        // A run of one colour: code, or the comment from "/*" on.
        const bool inComment = commentAt >= 0 && c >= commentAt;
        const int end = inComment || commentAt < c ? To : std::min(To, commentAt);
        painter.setPen(inComment ? comment : text);
        painter.drawText(QPointF(x0 + c * cw, y + ascent), line.mid(c, end - c));
        c = end;
      }
    };
    int column = 0;
    for (std::size_t i : cells[std::size_t(l)]) {
      const TGLCallsCell& cell = FText.Cells[i];
      plain(column, cell.Column);
      const bool editable = Editable(cell);
      const bool isChoice = cell.Rule && !cell.Rule->Choices.empty();
      const bool active = int(i) == FHover || int(i) == FCurrent ||
                          (FDragging && FDrag.Line == cell.Line && FDrag.Column == cell.Column);
      const QRectF r(x0 + cell.Column * cw, y, cell.Length * cw, lh);
      if (active && editable) painter.fillRect(r, QColor(0xFF, 0xF0, 0xA0));
      painter.setPen(editable ? (isChoice ? choice : number) : text);
      painter.drawText(QPointF(r.left(), y + ascent), line.mid(cell.Column, cell.Length));
      if (editable) {
        QPen pen(isChoice ? choice : number);
        pen.setStyle(isChoice ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(r.left(), r.bottom() - 1), QPointF(r.right(), r.bottom() - 1));
      }
      if (int(i) == FCurrent && hasFocus()) {
        painter.setPen(QPen(number, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(-1, 0, 0, -1));
      }
      column = cell.Column + cell.Length;
    }
    plain(column, int(line.size()));
  }
}

void TGLCallsView::mousePressEvent(QMouseEvent* Event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = Event->position().toPoint();
  const TGLCallsCell* cell = CellAtPoint(at);
  if (Event->button() == Qt::RightButton) {
    if (cell && Editable(*cell) && !cell->Rule->Choices.empty()) ShowChoices(*cell);
    return;
  }
  if (Event->button() != Qt::LeftButton) return;
  if (cell && Editable(*cell)) {
    FDragging = true;
    FDragMoved = false;
    FDrag = *cell;
    FPressY = at.y();
    FSteps = 0;
    FCurrent = static_cast<int>(cell - FText.Cells.data());
    viewport()->update();
    return;
  }
  FSelecting = true;
  FAnchor = FCaret = PosAt(at);
  viewport()->update();
}

void TGLCallsView::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint at = Event->position().toPoint();
  if (FDragging && (Event->buttons() & Qt::LeftButton)) {
    const double travel = double(FPressY - at.y()) / PixelsPerStep;
    const int steps = static_cast<int>(travel >= 0 ? std::floor(travel) : std::ceil(travel));
    if (steps != FSteps) {
      FSteps = steps;
      FDragMoved = true;
      if (!FDrag.Rule->Choices.empty()) {
        // An enumeration steps through its choices.
        const int n = static_cast<int>(FDrag.Rule->Choices.size());
        const int index = std::clamp(ChoiceIndex(*FDrag.Rule, FDrag.Value) + steps, 0, n - 1);
        if (OnChoose) OnChoose(FDrag, FDrag.Rule->Choices[std::size_t(index)]);
      } else if (OnDrag) {
        OnDrag(FDrag, steps);
      }
    }
    return;
  }
  if (FSelecting && (Event->buttons() & Qt::LeftButton)) {
    FCaret = PosAt(at);
    viewport()->update();
    return;
  }
  const TGLCallsCell* cell = CellAtPoint(at);
  const int hover = cell ? static_cast<int>(cell - FText.Cells.data()) : -1;
  if (hover != FHover) {
    FHover = hover;
    const bool editable = cell && Editable(*cell);
    viewport()->setCursor(!editable                     ? Qt::IBeamCursor
                          : cell->Rule->Choices.empty() ? Qt::SizeVerCursor
                                                        : Qt::PointingHandCursor);
    if (OnHover) OnHover(cell);
    viewport()->update();
  }
}

void TGLCallsView::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  if (FDragging) {
    FDragging = false;
    const TGLCallsCell cell = FDrag;
    if (OnDragEnd) OnDragEnd();
    if (!FDragMoved && !cell.Rule->Choices.empty()) ShowChoices(cell);
    viewport()->update();
    return;
  }
  FSelecting = false;
}

void TGLCallsView::leaveEvent(QEvent* Event) {
  QAbstractScrollArea::leaveEvent(Event);
  if (FHover >= 0) {
    FHover = -1;
    if (OnHover) OnHover(nullptr);
    viewport()->update();
  }
}

void TGLCallsView::ShowChoices(const TGLCallsCell& Cell) {
  delete FMenu;
  FMenu = new QMenu(this);
  const TCellRule& rule = *Cell.Rule;
  for (std::size_t i = 0; i < rule.Choices.size(); ++i) {
    QAction* action = FMenu->addAction(ChoiceName(rule, i));
    action->setCheckable(true);
    action->setChecked(static_cast<double>(rule.Choices[i]) == Cell.Value);
    const GLenum choice = rule.Choices[i];
    connect(action, &QAction::triggered, this, [this, Cell, choice] {
      if (OnChoose) OnChoose(Cell, choice);
    });
  }
  connect(FMenu, &QMenu::aboutToHide, this, [this] {
    if (FMenu) FMenu->deleteLater();
    FMenu = nullptr;
  });
  FMenu->popup(viewport()->mapToGlobal(CellRect(Cell).bottomLeft()));
}

void TGLCallsView::SetCurrentCell(int Index) {
  if (Index < -1 || Index >= static_cast<int>(FText.Cells.size())) return;
  FCurrent = Index;
  if (Index >= 0) {
    const TGLCallsCell& cell = FText.Cells[std::size_t(Index)];
    EnsureVisible(cell);
    if (OnHover) OnHover(&cell);
  }
  viewport()->update();
}

void TGLCallsView::EnsureVisible(const TGLCallsCell& Cell) {
  const QRect r = CellRect(Cell);
  QScrollBar* v = verticalScrollBar();
  if (r.top() < 0) v->setValue(v->value() + r.top() - Margin);
  if (r.bottom() > viewport()->height())
    v->setValue(v->value() + r.bottom() - viewport()->height() + Margin);
  QScrollBar* h = horizontalScrollBar();
  if (r.left() < 0) h->setValue(h->value() + r.left() - Margin);
  if (r.right() > viewport()->width())
    h->setValue(h->value() + r.right() - viewport()->width() + Margin);
}

bool TGLCallsView::focusNextPrevChild(bool Next) {
  // Tab goes from number to number inside the text.
  const int n = static_cast<int>(FText.Cells.size());
  for (int k = 1; k <= n; ++k) {
    const int i = ((FCurrent < 0 ? (Next ? -1 : 0) : FCurrent) + (Next ? k : -k) + n) % n;
    if (Editable(FText.Cells[std::size_t(i)])) {
      SetCurrentCell(i);
      return true;
    }
  }
  return QAbstractScrollArea::focusNextPrevChild(Next);
}

void TGLCallsView::StepCurrent(int Steps) {
  if (FCurrent < 0 || FCurrent >= static_cast<int>(FText.Cells.size())) return;
  const TGLCallsCell cell = FText.Cells[std::size_t(FCurrent)];
  if (!Editable(cell)) return;
  if (!cell.Rule->Choices.empty()) {
    const int n = static_cast<int>(cell.Rule->Choices.size());
    const int index = std::clamp(ChoiceIndex(*cell.Rule, cell.Value) + Steps, 0, n - 1);
    if (OnChoose) OnChoose(cell, cell.Rule->Choices[std::size_t(index)]);
    return;
  }
  if (OnDrag) OnDrag(cell, Steps);
  if (OnDragEnd) OnDragEnd();
}

void TGLCallsView::keyPressEvent(QKeyEvent* Event) {
  const bool control = Event->modifiers() & Qt::ControlModifier;
  if (Event->matches(QKeySequence::Copy)) {
    if (HasSelection())
      QGuiApplication::clipboard()->setText(SelectedText());
    else if (OnCopyAsC)
      OnCopyAsC();
    return;
  }
  if (Event->matches(QKeySequence::SelectAll)) {
    SelectAll();
    return;
  }
  switch (Event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      // Tab goes from number to number; Ctrl+Tab leaves the text.
      if (control) QAbstractScrollArea::focusNextPrevChild(Event->key() == Qt::Key_Tab);
      return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      if (!control) StepCurrent(1);
      return;
    case Qt::Key_Minus:
      if (!control) StepCurrent(-1);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (FCurrent >= 0 && FCurrent < static_cast<int>(FText.Cells.size())) {
        const TGLCallsCell& cell = FText.Cells[std::size_t(FCurrent)];
        if (Editable(cell) && !cell.Rule->Choices.empty()) ShowChoices(cell);
      }
      return;
    case Qt::Key_Home:
      verticalScrollBar()->setValue(0);
      return;
    case Qt::Key_End:
      verticalScrollBar()->setValue(verticalScrollBar()->maximum());
      return;
    default:
      QAbstractScrollArea::keyPressEvent(Event);
  }
}

// ---- the window ----------------------------------------------------------------------------

TGLCallsWindow::TGLCallsWindow(QWidget* Owner) : QWidget(Owner, Qt::Window) {
  setObjectName(QStringLiteral("GLCallsWindow"));
  setWindowTitle(QStringLiteral("GL Calls"));
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(6, 6, 6, 6);
  box->setSpacing(4);

  auto* top = new QHBoxLayout();
  auto* label = new QLabel(QStringLiteral("View"), this);
  FViewBox = new QComboBox(this);
  FViewBox->setObjectName(QStringLiteral("cbGLCallsView"));
  for (const QString& name : ViewNames) FViewBox->addItem(name);
  label->setBuddy(FViewBox);
  FCopy = new QPushButton(QStringLiteral("Copy as C"), this);
  FCopy->setObjectName(QStringLiteral("btnCopyAsC"));
  FSave = new QPushButton(QString::fromUtf8("Save as C\u2026"), this);
  FSave->setObjectName(QStringLiteral("btnSaveAsC"));
  top->addWidget(label);
  top->addWidget(FViewBox);
  top->addStretch(1);
  top->addWidget(FCopy);
  top->addWidget(FSave);
  box->addLayout(top);

  FView = new TGLCallsView(this);
  FView->setObjectName(QStringLiteral("GLCallsText"));
  box->addWidget(FView, 1);
  FHint = new QLabel(this);
  FHint->setObjectName(QStringLiteral("lbGLCallsHint"));
  FHint->setWordWrap(true);
  FHint->setMinimumHeight(2 * FHint->fontMetrics().height() + 4);
  FHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  box->addWidget(FHint);
  ShowHint(nullptr);

  FRefresh = new QTimer(this);
  FRefresh->setSingleShot(true);
  FRefresh->setInterval(0);
  connect(FRefresh, &QTimer::timeout, this, [this] { ShowRecord(); });

  FSaveDialog = new QFileDialog(this);
  FSaveDialog->setObjectName(QStringLiteral("SaveCDialog"));
  FSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  FSaveDialog->setOption(QFileDialog::DontUseNativeDialog);
  FSaveDialog->setDefaultSuffix(QStringLiteral("c"));

  connect(FViewBox, &QComboBox::currentIndexChanged, this, [](int Index) {
    if (GLCalls) GLCalls->SetChosenView(Index);
  });
  connect(FCopy, &QPushButton::clicked, this, [] {
    if (GLCalls) GLCalls->CopyAsC();
  });
  connect(FSave, &QPushButton::clicked, this, [] {
    if (GLCalls) GLCalls->SaveAsC();
  });
  FView->IsEditable = [](const TGLCallsCell& Cell) { return GLCalls && GLCalls->IsEditable(Cell); };
  FView->OnDrag = [](const TGLCallsCell& Cell, int Steps) {
    if (GLCalls) GLCalls->DragCell(Cell, Steps);
  };
  FView->OnDragEnd = [] {
    if (GLCalls) GLCalls->EndDrag();
  };
  FView->OnChoose = [](const TGLCallsCell& Cell, GLenum Choice) {
    if (GLCalls) GLCalls->ChooseCell(Cell, Choice);
  };
  FView->OnHover = [this](const TGLCallsCell* Cell) { ShowHint(Cell); };
  FView->OnCopyAsC = [] {
    if (GLCalls) GLCalls->CopyAsC();
  };
}

void TGLCallsWindow::RecordChanged() {
  if (isVisible() && !FRefresh->isActive()) FRefresh->start();
}

void TGLCallsWindow::ShowRecord() {
  if (!GLCalls) return;
  FView->SetText(GLCalls->Text());
  // In the single mode the window shows the view the frame shows.
  const bool single = MainForm && MainForm->ckbxSinglePort->isChecked();
  const QSignalBlocker quiet(FViewBox);
  FViewBox->setEnabled(!single);
  FViewBox->setCurrentIndex(single && CurrentView ? CurrentView->Kind : GLCalls->ChosenView());
}

void TGLCallsWindow::ShowHint(const TGLCallsCell* Cell) {
  if (Cell && GLCalls) {
    FHint->setText(GLCalls->CellHint(*Cell));
    return;
  }
  FHint->setText(QStringLiteral(
      "Drag a blue number up or down to change it, click a purple name to choose; Tab goes "
      "from number to number, + and - step it. Ctrl+C copies the selection, or all as C."));
}

void TGLCallsWindow::closeEvent(QCloseEvent* Event) {
  QWidget::closeEvent(Event);
  // Closed by the learner it stays closed; closed with every window at the program's end it
  // opens again at the next start.
  if (GLCalls && Event->spontaneous()) GLCalls->Close();
}

void TGLCallsWindow::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_F2 && Event->modifiers() == Qt::NoModifier) {
    if (GLCalls) GLCalls->Close();
    return;
  }
  if (Event->matches(QKeySequence::Copy)) {
    if (FView->HasSelection())
      QGuiApplication::clipboard()->setText(FView->SelectedText());
    else if (GLCalls)
      GLCalls->CopyAsC();
    return;
  }
  QWidget::keyPressEvent(Event);
}
