// The control panel's handlers in the running window: what each reads, which scene object it
// changes, what it writes back into the panel, and the chaining through notifications.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstring>

#include "BrimloLogo.h"
#include "MaterialDefine.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "Raster.h"
#include "Vector3D.h"
#include "WindowFixture.h"

namespace {

// Clicks item Row of a colour list where its text is, as the user does.
void ClickItem(TColorListBase* List, int Row) {
  const QRect rect = List->visualItemRect(List->item(Row));
  QTest::mouseClick(List->viewport(), Qt::LeftButton, {},
                    QPoint(rect.right() - 4, rect.center().y()));
}

// Sets a bar's position without raising its handler.
void PlaceBar(QSlider* Bar, int Position) {
  const QSignalBlocker quiet(Bar);
  Bar->setValue(Position);
}

bool SameMaterial(const TGLMaterial& A, const TGLMaterial& B) {
  return std::memcmp(&A, &B, sizeof A) == 0;
}

}  // namespace

class PanelHandlersTest : public WindowFixture {};

TEST_F(PanelHandlersTest, CheckAllRaisesOnlyTheHandlersOfBoxesThatChange) {
  Form->sbSellAll->click();
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>())
    EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_TRUE(GLManager->FShowXZPlane);
  const int paints = Form->FramesRequested;
  EXPECT_GT(paints, 0);
  Form->sbSellAll->click();  // nothing changes: no handler, no repaint
  EXPECT_EQ(Form->FramesRequested, paints);

  Form->sbUnSelAll->click();
  for (QCheckBox* box : Form->grpDisplay->findChildren<QCheckBox*>())
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_FALSE(GLManager->FShowXZPlane);
  EXPECT_GT(Form->FramesRequested, paints);
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}

TEST_F(PanelHandlersTest, EachDisplayBoxRepaintsOnItsOwn) {
  // The animation is paused: only the box's own handler can bring its change to the screen.
  ASSERT_FALSE(Form->Timer->isActive());
  QList<QCheckBox*> boxes = Form->grpDisplay->findChildren<QCheckBox*>();
  ASSERT_EQ(boxes.size(), 11);
  boxes << Form->ckbxSinglePort;
  for (QCheckBox* box : boxes) {
    for (int twice = 0; twice < 2; ++twice) {
      const int paints = Form->FramesRequested;
      box->click();
      EXPECT_GT(Form->FramesRequested, paints) << box->objectName().toStdString();
    }
  }
  ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
}

TEST_F(PanelHandlersTest, CanvasAndFontColoursComeFromTheColourDialog) {
  Answers.Color = 0x00336699;
  QTest::mouseClick(Form->stBkColor, Qt::LeftButton);
  EXPECT_EQ(Answers.ColorDialogs, 1);
  EXPECT_EQ(GLManager->FCanvasColor, 0x00336699);
  EXPECT_EQ(Form->stBkColor->Color(), 0x00336699);
  EXPECT_EQ(Form->stBkColor->FontColor(), 0x00CC9966);

  Answers.ColorChosen = false;  // cancelled: nothing changes
  QTest::mouseClick(Form->stBkColor, Qt::LeftButton);
  EXPECT_EQ(GLManager->FCanvasColor, 0x00336699);

  Answers.ColorChosen = true;
  Answers.Color = 0x0000FF00;
  const int paints = Form->FramesRequested;
  Form->btnFontColor->click();
  EXPECT_EQ(GLManager->GetFontColor(), 0x0000FF00);
  EXPECT_EQ(Form->btnFontColor->Color(), 0x0000FF00);
  EXPECT_EQ(Form->btnFontColor->FontColor(), 0x00FF00FF);
  EXPECT_EQ(Form->FramesRequested, paints);  // the font colour shows at the next frame

  Answers.Color = 0;
  QTest::mouseClick(Form->stBkColor, Qt::LeftButton);
}

TEST_F(PanelHandlersTest, FovBarTurnsOnlyTheUserViewPerspective) {
  Form->rdgpPrjMode->SetItemIndex(pmOrtho);
  EXPECT_EQ(UserView.Projection, pmOrtho);
  EXPECT_EQ(Form->StatusBar1->PanelText(3), QStringLiteral("Ortho"));
  Form->tkbarFov->setValue(60);
  EXPECT_EQ(UserView.Projection, pmPerspective);
  EXPECT_FLOAT_EQ(UserView.FOV, 60);
  EXPECT_EQ(FrontView.Projection, pmOrtho);
  EXPECT_EQ(TopView.Projection, pmOrtho);
  EXPECT_EQ(Form->rdgpPrjMode->ItemIndex(), pmOrtho);
  EXPECT_EQ(Form->edFov->text(), QStringLiteral("60.00"));
  EXPECT_EQ(Form->StatusBar1->PanelText(1), QStringLiteral("FOV:60.0"));

  Form->rdgpPrjMode->SetItemIndex(pmPerspective);
  Form->tkbarFov->setValue(52);
  EXPECT_FLOAT_EQ(UserView.FOV, 52);
}

