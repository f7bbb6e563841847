#pragma once
// The "GL Calls" window: the chosen view's OpenGL calls as text, live, its numbers dragged up or
// down with the mouse (or stepped with + and - after Tab), a hint under the text, and the state
// copied or saved as C.
#include <QAbstractScrollArea>
#include <QWidget>
#include <functional>

#include "GLCallsText.h"

class QComboBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTimer;

// The text, painted line by line in a fixed-width font; cells are coloured and react to the
// mouse, the rest can be selected and copied.
class TGLCallsView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit TGLCallsView(QWidget* Parent = nullptr);

  // Replaces the text; the scroll position, the selection and the current cell stay.
  void SetText(TGLCallsText Text);
  const TGLCallsText& Text() const { return FText; }
  bool HasSelection() const;
  QString SelectedText() const;
  void SelectAll();
  void ClearSelection();
  // Where the cell stands, in the viewport's coordinates.
  QRect CellRect(const TGLCallsCell& Cell) const;
  // The cell Tab last went to, or -1.
  int CurrentCell() const { return FCurrent; }
  void SetCurrentCell(int Index);
  // The choice menu of the last click on an enumeration (nullptr when none is open).
  class QMenu* ChoiceMenu() const {
    return FMenu;
  }

  // What the window does with the learner's actions.
  std::function<bool(const TGLCallsCell&)> IsEditable;
  std::function<void(const TGLCallsCell&, int Steps)> OnDrag;
  std::function<void()> OnDragEnd;
  std::function<void(const TGLCallsCell&, GLenum Choice)> OnChoose;
  std::function<void(const TGLCallsCell*)> OnHover;
  std::function<void()> OnCopyAsC;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  bool focusNextPrevChild(bool Next) override;

 private:
  struct TPos {
    int Line = 0, Column = 0;
    bool operator<(const TPos& O) const {
      return Line < O.Line || (Line == O.Line && Column < O.Column);
    }
    bool operator==(const TPos& O) const { return Line == O.Line && Column == O.Column; }
  };
  TPos PosAt(QPoint Point) const;
  const TGLCallsCell* CellAtPoint(QPoint Point) const;
  bool Editable(const TGLCallsCell& Cell) const { return IsEditable && IsEditable(Cell); }
  void UpdateScrollBars();
  void ShowChoices(const TGLCallsCell& Cell);
  // One step up or down on the current cell, as a drag of one step.
  void StepCurrent(int Steps);
  void EnsureVisible(const TGLCallsCell& Cell);
  int LineHeight() const;
  qreal CharWidth() const;

  TGLCallsText FText;
  TPos FAnchor, FCaret;
  bool FSelecting = false;
  // The drag in progress: the cell as it was when pressed.
  bool FDragging = false, FDragMoved = false;
  TGLCallsCell FDrag;
  int FPressY = 0, FSteps = 0;
  int FHover = -1;
  int FCurrent = -1;
  QMenu* FMenu = nullptr;
};

class TGLCallsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TGLCallsWindow(QWidget* Owner);

  // A new capture: the text follows once the frame is done.
  void RecordChanged();
  // Shows the last capture now.
  void ShowRecord();
  QFileDialog* SaveDialog() const { return FSaveDialog; }

  QComboBox* ViewBox() const { return FViewBox; }
  QPushButton* CopyButton() const { return FCopy; }
  QPushButton* SaveButton() const { return FSave; }
  TGLCallsView* View() const { return FView; }
  QLabel* Hint() const { return FHint; }

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  void ShowHint(const TGLCallsCell* Cell);
  QComboBox* FViewBox;
  QPushButton *FCopy, *FSave;
  TGLCallsView* FView;
  QLabel* FHint;
  QTimer* FRefresh;
  QFileDialog* FSaveDialog;
};
