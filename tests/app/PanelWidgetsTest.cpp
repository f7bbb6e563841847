// The panel's own controls: notifications from code, swatch colours, wrapping tabs.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "PanelWidgets.h"

TEST(RadioGroupTest, ClickFiresOncePerChangeFromCodeOrUser) {
  TRadioGroup group(QStringLiteral("Projection Mode"),
                    {QStringLiteral("Ortho2D"), QStringLiteral("Ortho"), QStringLiteral("Frustum"),
                     QStringLiteral("Perspective")},
                    2, 2);
  QSignalSpy clicks(&group, &TRadioGroup::Click);
  EXPECT_EQ(group.ItemIndex(), 2);  // the design index raises nothing
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(group.Count(), 4);
  EXPECT_EQ(group.Item(3), QStringLiteral("Perspective"));
  EXPECT_EQ(group.Item(9), QString());

  group.SetItemIndex(3);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(group.ItemIndex(), 3);
  group.SetItemIndex(3);  // same value: no notification
  EXPECT_EQ(clicks.count(), 1);

  // The user's click on another button notifies once, with the index already set.
  int seen = -1;
  QObject::connect(&group, &TRadioGroup::Click, [&] { seen = group.ItemIndex(); });
  group.show();
  auto buttons = group.findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 4);
  buttons[0]->click();
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_EQ(seen, 0);
  buttons[0]->click();  // already selected
  EXPECT_EQ(clicks.count(), 2);

  // -1 clears the selection (one notification); out-of-range indexes clear it too.
  group.SetItemIndex(-1);
  EXPECT_EQ(clicks.count(), 3);
  EXPECT_EQ(group.ItemIndex(), -1);
  for (auto* b : buttons) EXPECT_FALSE(b->isChecked());
  group.SetItemIndex(7);
  EXPECT_EQ(clicks.count(), 3);
  group.SetItemIndex(1);
  EXPECT_EQ(clicks.count(), 4);
  EXPECT_TRUE(buttons[1]->isChecked());
}

TEST(RadioGroupTest, ItemsRunDownTheColumns) {
  TRadioGroup group(QStringLiteral("View Selectrion"),
                    {QStringLiteral("User"), QStringLiteral("Front"), QStringLiteral("Back"),
                     QStringLiteral("Right"), QStringLiteral("Left"), QStringLiteral("Top"),
                     QStringLiteral("Bottom")},
                    2, 0);
  group.resize(300, 200);
  group.show();
  QTest::qWait(10);
  auto buttons = group.findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 7);
  // Four rows in the first column, three in the second.
  EXPECT_EQ(buttons[0]->x(), buttons[3]->x());
  EXPECT_LT(buttons[3]->x(), buttons[4]->x());
  EXPECT_EQ(buttons[4]->y(), buttons[0]->y());
}

TEST(SwatchTest, SwatchesKeepWindowsColourValues) {
  EXPECT_EQ(ColorToQColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
  EXPECT_EQ(QColorToColor(QColor(0x40, 0x80, 0xFF)), 0x00FF8040);

  TStaticText swatch(QStringLiteral("R"), 0x0000FF, 0xFFFF00);
  EXPECT_EQ(swatch.palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(swatch.palette().color(QPalette::WindowText), QColor(0, 255, 255));
  QSignalSpy clicks(&swatch, &TStaticText::Click);
  swatch.show();
  QTest::mouseClick(&swatch, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseClick(&swatch, Qt::RightButton);
  EXPECT_EQ(clicks.count(), 1);

  swatch.ShowChannel(0x00FF00, 255);  // one channel: its colour, the inverse caption, the level
  EXPECT_EQ(swatch.Color(), 0x00FF00);
  EXPECT_EQ(swatch.FontColor(), 0xFF00FF);
  EXPECT_EQ(swatch.text(), QStringLiteral("255"));
}

TEST(PageControlTest, TabsWrapOntoRowsAndSelectTheirPage) {
  TPageControl pages;
  pages.resize(309, 400);
  const char* captions[] = {"GLManager", "GLCamera",  "GLLighter", "GLVector",
                            "Material",  "TavRaster", "GLTexturer"};
  for (const char* c : captions) pages.AddPage(QString::fromLatin1(c), QString::fromLatin1(c));
  pages.show();
  QTest::qWait(10);
  EXPECT_EQ(pages.PageCount(), 7);
  EXPECT_EQ(pages.PageCaption(4), QStringLiteral("Material"));
  EXPECT_EQ(pages.ActivePageIndex(), 0);
  EXPECT_EQ(pages.TabRow(0), 0);
  EXPECT_GT(pages.TabRow(6), 0) << "seven tabs do not fit one row of 309 pixels";
  for (int i = 1; i < 7; ++i) EXPECT_GE(pages.TabRow(i), pages.TabRow(i - 1));

  pages.SetActivePageIndex(4);
  EXPECT_EQ(pages.ActivePage()->objectName(), QStringLiteral("Material"));
  pages.SetActivePageIndex(12);  // ignored
  EXPECT_EQ(pages.ActivePageIndex(), 4);
}

TEST(StatusBarTest, PanelsHaveFixedWidthsAndIgnoreBadIndexes) {
  TStatusBar bar({100, 70, 200});
  bar.resize(600, 24);
  bar.show();
  QTest::qWait(10);
  EXPECT_EQ(bar.PanelCount(), 3);
  EXPECT_EQ(bar.PanelWidth(2), 200);
  bar.SetPanelText(1, QStringLiteral("FOV:52.0"));
  bar.SetPanelText(3, QStringLiteral("nowhere"));
  EXPECT_EQ(bar.PanelText(1), QStringLiteral("FOV:52.0"));
  EXPECT_EQ(bar.PanelText(3), QString());
}

TEST(StatusBarTest, PanelsGrowToFitTheirTextsAndNeverShrinkBelowTheirWidths) {
  QWidget window;
  auto* box = new QVBoxLayout(&window);
  auto* bar = new TStatusBar({100, 70, 200, 70});
  box->addWidget(bar);
  window.resize(300, 24);
  window.show();
  QTest::qWait(10);
  auto panel = [bar](int Index) {
    return bar->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(Index));
  };
  // Text of this platform's fonts that the given widths cut short.
  const QString eye = QStringLiteral("D:123.5, e(-115.0,110.0,-115.0)->v(-100.0,100.0,-100.0)");
  bar->SetPanelText(2, eye);
  bar->SetPanelText(3, QStringLiteral("Angle:-260.0"));
  bar->SetPanelText(1, QStringLiteral("FOV:5.0"));
  QTest::qWait(10);
  for (int i : {2, 3}) {
    const QLabel* p = panel(i);
    EXPECT_GE(p->width(), p->sizeHint().width()) << i;
    EXPECT_GE(p->contentsRect().width(), p->fontMetrics().horizontalAdvance(p->text())) << i;
  }
  EXPECT_GT(bar->PanelWidth(2), 200);
  EXPECT_EQ(bar->PanelWidth(1), 70);  // its text fits: as wide as it was made
  const int wide = bar->PanelWidth(2);
  bar->SetPanelText(2, QStringLiteral("D:1.0"));
  EXPECT_EQ(bar->PanelWidth(2), wide);  // does not jump back
  // However wide the panels grow, the bar does not make the window wider.
  EXPECT_LE(window.minimumSizeHint().width(), 300);
}