TEST_F(PanelHandlersTest, ViewSelectionShowsTheChosenViewAlone) {
  Form->ckbxSinglePort->setChecked(true);
  Form->rdgpCurView->SetItemIndex(5);  // Top
  EXPECT_EQ(CurrentView, &TopView);
  EXPECT_EQ(Form->edEX->text(), FormatText("%.2f", TopView.Eye.X));
  EXPECT_EQ(Form->edEy->text(), FormatText("%.2f", TopView.Eye.Y));
  EXPECT_EQ(Form->edvz->text(), FormatText("%.2f", TopView.ViewPt.Z));
  EXPECT_EQ(Form->edEye2View->text(),
            FormatText("%.2f", GLVector->Distance(TopView.ViewPt, TopView.Eye)));
  EXPECT_EQ(Form->edVolumeD->text(), FormatText("%.2f", TopView.Far - TopView.Near));
  // Laid out for the single mode: the Top view fills the surface.
  const qreal r = Form->pbGL->devicePixelRatioF();
  EXPECT_EQ(TopView.Width, qRound(Form->pbGL->width() * r));
  Form->rdgpCurView->SetItemIndex(3);
  EXPECT_EQ(CurrentView, &RightView);
  Form->rdgpCurView->SetItemIndex(0);
  EXPECT_EQ(CurrentView, &UserView);
  Form->ckbxSinglePort->setChecked(false);
}

TEST_F(PanelHandlersTest, ScaleButtonsKeepTheScaleBetweenTheLimitsAndResetAsksFirst) {
  Form->ckbxShowVolume->setChecked(false);
  const float width = UserView.Right - UserView.Left;
  const QString shown = Form->edVW->text();
  VolumeScale = 0.1f;
  Form->sbScaleDn->click();  // 0.05 becomes 0.1; an edge of 4 leaves the volume alone
  EXPECT_FLOAT_EQ(VolumeScale, 0.1f);
  EXPECT_TRUE(Form->ckbxShowVolume->isChecked());
  EXPECT_FLOAT_EQ(UserView.Right - UserView.Left, width);

  VolumeScale = 9.98f;
  Form->sbScaleUp->click();  // over 10: back to 5
  EXPECT_FLOAT_EQ(VolumeScale, 5);
  EXPECT_FLOAT_EQ(UserView.Far - UserView.Near, 200);
  EXPECT_FLOAT_EQ(BottomView.Far - BottomView.Near, 200);
  EXPECT_EQ(Form->edVW->text(), shown);  // the buttons leave the edits alone

  Form->sbScaleDn->click();
  EXPECT_FLOAT_EQ(VolumeScale, 4.95f);

  Answers.Confirm = mrNone;  // Reset acts only on Yes
  Form->btnResetViewVolume->click();
  EXPECT_FLOAT_EQ(VolumeScale, 4.95f);
  Answers.Confirm = mrNo;
  Form->btnResetViewVolume->click();
  ASSERT_EQ(Answers.Asked.size(), 2);
  EXPECT_EQ(Answers.Asked[0], QStringLiteral("Reset All View Volume to default Volume?"));
  EXPECT_FLOAT_EQ(VolumeScale, 4.95f);
  Answers.Confirm = mrYes;
  Form->btnResetViewVolume->click();
  EXPECT_FLOAT_EQ(VolumeScale, 1);
  EXPECT_FLOAT_EQ(UserView.Far - UserView.Near, 40);
  Form->ckbxShowVolume->setChecked(false);
}

TEST_F(PanelHandlersTest, DefaultVolumeButtonChecksTheSizesOnlyWhenNotRefused) {
  Form->edVW->setText(QStringLiteral("abc"));
  Answers.Confirm = mrNo;
  Form->sbDefaultVolume->click();
  EXPECT_EQ(Answers.Asked,
            QStringList{QStringLiteral("Are you sure to chage default Volume Size?")});
  EXPECT_TRUE(Answers.Messages.isEmpty());

  Answers.Confirm = mrYes;
  Form->sbDefaultVolume->click();
  EXPECT_EQ(Answers.Messages,
            QStringList{QStringLiteral("'abc' is not a valid floating point value")});
  EXPECT_EQ(Form->edVW->text(), QStringLiteral("abc"));  // stopped before the refresh

  Form->edVW->setText(QStringLiteral("12.5"));
  Form->sbDefaultVolume->click();
  EXPECT_EQ(Form->edVW->text(), FormatText("%.2f", CurrentView->Right - CurrentView->Left));
}

