// The colour-aware lists and the colour button: default palette, item colours and looks,
// painting, arrow keys, the settings sections and the button's face.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "AppPaths.h"
#include "CheckListBoxColor.h"
#include "ColorButton.h"
#include "IniFile.h"
#include "ListBoxColor.h"
#include "Messages.h"
#include "QColorValue.h"
#include "TestFiles.h"

namespace {

class ColorControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    AppPaths::SetSettingsFileName(Settings());
  }
  void TearDown() override { AppPaths::SetSettingsFileName(QString()); }
  QString Settings() const { return Dir.filePath(QStringLiteral("OpglProject.ini")); }
  QTemporaryDir Dir;
};

// Three rows of a shown list, 16 pixels each, with a black background.
template <class List>
void ShowRows(List& L, int Count) {
  QPalette p = L.palette();
  p.setColor(QPalette::Base, Qt::black);
  p.setColor(QPalette::Text, Qt::white);
  L.setPalette(p);
  for (int i = 0; i < Count; ++i) L.addItem(QStringLiteral("Item%1").arg(i));
  L.resize(160, 100);
  L.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&L));
}

// The colour at the right end of row Row of a list's viewport (away from the text).
QColor RowColor(QListWidget& L, int Row) {
  const QImage shot = L.viewport()->grab().toImage();
  return shot.pixelColor(shot.width() - 6, Row * 16 + 8);
}

}  // namespace

TEST_F(ColorControlsTest, DefaultPaletteWrapsEverySixtyItemsAndIgnoresOtherIndexes) {
  TListBoxColor list;
  ASSERT_EQ(list.Colors().size(), 60u);
  bool allEqual = true;
  for (int i = 0; i < 60; ++i) {
    const TColor c = list.Colors()[static_cast<std::size_t>(i)];
    for (int shift : {0, 8, 16}) {
      const int channel = (c >> shift) & 0xFF;
      EXPECT_EQ(channel % 12, 0) << i;  // 12, 24, ..., 240
      EXPECT_GE(channel, 12) << i;
      EXPECT_LE(channel, 240) << i;
    }
    if (c != list.Colors()[0]) allEqual = false;
  }
  EXPECT_FALSE(allEqual);
  EXPECT_EQ(list.Author(), QStringLiteral("Talven"));
  EXPECT_EQ(list.UnitFileName(), QStringLiteral("ListBoxColor"));
  EXPECT_FALSE(list.EnableArrowKey());
  EXPECT_EQ(list.ColoringMode(), cmNormal);

  list.SetItemColor(0, 0x0000FF);
  list.SetItemColor(59, 0x00FF00);
  EXPECT_NO_THROW(list.SetItemColor(60, 0x123456));  // ignored
  list.SetItemColor(-1, 0x123456);                   // ignored
  EXPECT_EQ(list.ItemColor(0), 0x0000FF);
  EXPECT_EQ(list.ItemColor(60), 0x0000FF);  // item 60 repeats item 0
  EXPECT_EQ(list.ItemColor(119), 0x00FF00);
  for (TColor c : list.Colors()) EXPECT_NE(c, 0x123456);

  // Item 60 of a long list is painted in colour 0.
  list.SetColoringMode(cmBackground);
  for (int i = 0; i < 61; ++i) list.addItem(QString::number(i));
  EXPECT_EQ(list.ItemLook(60).Brush, QColor(255, 0, 0));

  // The check list keeps its own author and unit name whatever is assigned.
  TCheckListBoxColor lights;
  lights.SetAuthor(QStringLiteral("someone"));
  lights.SetUnitFileName(QStringLiteral("other"));
  EXPECT_EQ(lights.Author(), QStringLiteral("Talven"));
  EXPECT_EQ(lights.UnitFileName(), QStringLiteral("CheckListBoxColor"));
  list.SetAuthor(QStringLiteral("someone"));
  EXPECT_EQ(list.Author(), QStringLiteral("someone"));
}

