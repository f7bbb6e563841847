// The program as a keyboard user meets it: each key reaches the window's key table once, even
// when it opens a real modal box; Tab always moves on; clicks and keys on the lists, radio
// groups and colour buttons change what they show only through their handlers.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "OpglLight.h"
#include "Reports.h"
#include "WindowFixture.h"

namespace {

void Key(Qt::Key Code, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target ? target : Form, Code, Modifiers);
}

// Where item Row's text is, in the list's viewport.
QPoint ItemPoint(TColorListBase* List, int Row) {
  const QRect rect = List->visualItemRect(List->item(Row));
  return QPoint(rect.right() - 4, rect.center().y());
}

// A press and a release of Button on item Row.
void ClickItem(TColorListBase* List, int Row, Qt::MouseButton Button = Qt::LeftButton) {
  QTest::mouseClick(List->viewport(), Button, {}, ItemPoint(List, Row));
}

}  // namespace

class KeyboardFocusTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
  }
};

TEST_F(KeyboardFocusTest, KeyThatOpensARealBoxRunsTheKeyTableOnce) {
  // The real message box, closed with Esc each time one is up.
  int boxes = 0;
  SetMessageHandler([&boxes](const QString& Text) {
    ++boxes;
    ShowMessageBox(Text);
  });
  QTimer closer;
  closer.setInterval(100);
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Escape);
  });
  closer.start();
  for (QWidget* focus : {static_cast<QWidget*>(Form->ckbxBlend), static_cast<QWidget*>(Form)}) {
    boxes = 0;
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    focus->setFocus();
    const int frames = Form->FramesRequested;
    Key(Qt::Key_F1);
    EXPECT_EQ(boxes, 1) << focus->objectName().toStdString();
    EXPECT_EQ(Form->FramesRequested, frames + 1);
    EXPECT_TRUE(Form->isVisible());
  }
  closer.stop();
}

TEST_F(KeyboardFocusTest, ListsSelectOnlyThroughTheirClickHandler) {
  Form->PageControl1->SetActivePageIndex(2);  // "GLLighter"
  TCheckListBoxColor* lights = Form->ckbxLights;
  ClickItem(lights, 3);
  ASSERT_EQ(lights->ItemIndex(), 3);
  const TColor light3 = GLLighter->GLColorToColor(GLLighter->GetDiffuse(3));
  ASSERT_EQ(Form->btnLightColor->Color(), light3);
  const TGLColor4f light5 = GLLighter->GetDiffuse(5);

  // Right and middle presses leave the selection.
  ClickItem(lights, 5, Qt::RightButton);
  ClickItem(lights, 5, Qt::MiddleButton);
  QTest::mouseDClick(lights->viewport(), Qt::RightButton, {}, ItemPoint(lights, 6));
  EXPECT_EQ(lights->ItemIndex(), 3);
  // A nudge of a bar now changes Light3, never Light5.
  Form->tkbarR->setValue(Form->tkbarR->value() == 0 ? 1 : 0);
  EXPECT_EQ(GLLighter->GetDiffuse(5).R, light5.R);
  EXPECT_EQ(GLLighter->GetDiffuse(5).G, light5.G);

  // Home, End, Page Up and Page Down move the selection and run the handler: the bars and the
  // "Light Info" button follow the new light.
  lights->setFocus();
  const int last = lights->count() - 1;
  Key(Qt::Key_End);
  ASSERT_EQ(lights->ItemIndex(), last);
  EXPECT_EQ(Form->btnLightColor->Color(), GLLighter->GLColorToColor(GLLighter->GetDiffuse(last)));
  Key(Qt::Key_Home);
  ASSERT_EQ(lights->ItemIndex(), 0);
  EXPECT_EQ(Form->tkbarG->value(),
            (GLLighter->GLColorToColor(GLLighter->GetDiffuse(0)) >> 8) & 0xFF);
  // The arrows stay off; Space toggles the light's box and switches the light with it.
  Key(Qt::Key_Down);
  EXPECT_EQ(lights->ItemIndex(), 0);
  const bool on = lights->Checked(0);
  Key(Qt::Key_Space);
  EXPECT_NE(lights->Checked(0), on);
  EXPECT_EQ(GLLighter->IsLightOn(0), !on);
  Key(Qt::Key_Space);
  EXPECT_EQ(GLLighter->IsLightOn(0), on);

  // The preset list: right and middle presses select nothing; its keys move the selection
  // without the click handler.
  Form->PageControl1->SetActivePageIndex(4);  // "Material"
  TListBoxColor* presets = Form->lbxOtherMaterials;
  ClickItem(presets, 1);
  ASSERT_EQ(presets->ItemIndex(), 1);
  const QString hint = Form->stDiffuse->toolTip();
  ClickItem(presets, 4, Qt::RightButton);
  ClickItem(presets, 4, Qt::MiddleButton);
  EXPECT_EQ(presets->ItemIndex(), 1);
  presets->setFocus();
  Key(Qt::Key_End);
  EXPECT_EQ(presets->ItemIndex(), presets->count() - 1);
  EXPECT_EQ(Form->stDiffuse->toolTip(), hint);

  // The texture list: the same buttons rule, and a key that moves its selection shows the
  // texture it selects.
  Form->PageControl1->SetActivePageIndex(6);  // "GLTexturer"
  TListBoxColor* textures = Form->lbxTextures;
  ASSERT_GE(textures->count(), 3) << "the start-up textures are beside the tests";
  ClickItem(textures, 0);
  ClickItem(textures, 2, Qt::RightButton);
  ClickItem(textures, 2, Qt::MiddleButton);
  EXPECT_EQ(textures->ItemIndex(), 0);
  textures->setFocus();
  Key(Qt::Key_End);
  EXPECT_EQ(textures->ItemIndex(), textures->count() - 1);
  EXPECT_TRUE(Form->edTxtWH->text().endsWith(QStringLiteral("TinNon.jpg")))
      << Form->edTxtWH->text().toStdString();
  ClickItem(textures, 0);
  Form->setFocus();
}