TEST_F(PanelHandlersTest, ClickingALightMovesTheControlsWhoseHandlersWriteItBack) {
  GLLighter->SetDiffuse(2, GLColor4f(0.2f, 0.4f, 0.6f, 1));
  GLLighter->SetCutOff(2, 180);
  GLLighter->SetExponent(2, 7.5f);
  GLLighter->SetLightType(2, ltOmitLight);
  Form->rdgpLightType->SetItemIndex(ltOmitLight);
  GLLighter->SetLightPosition(2, GLPoint4f(1.3f, -2, 3, 1));
  PlaceBar(Form->tkbarCutOff, 5);
  PlaceBar(Form->tkbarR, 0);
  ClickItem(Form->ckbxLights, 2);
  ASSERT_EQ(Form->ckbxLights->ItemIndex(), 2);

  // The bars show the diffuse colour, and their handlers wrote it back as whole levels.
  EXPECT_EQ(Form->rdgpLightColor->ItemIndex(), 1);
  EXPECT_EQ(Form->tkbarR->value(), 51);
  EXPECT_EQ(Form->tkbarG->value(), 102);
  EXPECT_EQ(Form->tkbarB->value(), 153);
  EXPECT_EQ(Form->stG->text(), QStringLiteral("102"));
  EXPECT_EQ(Form->stG->Color(), 102 << 8);
  EXPECT_EQ(Form->stB->Color(), 153 << 16);
  EXPECT_EQ(Form->btnLightColor->Color(), 0x00996633);
  EXPECT_EQ(Form->btnLightColor->FontColor(), 0x006699CC);
  EXPECT_EQ(Form->ckbxLights->ItemColor(2), 0x00996633);
  const TGLColor4f diffuse = GLLighter->GetDiffuse(2);
  EXPECT_FLOAT_EQ(diffuse.R, 51 / 255.0f);
  EXPECT_FLOAT_EQ(diffuse.B, 153 / 255.0f);
  EXPECT_FLOAT_EQ(diffuse.A, 0.5f);

  // Clicked again, no bar moves: the click itself shows the channels.
  Form->stG->SetColor(0);
  Form->stB->SetColor(0);
  ClickItem(Form->ckbxLights, 2);
  EXPECT_EQ(Form->stG->Color(), 102 << 8);
  EXPECT_EQ(Form->stB->Color(), 153 << 16);

  // Cut-off 180 moves the bar to 180 and writes 180 back; 7.5 rounds to the even 8.
  EXPECT_EQ(Form->tkbarCutOff->value(), 180);
  EXPECT_EQ(Form->edShineDia->text(), QStringLiteral("180.00"));
  EXPECT_FLOAT_EQ(GLLighter->GetCutOff(2), 180);
  EXPECT_EQ(Form->tkbarFallOff->value(), 8);
  EXPECT_FLOAT_EQ(GLLighter->GetExponent(2), 8);
  EXPECT_EQ(Form->edFallOff->text(), QStringLiteral("8.00"));
  EXPECT_EQ(Form->edPosX->text(), QStringLiteral("1.3"));
  EXPECT_EQ(Form->edPosY->text(), QStringLiteral("-2.0"));
  EXPECT_EQ(
      Form->edLightDist->text(),
      FormatText("%.2f", GLVector->Distance(GLLighter->GetLightPosition(2), UserView.ViewPt)));

  // A cut-off of 2.6 puts the bar at its minimum 5, which is written back. The light type is
  // set after the colours, so a spot light's colours end with alpha 1 again.
  GLLighter->SetCutOff(3, 2.6f);
  GLLighter->SetLightType(3, ltSpotLight);
  PlaceBar(Form->tkbarCutOff, 100);
  ClickItem(Form->ckbxLights, 3);
  EXPECT_EQ(Form->tkbarCutOff->value(), 5);
  EXPECT_FLOAT_EQ(GLLighter->GetCutOff(3), 5);
  EXPECT_EQ(Form->edShineDia->text(), QStringLiteral("5.00"));
  EXPECT_EQ(Form->rdgpLightType->ItemIndex(), ltSpotLight);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(3).A, 1);

  // Clicking an item's box switches the light with the box.
  Form->pbGL->makeCurrent();
  const bool wasOn = GLLighter->IsLightOn(4);
  const QRect row = Form->ckbxLights->visualItemRect(Form->ckbxLights->item(4));
  QStyleOptionViewItem option;
  option.initFrom(Form->ckbxLights);
  option.rect = row;
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = Form->ckbxLights->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator,
                                                              &option, Form->ckbxLights);
  QTest::mouseClick(Form->ckbxLights->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(Form->ckbxLights->Checked(4), !wasOn);
  Form->pbGL->makeCurrent();
  EXPECT_EQ(GLLighter->IsLightOn(4), !wasOn);
}