TEST_F(ColorControlsTest, ItemLooksFollowSelectionCheckStateAndColouringMode) {
  const QColor red(255, 0, 0), cyan(0, 255, 255);

  TCheckListBoxColor lights;
  lights.SetColoringMode(cmFont);
  lights.AddCheckItem(QStringLiteral("Light0"));
  lights.AddCheckItem(QStringLiteral("Light1"));
  lights.SetItemColor(0, 0x0000FF);
  lights.SetChecked(1, true);
  EXPECT_TRUE(lights.Checked(1));
  EXPECT_FALSE(lights.Checked(7));
  lights.SetChecked(7, true);  // ignored

  // Nothing selected: unchecked italic, checked plain; font mode colours the text only.
  TItemLook look = lights.ItemLook(0);
  EXPECT_TRUE(look.Italic);
  EXPECT_FALSE(look.Bold);
  EXPECT_EQ(look.Text, red);
  EXPECT_EQ(look.Brush, lights.palette().color(QPalette::Base));
  look = lights.ItemLook(1);
  EXPECT_FALSE(look.Italic);
  EXPECT_FALSE(look.Bold);

  // An unchecked selected item stays italic and never bold; its brush is its colour and its
  // text the inverse.
  lights.SetItemIndex(0);
  EXPECT_EQ(lights.ItemIndex(), 0);
  look = lights.ItemLook(0);
  EXPECT_TRUE(look.Italic);
  EXPECT_FALSE(look.Bold);
  EXPECT_EQ(look.Brush, red);
  EXPECT_EQ(look.Text, cyan);
  // A checked selected item is bold, not italic.
  lights.SetItemIndex(1);
  look = lights.ItemLook(1);
  EXPECT_TRUE(look.Bold);
  EXPECT_FALSE(look.Italic);
  EXPECT_EQ(look.SizeDelta, 0);

  // The plain list: the selected item two points larger and bold, the others italic.
  TListBoxColor presets;
  presets.SetColoringMode(cmBackground);
  presets.addItem(QStringLiteral("Brass"));
  presets.addItem(QStringLiteral("Bronze"));
  presets.SetItemColor(1, 0x0000FF);
  presets.SetItemIndex(1);
  look = presets.ItemLook(1);
  EXPECT_TRUE(look.Bold);
  EXPECT_FALSE(look.Italic);
  EXPECT_EQ(look.SizeDelta, 2);
  EXPECT_EQ(look.Brush, red);
  EXPECT_EQ(look.Text, cyan);
  look = presets.ItemLook(0);
  EXPECT_TRUE(look.Italic);
  EXPECT_FALSE(look.Bold);
  EXPECT_EQ(look.SizeDelta, 0);
  EXPECT_EQ(look.Text, presets.palette().color(QPalette::Text));  // background mode: text as is

  // The normal mode uses the list's own colours, highlighted when selected.
  presets.SetColoringMode(cmNormal);
  EXPECT_EQ(presets.ItemLook(1).Brush, presets.palette().color(QPalette::Highlight));
  EXPECT_EQ(presets.ItemLook(1).Text, presets.palette().color(QPalette::HighlightedText));
  EXPECT_EQ(presets.ItemLook(0).Brush, presets.palette().color(QPalette::Base));

  presets.SetItemIndex(-1);
  EXPECT_EQ(presets.ItemIndex(), -1);
  presets.SetItemIndex(5);  // no such item: nothing selected
  EXPECT_EQ(presets.ItemIndex(), -1);
}

