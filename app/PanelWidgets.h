#pragma once
// Small controls of the control panel that the widget set lacks: a radio group with one
// index-changed signal per change, colour swatches, a page control whose tabs wrap onto
// several rows and the status bar with fixed panels (the GL surface is in GLSurface.h). The colour
// lists and the colour button are controls of their own (ColorControls).
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "GLSurface.h"
#include "GOpglDefine.h"
#include "QColorValue.h"

class QGridLayout;
class QSlider;
class QStackedWidget;
class QToolButton;

// Group box holding one column-wrapped set of exclusive radio buttons. Setting ItemIndex from
// code raises Click exactly as the user's choice does, and only when the index changes.
class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const QString& Caption, const QStringList& Items, int Columns, int Index,
              QWidget* Parent = nullptr);
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Index);
  int Count() const { return static_cast<int>(FButtons.size()); }
  QString Item(int Index) const;

 signals:
  void Click();

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  QButtonGroup* FGroup;
  std::vector<class QRadioButton*> FButtons;
  int FItemIndex = -1;
};

// A static text used as a colour swatch: face colour, caption colour, clickable.
class TStaticText : public QLabel {
  Q_OBJECT
 public:
  TStaticText(const QString& Caption, TColor Color, TColor FontColor, QWidget* Parent = nullptr);
  TColor Color() const { return FColor; }
  void SetColor(TColor Color);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Color);
  // Shows one colour channel: Color as the face, its inverse as the caption colour and Level
  // as the caption.
  void ShowChannel(TColor Color, int Level);

 signals:
  void Click();

 protected:
  void mousePressEvent(QMouseEvent* Event) override;

 private:
  void Restyle();
  TColor FColor;
  TColor FFontColor;
};

// The three 0..255 bars of a colour being edited, each with the swatch of its channel.
struct TColorBars {
  QSlider *R, *G, *B;
  TStaticText *SwatchR, *SwatchG, *SwatchB;
  // Moves each bar to its channel of Color (a bar that moves raises its handler, which reads
  // all three), each swatch showing its channel as it goes.
  void Show(TColor Color) const;
  // The colour of the three positions; the swatches show its channels.
  TColor Read() const;
};

// Tab buttons laid out in as many rows as the width needs, over a stack of pages.
class TPageControl : public QWidget {
  Q_OBJECT
 public:
  explicit TPageControl(QWidget* Parent = nullptr);
  // Adds a page named Caption and returns it.
  QWidget* AddPage(const QString& Caption, const QString& Name);
  int PageCount() const { return static_cast<int>(FTabs.size()); }
  QString PageCaption(int Index) const;
  int ActivePageIndex() const;
  void SetActivePageIndex(int Index);
  QWidget* ActivePage() const;
  // Row of each tab after the last layout (for checking the wrap).
  int TabRow(int Index) const;

 protected:
  void resizeEvent(QResizeEvent* Event) override;

 private:
  void LayoutTabs();
  QWidget* FTabArea;
  QStackedWidget* FPages;
  std::vector<QToolButton*> FTabs;
  std::vector<int> FRows;
  QButtonGroup* FGroup;
};

// Text panels in one row, each at least its given width and wide enough for its text.
class TStatusBar : public QWidget {
  Q_OBJECT
 public:
  TStatusBar(const std::vector<int>& Widths, QWidget* Parent = nullptr);
  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  QString PanelText(int Index) const;
  void SetPanelText(int Index, const QString& Text);
  int PanelWidth(int Index) const;

 private:
  std::vector<int> FWidths;
  std::vector<QLabel*> FPanels;
};