TEST_F(KeyboardFocusTest, ClickedRadioItemTakesTheArrowKeys) {
  Form->ResetViews();
  Form->PageControl1->SetActivePageIndex(1);  // "GLCamera"
  auto buttons = Form->rdgpCurView->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 7);
  ASSERT_TRUE(QTest::qWaitFor([&] { return buttons[1]->isVisible(); }));
  // On its circle: a radio button takes clicks on its circle and caption only.
  QTest::mouseClick(buttons[1], Qt::LeftButton, {}, QPoint(8, buttons[1]->height() / 2));
  ASSERT_EQ(Form->rdgpCurView->ItemIndex(), 1);
  ASSERT_EQ(CurrentView, &FrontView);
  const TGLPoint4f eye = UserView.Eye;
  Key(Qt::Key_Down);
  EXPECT_LT(UserView.Eye.Y, eye.Y);              // the camera stepped down
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 2);  // and "Back", below "Front", is selected
  EXPECT_EQ(CurrentView, &BackView);
  // The arrows step through the items in order, from one column to the next and round.
  QTest::mouseClick(buttons[3], Qt::LeftButton, {}, QPoint(8, buttons[3]->height() / 2));
  ASSERT_EQ(Form->rdgpCurView->ItemIndex(), 3);  // "Right", the last of its column
  Key(Qt::Key_Down);
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 4);  // "Left"
  EXPECT_EQ(CurrentView, &LeftView);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 6);
  Key(Qt::Key_Down);
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 0);  // round to "User"
  Key(Qt::Key_Up);
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 6);
  Key(Qt::Key_Left);
  EXPECT_EQ(Form->rdgpCurView->ItemIndex(), 5);
  EXPECT_EQ(QApplication::focusWidget(), buttons[5]);
  Form->rdgpCurView->SetItemIndex(0);
  Form->ResetViews();
  Form->setFocus();
}

TEST_F(KeyboardFocusTest, TabLeavesTheKeyDeafBars) {
  Form->PageControl1->SetActivePageIndex(2);  // "GLLighter"
  for (QSlider* bar : {Form->tkbarR, Form->tkbarCutOff, Form->tkbarFallOff}) {
    bar->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), bar);
    const int position = bar->value();
    Key(Qt::Key_Right);
    Key(Qt::Key_End);
    EXPECT_EQ(bar->value(), position);  // still deaf to the keys that move it
    Key(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), bar) << bar->objectName().toStdString();
    bar->setFocus();
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), bar) << bar->objectName().toStdString();
  }
  Form->setFocus();
}

TEST_F(KeyboardFocusTest, RealPictureDialogNamesItsFiltersOnceAndLeavesNoPopupBehind) {
  // Pictures and a file without a dot in a folder of their own.
  const QString folder = TempPath(QStringLiteral("pictures"));
  ASSERT_TRUE(QDir().mkpath(folder));
  QImage red(8, 8, QImage::Format_RGB888);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(folder + QStringLiteral("/Test1.bmp"), "BMP"));
  ASSERT_TRUE(red.save(folder + QStringLiteral("/Test2.bmp"), "BMP"));
  {
    QFile plain(folder + QStringLiteral("/README"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  }
  Form->Dialogs = RealDialogs(Form, Form->ColorDialog1);
  QFileDialog* dialog = Form->OpenPictureDialog1;
  dialog->setDirectory(folder);
  QStringList shown;
  int listed = -1;
  bool popupUp = false;
  QTimer::singleShot(200, [&] {
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (types)
      for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
    // "All(*.*)" lists every file, the one without a dot too.
    auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
    if (view) {
      (void)QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; }, 2000);
      listed = view->model()->rowCount(view->rootIndex());
    }
    // Typing a name opens the completion list; Return takes the name and closes the dialog.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("Tes"));
    (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000);
    popupUp = QApplication::activePopupWidget() != nullptr;
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("t1.bmp"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  ASSERT_TRUE(Form->ChooseOpenPicture());
  EXPECT_EQ(shown, (QStringList{QStringLiteral("All(*.*)"), QStringLiteral("All Raster File")}));
  EXPECT_EQ(listed, 3);
  EXPECT_TRUE(popupUp);
  EXPECT_EQ(Form->OpenPicture.FileName, folder + QStringLiteral("/Test1.bmp"));
  EXPECT_EQ(Form->OpenPicture.FilterIndex, 1);
  QTest::qWait(50);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  // The save dialog answers the filter chosen by its description: its extension is used.
  Form->RasterPicture = red;
  QFileDialog* save = Form->SavePictureDialog1;
  save->setDirectory(folder);
  QTimer::singleShot(200, [&] {
    auto* types = save->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->itemText(1), QStringLiteral("JPEG(*.jpg)"));
    types->setCurrentIndex(1);
    // Activated as the user's choice is, so the dialog takes it.
    emit types->activated(1);
    auto* name = save->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(folder + QStringLiteral("/saved"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  Form->Button4->click();
  EXPECT_EQ(Form->SavePicture.FilterIndex, 2);
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/saved.jpg")));
  Form->activateWindow();
}