TEST_F(PanelHandlersTest, LightButtonsBarsAndTheirMissingSelection) {
  Form->SpeedButton2->click();  // X: every light off
  for (int k = 0; k < 8; ++k) {
    EXPECT_FALSE(Form->ckbxLights->Checked(k)) << k;
    EXPECT_FALSE(GLLighter->IsLightOn(k)) << k;
  }
  Form->SpeedButton1->click();  // V: switched on in OpenGL directly
  Form->pbGL->makeCurrent();
  for (int k = 0; k < 8; ++k) {
    EXPECT_TRUE(Form->ckbxLights->Checked(k)) << k;
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + k)) << k;
    EXPECT_TRUE(GLLighter->IsLightOn(k)) << k;
  }

  // The ambient bars change the ambient colour and leave the list's colour alone.
  ClickItem(Form->ckbxLights, 1);
  const TColor listColor = Form->ckbxLights->ItemColor(1);
  Form->rdgpLightColor->SetItemIndex(0);
  Form->tkbarG->setValue(200);
  EXPECT_FLOAT_EQ(GLLighter->GetAmbient(1).G, 200 / 255.0f);
  EXPECT_EQ(Form->ckbxLights->ItemColor(1), listColor);
  Form->rdgpLightColor->SetItemIndex(2);
  EXPECT_EQ(Form->btnLightColor->Color(), GLColorToColor(GLLighter->GetSpecular(1)));

  // "Change Color" colours the list item and the diffuse light.
  Answers.Color = 0x0000FF00;
  Form->ChangeColor1->trigger();
  EXPECT_EQ(Form->ckbxLights->ItemColor(1), 0x0000FF00);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(1).G, 1);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(1).R, 0);

  // Without a selected light, "Change Color" and "LIght Type" do nothing.
  Form->ckbxLights->SetItemIndex(-1);
  Form->ChangeColor1->trigger();
  EXPECT_EQ(Answers.ColorDialogs, 1);
  std::vector<int> types;
  for (int k = 0; k < 8; ++k) types.push_back(GLLighter->GetLightType(k));
  Form->rdgpLightType->SetItemIndex(Form->rdgpLightType->ItemIndex() == 0 ? 1 : 0);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(GLLighter->GetLightType(k), types[k]) << k;
  const QString shine = Form->edShineDia->text();
  Form->tkbarCutOff->setValue(Form->tkbarCutOff->value() == 77 ? 78 : 77);
  EXPECT_EQ(Form->edShineDia->text(), shine);  // only with a light selected

  // "O" resets the colours only when not refused.
  Answers.Confirm = mrNo;
  Form->SpeedButton3->click();
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(1).G, 1);
  Answers.Confirm = mrNone;  // acts on any answer but No
  Form->SpeedButton3->click();
  EXPECT_EQ(Answers.Asked, (QStringList{QStringLiteral("Reset all to default Colors?"),
                                        QStringLiteral("Reset all to default Colors?")}));
  TGLLights defaults;
  GLLighter->MakeDefaultLights(defaults, GLPoint4f(0, 0, 0, 1), 10);
  EXPECT_FLOAT_EQ(GLLighter->GetDiffuse(1).G, defaults[1].Diffuse.G);
  EXPECT_EQ(Form->ckbxLights->ItemColor(1), GLColorToColor(defaults[1].Diffuse));
  EXPECT_EQ(Form->ckbxLights->ItemIndex(), 0);

  // Lighting and two-sided lighting follow their boxes.
  Form->ckbxLightOn->setChecked(false);
  Form->pbGL->makeCurrent();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  Form->ckbxLightOn->setChecked(true);
  Form->pbGL->makeCurrent();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  Form->ckbxLightTwoSide->setChecked(true);
  Form->pbGL->makeCurrent();
  GLint twoSide = 0;
  glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
  EXPECT_EQ(twoSide, 1);
  Form->ckbxLightTwoSide->setChecked(false);
}

