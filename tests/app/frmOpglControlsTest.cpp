// The control tree of the main window, before it is shown: names, captions, ranges, initial
// values, hints and the notification rule of its check boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "frmOpgl.h"

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { Form = std::make_unique<TMainForm>(); }
  template <class W>
  W* Find(const char* Name) {
    auto* w = Form->findChild<W*>(QString::fromLatin1(Name));
    EXPECT_NE(w, nullptr) << Name;
    return w;
  }
  std::unique_ptr<TMainForm> Form;
};

}  // namespace

TEST_F(ControlsTest, WindowAndTopLevelLayout) {
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Talven OpenGL Project"));
  EXPECT_TRUE(Form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(Form->normalGeometry().size(), QSize(802, 656));
  EXPECT_EQ(Form->font().pixelSize(), 11);
  EXPECT_EQ(Form->toolTip(), QStringLiteral("X: Rotate X, Y:Rotate Y, Z:Rotate Z, Space: Pause, "
                                            "R:Reverse; I/O: Scale, N/M:Speed"));
  EXPECT_EQ(Form->Panel12->height(), 143);
  EXPECT_EQ(Form->StatusBar1->height(), 24);
  EXPECT_EQ(Form->Timer->interval(), 33);
  EXPECT_FALSE(Form->Timer->isActive());  // disabled until a context exists
  EXPECT_EQ(Form->grpDisplay->title(), QStringLiteral("Display Options"));
  EXPECT_EQ(Form->PageControl1->PageCount(), 7);
  const char* pages[] = {"GLManager", "GLCamera",  "GLLighter", "GLVector",
                         "Material",  "TavRaster", "GLTexturer"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(Form->PageControl1->PageCaption(i), QString::fromLatin1(pages[i]));
  EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 4);
  EXPECT_EQ(Form->ChangeColor1->text(), QStringLiteral("Change Color"));
  // The surface asks for double-buffered RGB with a 32-bit depth buffer.
  EXPECT_EQ(Form->pbGL->format().depthBufferSize(), 32);
  EXPECT_EQ(Form->pbGL->format().swapBehavior(), QSurfaceFormat::DoubleBuffer);
}

TEST_F(ControlsTest, DisplayOptionsStartAsDesignedAndNotifyOnlyOnChange) {
  struct {
    const char* Name;
    const char* Caption;
    bool Checked;
  } boxes[] = {{"ckbxSinglePort", "Single/Multiple Ports", false},
               {"ckbxShowFrame", "BRL Logo", false},
               {"ckbxShowBall", "Ball", false},
               {"ckbxShowCube", "Satellite Cube", true},
               {"ckbxShowWorldAxis", "World Axis", false},
               {"ckbxShowXZplane", "Show XZ Plane", false},
               {"ckbxShowVolume", "View Volume", false},
               {"ckbxShowEyeLine", "Eye Line", false},
               {"ckbxShowLights", "Show Lights", true},
               {"ckbxShowPts", "Show Pt/Vec", false},
               {"ckbxHand", "Hand", false},
               {"ckbxRobot", "Robot", true},
               {"ckbxShowSideText", "Show Side Font", false},
               {"ckbxLightOn", "Light On", true},
               {"ckbxRotateLight", "Rotate", true},
               {"ckbxAutoGenTexture", "AutoTxtCoords", false}};
  for (const auto& b : boxes) {
    QCheckBox* box = Find<QCheckBox>(b.Name);
    if (!box) continue;
    EXPECT_EQ(box->text(), QString::fromLatin1(b.Caption)) << b.Name;
    EXPECT_EQ(box->isChecked(), b.Checked) << b.Name;
  }
  EXPECT_EQ(Form->grpDisplay->findChildren<QCheckBox*>().size(), 11);
  EXPECT_EQ(Form->sbSellAll->toolTip(), QStringLiteral("Check All"));
  EXPECT_EQ(Form->sbUnSelAll->toolTip(), QStringLiteral("UnCheck All"));
}

TEST_F(ControlsTest, TrackBarsRadioGroupsAndEditsHaveTheirRangesAndTexts) {
  struct {
    const char* Name;
    int Min, Max, Position;
  } bars[] = {{"tkbarFov", 5, 120, 52},     {"tkbarR", 0, 255, 0},      {"tkbarCutOff", 5, 500, 5},
              {"tkbarFallOff", 0, 100, 0},  {"tkbarMixRate", 0, 10, 0}, {"tkbarmtG", 0, 255, 0},
              {"tkbarShiness", 0, 128, 52}, {"tkBarMtB", 0, 255, 0}};
  for (const auto& b : bars) {
    QSlider* bar = Find<QSlider>(b.Name);
    if (!bar) continue;
    EXPECT_EQ(bar->minimum(), b.Min) << b.Name;
    EXPECT_EQ(bar->maximum(), b.Max) << b.Name;
    EXPECT_EQ(bar->value(), b.Position) << b.Name;
  }

  struct {
    const char* Name;
    const char* Caption;
    int Count, Index;
    const char* Last;
  } groups[] = {{"rdgpObjMode", "Object Polygon Mode", 3, 2, "GL_FILL"},
                {"rdgpVolumeMode", "Volume Mode", 3, 2, "GL_FILL"},
                {"rdgpPrjMode", "Projection Mode", 4, 2, "Perspective"},
                {"rdgpCurView", "View Selectrion", 7, 0, "Bottom"},
                {"rdgpRotateAxis", "Rotate Axis", 3, 1, "Z"},
                {"rdgpLightColor", "Light Color", 3, 1, "Specular"},
                {"rdgpLightType", "LIght Type", 3, 1, "Spot Light"},
                {"rdgpVecOp", "Vector Operations", 8, 0, "RotateAboutNormal"},
                {"rdgpMaterial", "Material", 6, 0, "Others"},
                {"rdgpMtColor", "Material Color", 4, 1, "Emission"}};
  for (const auto& g : groups) {
    TRadioGroup* group = Find<TRadioGroup>(g.Name);
    if (!group) continue;
    EXPECT_EQ(group->title(), QString::fromLatin1(g.Caption)) << g.Name;
    EXPECT_EQ(group->Count(), g.Count) << g.Name;
    EXPECT_EQ(group->ItemIndex(), g.Index) << g.Name;
    EXPECT_EQ(group->Item(g.Count - 1), QString::fromLatin1(g.Last)) << g.Name;
  }
  // A backslash, a bar and a slash.
  EXPECT_EQ(Form->rdgpVecOp->Item(5), QStringLiteral("Sym V (v1 \\|/ v2)"));
  EXPECT_EQ(Form->rdgpVecOp->Item(6), QStringLiteral("Reflect V (v1 \\|/ v2)"));

  struct {
    const char* Name;
    const char* Text;
    bool ReadOnly;
  } edits[] = {{"edProjectMats", "0", true}, {"edFov", "0.0", false},    {"edVW", "1.0", false},
               {"edEX", "1.0", true},        {"edvz", "1.0", true},      {"edX1", "5.0", false},
               {"edz2", "5.0", false},       {"edx2", "0.0", false},     {"edBmpPf", "0", true},
               {"edTxtWH", "", false},       {"edShineDia", "0.0", true}};
  for (const auto& e : edits) {
    QLineEdit* edit = Find<QLineEdit>(e.Name);
    if (!edit) continue;
    EXPECT_EQ(edit->text(), QString::fromLatin1(e.Text)) << e.Name;
    EXPECT_EQ(edit->isReadOnly(), e.ReadOnly) << e.Name;
  }

  // Hints keep their Traditional Chinese text.
  EXPECT_EQ(Form->tkbarCutOff->toolTip(), QString::fromUtf8("光源照射所及的直徑範圍"));
  EXPECT_EQ(Form->tkbarFallOff->toolTip(), QString::fromUtf8("漸進和緩度 0~128"));
  EXPECT_EQ(Form->sbDefaultVolume->toolTip(), QString::fromUtf8("改變預設的 View Volume"));
  EXPECT_EQ(Form->sbScaleDn->property("Tag").toInt(), 0);
  EXPECT_EQ(Form->sbScaleUp->property("Tag").toInt(), 1);

  // Swatches: Windows colour values, caption colour the inverse where the panel sets it.
  EXPECT_EQ(Form->stBkColor->Color(), 0x000000);
  EXPECT_EQ(Form->stBkColor->FontColor(), 0xFFFF00);
  EXPECT_EQ(Form->stPt1->Color(), 0x00FFFF);
  EXPECT_EQ(Form->stPt2->Color(), 0x00FF00);
  EXPECT_EQ(Form->stVec->Color(), 0xFFFF00);
  EXPECT_EQ(Form->stShininess->Color(), 0xC0C0C0);
  EXPECT_EQ(Form->stAmbient->toolTip(), QStringLiteral(" "));
  EXPECT_EQ(Form->ckbxLights->count(), 2);
  if (qEnvironmentVariableIsSet("OPGL_SAVE_FRAMES")) {
    Form->Panel1->resize(313, 880);
    for (int i = 0; i < 7; ++i) {
      Form->PageControl1->SetActivePageIndex(i);
      QCoreApplication::processEvents();
      Form->Panel1->grab().save(QStringLiteral("/tmp/page%1.png").arg(i));
    }
  }
  EXPECT_EQ(Form->lbxOtherMaterials->item(0)->text(), QStringLiteral("Gold"));
}