TEST_F(ColorControlsTest, RowsArePaintedSixteenPixelsHighInTheirColours) {
  TListBoxColor list;
  list.SetColoringMode(cmBackground);
  list.SetItemColor(0, 0x0000FF);
  list.SetItemColor(1, 0x00FF00);
  list.SetItemColor(2, 0xFF0000);
  ShowRows(list, 3);
  EXPECT_EQ(list.visualItemRect(list.item(1)).top(), 16);
  EXPECT_EQ(RowColor(list, 0), QColor(255, 0, 0));
  EXPECT_EQ(RowColor(list, 1), QColor(0, 255, 0));
  EXPECT_EQ(RowColor(list, 2), QColor(0, 0, 255));

  // Font mode: only the selected row is filled with its colour; the others keep the base.
  TCheckListBoxColor lights;
  lights.SetColoringMode(cmFont);
  lights.SetItemColor(0, 0x00FFFF);
  lights.SetItemColor(1, 0xFF00FF);
  QPalette p = lights.palette();
  p.setColor(QPalette::Base, Qt::black);
  lights.setPalette(p);
  lights.AddCheckItem(QStringLiteral("Light0"));
  lights.AddCheckItem(QStringLiteral("Light1"));
  lights.resize(160, 100);
  lights.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lights));
  lights.SetItemIndex(1);
  EXPECT_EQ(RowColor(lights, 0), QColor(0, 0, 0));
  EXPECT_EQ(RowColor(lights, 1), QColor(255, 0, 255));
}

TEST_F(ColorControlsTest, FocusedListShowsItsCurrentItemWithADottedRectangle) {
  QWidget window;
  auto* box = new QVBoxLayout(&window);
  auto* list = new TListBoxColor();
  auto* other = new QLineEdit();
  box->addWidget(list);
  box->addWidget(other);
  list->SetColoringMode(cmBackground);
  list->SetItemColor(0, 0x0000FF);
  list->SetItemColor(1, 0x00FF00);
  for (int i = 0; i < 3; ++i) list->addItem(QStringLiteral("Item%1").arg(i));
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  list->SetItemIndex(1);
  other->setFocus();
  QTest::qWait(10);
  const QRect row = list->visualItemRect(list->item(1));
  const QPoint corner = row.topLeft();
  QImage shot = list->viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(corner), QColor(0, 255, 0));  // not focused: no rectangle

  list->setFocus();
  QTest::qWait(10);
  shot = list->viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(corner), QColor(255, 0, 255));  // the green inverted
  EXPECT_EQ(shot.pixelColor(corner + QPoint(1, 0)), QColor(0, 255, 0));
  EXPECT_EQ(shot.pixelColor(corner + QPoint(0, 2)), QColor(255, 0, 255));
  EXPECT_EQ(shot.pixelColor(corner + QPoint(1, 1)), QColor(0, 255, 0));  // the colours stay
  const QPoint row0 = list->visualItemRect(list->item(0)).topLeft();
  EXPECT_EQ(shot.pixelColor(row0), QColor(255, 0, 0));  // only the current item has it

  // The check list draws it around the item's text, after the box.
  TCheckListBoxColor lights;
  lights.SetColoringMode(cmFont);
  lights.SetItemColor(0, 0x00FFFF);
  lights.AddCheckItem(QStringLiteral("Light0"));
  lights.resize(160, 60);
  lights.show();
  lights.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&lights));
  lights.SetItemIndex(0);
  lights.setFocus();
  QTest::qWait(10);
  shot = lights.viewport()->grab().toImage();
  const QRect light0 = lights.visualItemRect(lights.item(0));
  // Selected in the font mode: the row is filled with yellow, the dots are its inverse.
  int dots = 0;
  for (int x = light0.left() + 20; x < light0.right(); ++x)
    if (shot.pixelColor(x, light0.top()) == QColor(0, 0, 255)) ++dots;
  EXPECT_GT(dots, 40);
  EXPECT_NE(shot.pixelColor(light0.topLeft()), QColor(0, 0, 255));  // not over the box
}