TEST_F(PanelHandlersTest, ApplyStopsAtTheFirstBadTextAfterThePositionIsSet) {
  ClickItem(Form->ckbxLights, 1);
  const TGLPoint4f direction = GLLighter->GetSpotDirection(1);
  Form->edPosX->setText(QStringLiteral("1"));
  Form->edPosY->setText(QStringLiteral("2.5"));
  Form->edPosZ->setText(QStringLiteral("-3"));
  Form->edDirX->setText(QStringLiteral("x"));
  Answers.Confirm = mrNo;
  Form->SpeedButton6->click();
  EXPECT_EQ(Answers.Asked, QStringList{QStringLiteral("Appy new position to Light1")});
  EXPECT_NE(GLLighter->GetLightPosition(1).Y, 2.5f);

  Answers.Confirm = mrYes;
  Form->SpeedButton6->click();
  EXPECT_EQ(Answers.Messages,
            QStringList{QStringLiteral("'x' is not a valid floating point value")});
  const TGLPoint4f P = GLLighter->GetLightPosition(1);
  EXPECT_FLOAT_EQ(P.X, 1);
  EXPECT_FLOAT_EQ(P.Y, 2.5f);
  EXPECT_FLOAT_EQ(P.Z, -3);
  EXPECT_FLOAT_EQ(GLLighter->GetSpotDirection(1).X, direction.X);

  Form->edDirX->setText(QStringLiteral("0.5"));
  Form->SpeedButton6->click();
  EXPECT_FLOAT_EQ(GLLighter->GetSpotDirection(1).X, 0.5f);
  EXPECT_FLOAT_EQ(GLLighter->GetSpotDirection(1).W, 1);
}

TEST_F(PanelHandlersTest, VectorOperationsShowTheirCaptionsAndResults) {
  Form->edX1->setText(QStringLiteral("5.0"));
  Form->edy1->setText(QStringLiteral("5.0"));
  Form->edz1->setText(QStringLiteral("5.0"));
  Form->edx2->setText(QStringLiteral("0.0"));
  Form->edy2->setText(QStringLiteral("0.0"));
  Form->edz2->setText(QStringLiteral("5.0"));
  Form->ckbxShowPts->setChecked(false);
  const TGLPoint4f p1{5, 5, 5, 0}, p2{0, 0, 5, 0};
  auto vector = [](const TGLVector3f& V) {
    return FormatText("(%.2f, %.2f, %.2f)", V.X, V.Y, V.Z);
  };
  TGLPoint4f turned = p1;
  GLVector->RotateAboutNormal(turned, GLPoint4f(0, 0, 0, 1), p2, 1.5707964f);
  const struct {
    const char* Caption;
    QString Result;
  } expected[8] = {
      {"Distance  P1 - P2", QStringLiteral("7.07")},
      {"Angle  V1 v V2", QStringLiteral("54.74")},
      {"Dot Product  v1 . v2", QStringLiteral("25.00")},
      {"Cross Product  v1 - v2", QStringLiteral("(25.00, -25.00, 0.00)")},
      {"Vector  P1 --> P2", QStringLiteral("(-5.00, -5.00, 0.00)")},
      {"Symm Vector  v1 \\|/ v2", vector(GLVector->SymmetricVector(p1, p2))},
      {"Reflect Vector v1 \\|/ v2", vector(GLVector->ReflectVector(p1, p2))},
      {"Rotate About Normal p1 \\|/ v2", vector(GLVector3f(turned.X, turned.Y, turned.Z))},
  };
  for (int i = 7; i >= 0; --i) {
    Form->rdgpVecOp->SetItemIndex(i);
    EXPECT_EQ(Form->stVec->text(), QString::fromLatin1(expected[i].Caption)) << i;
    EXPECT_EQ(Form->edVec->text(), expected[i].Result) << i;
  }
  EXPECT_TRUE(Form->ckbxShowPts->isChecked());
  EXPECT_NE(expected[5].Result, expected[6].Result);

  // A bad operand stops the operation after "Show Pt/Vec" was checked.
  Form->ckbxShowPts->setChecked(false);
  Form->edy2->setText(QStringLiteral("1..2"));
  Form->rdgpVecOp->SetItemIndex(2);
  EXPECT_EQ(Answers.Messages,
            QStringList{QStringLiteral("'1..2' is not a valid floating point value")});
  EXPECT_TRUE(Form->ckbxShowPts->isChecked());
  EXPECT_EQ(Form->stVec->text(), QStringLiteral("Distance  P1 - P2"));
  Form->edy2->setText(QStringLiteral("0.0"));
  Form->SpeedButton4->click();
  EXPECT_FLOAT_EQ(Point2.Y, 0);
}