TEST_F(ColorControlsTest, ArrowKeysAreDroppedUnlessEnabledButClicksSelect) {
  TCheckListBoxColor list;
  for (int i = 0; i < 3; ++i) list.AddCheckItem(QStringLiteral("Light%1").arg(i));
  list.resize(160, 100);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  QSignalSpy clicks(&list, &TColorListBase::Click);
  list.SetItemIndex(0);
  EXPECT_EQ(clicks.count(), 0);  // set from code: no click
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left})
    QTest::keyClick(&list, key);
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(clicks.count(), 0);

  // A click selects the item under it and notifies once.
  const QRect row2 = list.visualItemRect(list.item(2));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    QPoint(row2.right() - 10, row2.center().y()));
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(clicks.count(), 1);

  // Right and middle presses select nothing and notify nothing.
  const QRect row1 = list.visualItemRect(list.item(1));
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mouseClick(list.viewport(), button, {}, QPoint(row1.right() - 10, row1.center().y()));
    QTest::mouseDClick(list.viewport(), button, {}, QPoint(row1.right() - 10, row1.center().y()));
  }
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(clicks.count(), 1);

  // A key that moves the selection notifies as a click does, unless the list is told not to.
  list.SetEnableArrowKey(true);
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(clicks.count(), 2);
  QTest::keyClick(&list, Qt::Key_Space);  // toggles the current item's check
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(clicks.count(), 3);
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(clicks.count(), 4);
  QTest::keyClick(&list, Qt::Key_Up);  // already at the top: nothing moved
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(clicks.count(), 4);
  list.SetKeysRaiseClick(false);
  QTest::keyClick(&list, Qt::Key_End);
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(clicks.count(), 4);  // keys move the selection without a click

  // A dropped key is not passed on to the parent either.
  QWidget parent;
  struct KeySink : QWidget {
    using QWidget::QWidget;
    int Keys = 0;
    void keyPressEvent(QKeyEvent*) override { ++Keys; }
  } sink;
  TListBoxColor inner(&sink);
  inner.addItem(QStringLiteral("a"));
  sink.show();
  QTest::keyClick(&inner, Qt::Key_Down);
  EXPECT_EQ(sink.Keys, 0);
}

TEST_F(ColorControlsTest, ColoursAreStoredPerClassAndReadOnlyFromAnExistingFile) {
  const TColorArray defaults = MakeColorArray(60);
  {
    // No file yet: nothing is read and nothing written before the control goes away.
    auto list = std::make_unique<TListBoxColor>();
    EXPECT_FALSE(QFileInfo::exists(Settings()));
    list->SetItemColor(3, 0x00ABCDEF);
  }
  {
    TIniFile ini(Settings());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TListBoxColor"), QStringLiteral("ClrNum"), 0), 60);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TListBoxColor"), QStringLiteral("Clr3"), 0),
              0x00ABCDEF);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("TListBoxColor"), QStringLiteral("Clr59"), 0),
              defaults[59]);
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("TCheckListBoxColor")));
  }

  // "ClrNum" = 5 with five keys still gives 60 colours; the rest keep their defaults.
  WriteAll(Settings(),
           "[TCheckListBoxColor]\nClrNum=5\nClr0=1\nClr1=2\nClr2=3\nClr3=4\nClr4=$FF\n");
  {
    TCheckListBoxColor lights;
    ASSERT_EQ(lights.Colors().size(), 60u);
    EXPECT_EQ(lights.Colors()[0], 1);
    EXPECT_EQ(lights.Colors()[4], 255);
    for (std::size_t i = 5; i < 60; ++i) EXPECT_EQ(lights.Colors()[i], defaults[i]) << i;
  }

  // The two plain lists share one section: both read it, the last one destroyed writes it.
  WriteAll(Settings(), "[TListBoxColor]\nClrNum=60\nClr0=7\n");
  auto first = std::make_unique<TListBoxColor>();
  auto second = std::make_unique<TListBoxColor>();
  EXPECT_EQ(first->Colors()[0], 7);
  EXPECT_EQ(second->Colors()[0], 7);
  first->SetItemColor(0, 111);
  second->SetItemColor(0, 222);
  second.reset();
  first.reset();
  EXPECT_EQ(
      TIniFile(Settings()).ReadInteger(QStringLiteral("TListBoxColor"), QStringLiteral("Clr0"), 0),
      111);
}

TEST_F(ColorControlsTest, AnUnwritableSettingsFileIsReportedWhenAListGoesAway) {
  const QString missing = Dir.filePath(QStringLiteral("no/such/folder/OpglProject.ini"));
  AppPaths::SetSettingsFileName(missing);
  QStringList shown;
  const TMessageHandler old = SetMessageHandler([&](const QString& Text) { shown << Text; });
  { TListBoxColor list; }
  SetMessageHandler(old);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Unable to write to "))) << shown[0].toStdString();
  EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ColorControlsTest, ColourButtonPaintsItsFaceInsideTheFrameAndReportsWhatItDrew) {
  QWidget window;
  auto* box = new QVBoxLayout(&window);
  auto* button = new TColorButton(QStringLiteral("Font Color"));
  auto* edit = new QLineEdit();
  auto* other = new QPushButton(QStringLiteral("Other"));
  box->addWidget(button);
  box->addWidget(edit);
  box->addWidget(other);
  button->setFixedSize(100, 30);
  EXPECT_EQ(button->Color(), 0x00FFFF00);      // aqua
  EXPECT_EQ(button->FontColor(), 0x00FF0000);  // blue
  button->SetAuthor(QStringLiteral("someone"));
  EXPECT_EQ(button->Author(), QStringLiteral("Talven"));

  QRect drawn;
  int state = -1;
  button->OnDrawButton = [&](TColorButton* Control, const QRect& Rect, int State) {
    EXPECT_EQ(Control, button);
    drawn = Rect;
    state = State;
  };
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other->setFocus();
  QTest::qWait(10);
  button->SetColor(0x0000FF);
  QImage face = button->grab().toImage();
  EXPECT_EQ(drawn, QRect(2, 2, 96, 26));  // inside the standard frame
  EXPECT_EQ(state, 0);
  EXPECT_EQ(face.pixelColor(6, 6), QColor(255, 0, 0));
  EXPECT_NE(face.pixelColor(0, 15), QColor(255, 0, 0));

  // Pressed: a one-pixel frame and the face moved down and right by one.
  button->setDown(true);
  face = button->grab().toImage();
  EXPECT_EQ(drawn, QRect(2, 2, 98, 28));
  EXPECT_EQ(state, bdsPressed);
  EXPECT_EQ(face.pixelColor(2, 2), QColor(255, 0, 0));
  EXPECT_NE(face.pixelColor(1, 1), QColor(255, 0, 0));
  button->setDown(false);

  // Focused: a one-pixel rectangle around the frame first, and a dotted rectangle of inverted
  // pixels 4 inside the whole button, with the face untinted.
  face = button->grab().toImage();
  EXPECT_EQ(face.pixelColor(4, 4), QColor(255, 0, 0));  // no focus: no dots
  button->setFocus();
  QTest::qWait(10);
  EXPECT_TRUE(button->FIsFocused);
  face = button->grab().toImage();
  EXPECT_EQ(drawn, QRect(3, 3, 94, 24));
  EXPECT_EQ(state, bdsFocused);
  const QColor red(255, 0, 0), cyan(0, 255, 255);
  EXPECT_EQ(face.pixelColor(4, 4), cyan);  // the corner dot
  EXPECT_EQ(face.pixelColor(5, 4), red);
  EXPECT_EQ(face.pixelColor(6, 4), cyan);
  EXPECT_EQ(face.pixelColor(4, 6), cyan);
  EXPECT_EQ(face.pixelColor(95, 25), cyan);  // right and bottom edges: (91 + 21) from the corner
  EXPECT_EQ(face.pixelColor(94, 25), red);
  EXPECT_EQ(face.pixelColor(3, 4), red);  // nothing outside the rectangle
  EXPECT_EQ(face.pixelColor(5, 5), red);  // nor inside it
  EXPECT_EQ(face.pixelColor(96, 25), red);
  EXPECT_EQ(face.pixelColor(95, 26), red);
  // After a mouse press too.
  other->setFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(button->grab().toImage().pixelColor(4, 4), cyan);

  // The default button is the active one while a control that is not a button has the
  // focus, and not while another button has it.
  button->setDefault(true);
  edit->setFocus();
  QTest::qWait(10);
  EXPECT_TRUE(button->FIsFocused);
  other->setFocus();
  QTest::qWait(10);
  EXPECT_FALSE(button->FIsFocused);

  button->setEnabled(false);
  button->grab();
  EXPECT_EQ(state, bdsDisabled);
}