TEST_F(PanelHandlersTest, PresetListAndUserDefinedMaterialColours) {
  Form->ckbxColorMaterial->setChecked(true);
  ClickItem(Form->lbxOtherMaterials, GoldPreset);
  EXPECT_FALSE(Form->ckbxColorMaterial->isChecked());
  EXPECT_FALSE(GLBrimloLogo->FColorMaterial);
  EXPECT_EQ(Form->rdgpMaterial->ItemIndex(), mmOthers);
  EXPECT_EQ(GLBrimloLogo->FMaterialMode, mmOthers);
  EXPECT_FALSE(Form->pnlMtUserDefine->isEnabled());
  EXPECT_TRUE(SameMaterial(GLBrimloLogo->FPresetMaterial, MaterialPresets[GoldPreset]));
  const TGLMaterial& gold = MaterialPresets[GoldPreset];
  EXPECT_EQ(Form->stAmbient->Color(), GLColorToColor(gold.Ambient));
  EXPECT_EQ(Form->stAmbient->FontColor(), GLColorToColor(gold.Ambient) ^ 0xFFFFFF);
  EXPECT_EQ(Form->stAmbient->toolTip(), QStringLiteral("(0.247, 0.199, 0.075, 0.5)"));
  EXPECT_EQ(Form->stDiffuse->toolTip(), QStringLiteral("(0.752, 0.606, 0.226, 0.5)"));
  EXPECT_EQ(Form->stShininess->toolTip(), QStringLiteral("(65.536)"));
  EXPECT_EQ(Form->stShininess->Color(), 0x00424242);  // 66 of each

  // In the "Others" mode the colour bars change nothing.
  const TGLColor4f diffuse = GLBrimloLogo->FClrDiffuse;
  Form->rdgpMtColor->SetItemIndex(1);
  Form->tkbarMtR->setValue(Form->tkbarMtR->value() == 255 ? 0 : 255);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FClrDiffuse.R, diffuse.R);

  // "User Define": the bars show the chosen colour and write it back with alpha 0.5.
  Form->rdgpMaterial->SetItemIndex(mmUserDefine);
  EXPECT_TRUE(Form->pnlMtUserDefine->isEnabled());
  GLBrimloLogo->FClrSpecular = GLColor4f(0.2f, 0.4f, 0.6f, 1);
  Form->rdgpMtColor->SetItemIndex(2);
  EXPECT_EQ(Form->tkBarMtB->value(), 153);
  EXPECT_EQ(Form->btnMtColor->Color(), 0x00996633);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FClrSpecular.A, 0.5f);  // written back as whole levels
  const TColor caption = Form->btnMtColor->FontColor();
  Form->tkbarMtR->setValue(255);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FClrSpecular.R, 1);
  EXPECT_FLOAT_EQ(GLBrimloLogo->FClrSpecular.G, 102 / 255.0f);
  EXPECT_EQ(Form->btnMtColor->Color(), 0x009966FF);
  EXPECT_EQ(Form->btnMtColor->FontColor(), caption);  // the caption keeps its colour
  EXPECT_EQ(Form->stMtR->text(), QStringLiteral("255"));

  Form->tkbarShiness->setValue(64);
  EXPECT_EQ(Form->edShinese->text(), QStringLiteral("64.0"));
  EXPECT_FLOAT_EQ(GLBrimloLogo->FShinese, 64);
  Form->tkbarMixRate->setValue(7);
  EXPECT_EQ(Form->edMixRate->text(), QStringLiteral("0.7"));
  EXPECT_FLOAT_EQ(GLBrimloLogo->FMixRate, 0.7f);
  Form->ckbxColorMaterial->setChecked(true);
  EXPECT_FALSE(Form->pnlMixLogoColor->isEnabled());
}

TEST_F(PanelHandlersTest, WorkbenchPictureLoadsSavesResizesAndBecomesATexture) {
  // The tab starts with a picture of its own.
  EXPECT_FALSE(TavRaster->IsRasterEmpty(&Form->RasterPicture));
  ASSERT_FALSE(Form->Image1->pixmap().isNull());

  QImage red(40, 30, QImage::Format_RGB888);
  red.fill(Qt::red);
  const QString png = TempPath(QStringLiteral("red.png"));
  ASSERT_TRUE(red.save(png, "PNG"));
  Answers.FileName = png;
  Form->Button3->click();
  EXPECT_EQ(Answers.LastPicture.Title, QStringLiteral("Open Raster File"));
  EXPECT_EQ(Answers.LastPicture.Filter,
            QStringLiteral("All(*.*)|*.*|All Raster File|*.bmp;*.jpg;*.gif;*.wmf;*.tif;*.pcx"));
  EXPECT_EQ(Answers.LastPicture.FilterIndex, 1);
  EXPECT_EQ(Form->edBmpW->text(), QStringLiteral("40"));
  EXPECT_EQ(Form->edBmpH->text(), QStringLiteral("30"));
  EXPECT_EQ(Form->edBmpPf->text(),
            QString::fromLatin1(PixelFormatNames[PixelFormatOf(Form->RasterPicture)]));
  EXPECT_EQ(Form->RasterPicture.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(Form->Image1->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));

  // A file that is not a picture, or a cancelled dialog, changes nothing and says nothing.
  const QString junk = TempPath(QStringLiteral("junk.jpg"));
  {
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
  }
  Form->edBmpW->setText(QStringLiteral("99"));
  Answers.FileName = junk;
  Form->Button3->click();
  EXPECT_EQ(Form->edBmpW->text(), QStringLiteral("99"));
  Answers.PictureChosen = false;
  Form->Button3->click();
  Answers.PictureChosen = true;
  EXPECT_EQ(Form->RasterPicture.size(), QSize(40, 30));
  EXPECT_TRUE(Answers.Messages.isEmpty());

  // Resize asks with the edits' numbers; 0 leaves the picture as it is.
  Form->edBmpW->setText(QStringLiteral("0"));
  Form->Button6->click();
  EXPECT_EQ(Answers.Asked.last(), QStringLiteral("Resize Image to 0*30?"));
  EXPECT_EQ(Form->RasterPicture.size(), QSize(40, 30));
  Form->edBmpW->setText(QStringLiteral("2x"));
  const int asked = static_cast<int>(Answers.Asked.size());
  Form->Button6->click();
  EXPECT_EQ(Answers.Messages.last(), QStringLiteral("'2x' is not a valid integer value"));
  EXPECT_EQ(Answers.Asked.size(), asked);
  Form->edBmpW->setText(QStringLiteral("20"));
  Form->edBmpH->setText(QStringLiteral("10"));
  Answers.Confirm = mrNo;
  Form->Button6->click();
  EXPECT_EQ(Form->RasterPicture.size(), QSize(40, 30));
  Answers.Confirm = mrYes;
  Form->Button6->click();
  EXPECT_EQ(Form->RasterPicture.size(), QSize(20, 10));
  EXPECT_EQ(Form->edBmpW->text(), QStringLiteral("20"));

  // Save: the filter's extension replaces the typed one; WMF writes nothing and fails.
  Answers.Messages.clear();
  Answers.FileName = TempPath(QStringLiteral("saved.png"));
  Answers.FilterIndex = 4;
  Form->Button4->click();
  EXPECT_EQ(Answers.LastPicture.Title, QStringLiteral("Save Raster File"));
  EXPECT_EQ(Answers.LastPicture.Filter,
            QStringLiteral("Windows Bitmap(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|GIF(*.gif)|*.gif|WMF("
                           "*.wmf)|*.wmf"));
  EXPECT_EQ(Answers.Messages, QStringList{QStringLiteral("Failed")});
  EXPECT_FALSE(QFileInfo::exists(TempPath(QStringLiteral("saved.wmf"))));
  EXPECT_EQ(Form->SavePicture.FileName, TempPath(QStringLiteral("saved.wmf")));
  Answers.FilterIndex = 1;
  Form->Button4->click();
  // The dialog opened with the last name, without its extension.
  EXPECT_EQ(Answers.LastPicture.FileName, TempPath(QStringLiteral("saved")));
  EXPECT_EQ(Answers.Messages.last(), QStringLiteral("Saved"));
  EXPECT_TRUE(QFileInfo::exists(TempPath(QStringLiteral("saved.bmp"))));
  Answers.FilterIndex = 2;
  Answers.FileName = TempPath(QStringLiteral("dir.v2/shot"));
  QDir().mkpath(TempPath(QStringLiteral("dir.v2")));
  Form->Button4->click();
  EXPECT_TRUE(QFileInfo::exists(TempPath(QStringLiteral("dir.v2/shot.jpg"))));

  // Add to Tex: a new "TBitmap%d" entry from the picture, fitted to powers of two.
  const int count = GLTexturer->GetTextureCount();
  Form->Button7->click();
  ASSERT_EQ(GLTexturer->GetTextureCount(), count + 1);
  ASSERT_EQ(Form->lbxTextures->count(), count + 1);
  EXPECT_EQ(Form->lbxTextures->item(count)->text(), QStringLiteral("TBitmap%1").arg(count));
  EXPECT_EQ(Form->RasterPicture.size(), QSize(16, 8));

  // Clear empties the picture and shows its size and format; Save then asks nothing.
  Form->Button5->click();
  EXPECT_TRUE(TavRaster->IsRasterEmpty(&Form->RasterPicture));
  EXPECT_EQ(Form->edBmpW->text(), QStringLiteral("0"));
  EXPECT_EQ(Form->edBmpH->text(), QStringLiteral("0"));
  EXPECT_EQ(Form->edBmpPf->text(), QStringLiteral("Device"));
  Answers.LastPicture = TPictureDialog{};
  Form->Button4->click();
  EXPECT_TRUE(Answers.LastPicture.Title.isEmpty());
  Form->Button7->click();  // nothing to add
  EXPECT_EQ(GLTexturer->GetTextureCount(), count + 1);
}

TEST_F(PanelHandlersTest, TextureListFollowsItsSelection) {
  if (GLTexturer->GetTextureCount() < 3) GTEST_SKIP() << "the start-up textures are missing";
  ShowOnly({Form->ckbxShowCube});
  ClickItem(Form->lbxTextures, 1);
  const TGLTexture* second = GLTexturer->GetTexture(1);
  EXPECT_EQ(
      Form->edTxtWH->text(),
      QStringLiteral("%1 x %2 - %3").arg(second->Width).arg(second->Height).arg(second->Source));
  Frame();
  Form->pbGL->makeCurrent();
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), second->TextureID);

  // A current row without a selection (as tabbing into the list gives) keeps the binding.
  const GLuint third = GLTexturer->GetTexture(2)->TextureID;
  Form->lbxTextures->clearSelection();
  Form->lbxTextures->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  ASSERT_EQ(Form->lbxTextures->currentRow(), 0);
  glBindTexture(GL_TEXTURE_2D, third);
  Frame();
  Form->pbGL->makeCurrent();
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), third);

  // Del without a selection deletes nothing but rebuilds the list and repaints.
  const int count = GLTexturer->GetTextureCount();
  int paints = Form->FramesRequested;
  Form->Button9->click();
  EXPECT_EQ(GLTexturer->GetTextureCount(), count);
  EXPECT_GT(Form->FramesRequested, paints);
  ClickItem(Form->lbxTextures, 0);
  Form->Button9->click();
  EXPECT_EQ(GLTexturer->GetTextureCount(), count - 1);
  EXPECT_EQ(Form->lbxTextures->count(), count - 1);

  // Add: a file that cannot be read adds nothing; a picture file adds its name.
  Answers.FileName = TempPath(QStringLiteral("missing.jpg"));
  Form->Button8->click();
  EXPECT_EQ(GLTexturer->GetTextureCount(), count - 1);
  QImage blue(64, 64, QImage::Format_RGB888);
  blue.fill(Qt::blue);
  ASSERT_TRUE(blue.save(TempPath(QStringLiteral("blue.png")), "PNG"));
  Answers.FileName = TempPath(QStringLiteral("blue.png"));
  Form->Button8->click();
  ASSERT_EQ(Form->lbxTextures->count(), count);
  EXPECT_EQ(Form->lbxTextures->item(count - 1)->text(), QStringLiteral("blue"));

  Form->Button10->click();
  EXPECT_EQ(GLTexturer->GetTextureCount(), 0);
  EXPECT_EQ(Form->lbxTextures->count(), 0);
  paints = Form->FramesRequested;
  Form->ckbxAutoGenTexture->setChecked(true);
  EXPECT_GT(Form->FramesRequested, paints);
  Form->ckbxAutoGenTexture->setChecked(false);
}

TEST_F(PanelHandlersTest, RealDialogsAskTheUser) {
  Form->Dialogs = RealDialogs(Form, Form->ColorDialog1);
  VolumeScale = 2;
  QString text;
  QTimer::singleShot(100, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->button(QMessageBox::No)->click();
  });
  Form->btnResetViewVolume->click();
  EXPECT_EQ(text, QStringLiteral("Reset All View Volume to default Volume?"));
  EXPECT_FLOAT_EQ(VolumeScale, 2);  // refused

  QTimer::singleShot(100, [] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->setCurrentColor(QColor(1, 2, 3));
    dialog->accept();
  });
  QTest::mouseClick(Form->stBkColor, Qt::LeftButton);
  EXPECT_EQ(Form->stBkColor->Color(), 0x00030201);
  EXPECT_EQ(GLManager->FCanvasColor, 0x00030201);
  VolumeScale = 1;
}
