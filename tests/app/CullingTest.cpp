// The frame with the hidden mesh faces left out is the frame with every face drawn, pixel for
// pixel, in every state that decides what can show; and where a back face could show, nothing
// is left out.
#include <QCheckBox>
#include <QImage>

#include "GOpglDefine.h"
#include "HandModel.h"
#include "MeshDraw.h"
#include "RobotModel.h"
#include "WindowFixture.h"

namespace {

class CullingTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    ShowOnly({Form->ckbxShowFrame, Form->ckbxShowBall, Form->ckbxShowCube, Form->ckbxShowWorldAxis,
              Form->ckbxShowXZplane, Form->ckbxShowVolume, Form->ckbxShowEyeLine,
              Form->ckbxShowLights, Form->ckbxShowPts, Form->ckbxHand, Form->ckbxRobot});
    SavedAngles = LightAngles;
    LightAngles = {10, 55, 100, 145, 190, 235, 280, 325};
  }
  void TearDown() override {
    SetMeshCulling(true);
    Form->ckbxBlend->setChecked(false);
    Form->ckbxLightTwoSide->setChecked(false);
    Form->rdgpObjMode->SetItemIndex(2);
    Form->rdgpPrjMode->SetItemIndex(3);
    Form->ckbxSinglePort->setChecked(false);
    Form->FAngle = 0;
    LightAngles = SavedAngles;
    ShowOnly({Form->ckbxShowCube, Form->ckbxShowLights, Form->ckbxRobot});
    WindowFixture::TearDown();
  }

  // Pixels that differ between the frame drawn with every face and the one with the shortcut;
  // Skipped tells whether the shortcut left any triangle out in the last view drawn.
  static int Differing(bool& Skipped) {
    SetMeshCulling(false);
    const QImage full = Frame();
    EXPECT_EQ(HandTrianglesDrawn(), HandTriangleCount);
    EXPECT_EQ(RobotTrianglesDrawn(), RobotTriangleCount);
    SetMeshCulling(true);
    const QImage culled = Frame();
    Skipped =
        HandTrianglesDrawn() < HandTriangleCount && RobotTrianglesDrawn() < RobotTriangleCount;
    EXPECT_EQ(full.size(), culled.size());
    int differ = 0;
    for (int y = 0; y < full.height(); ++y)
      for (int x = 0; x < full.width(); ++x) differ += full.pixel(x, y) != culled.pixel(x, y);
    return differ;
  }

  std::vector<float> SavedAngles;
};

}  // namespace

TEST_F(CullingTest, SameFrameInEveryStateThatDecidesWhatShows) {
  for (const bool single : {false, true})
    for (const bool blend : {false, true})
      for (const int mode : {0, 1, 2})
        for (const bool twoSide : {false, true})
          for (const float angle : {0.0f, 141.0f, 230.0f, 300.0f, 351.0f}) {
            Form->ckbxSinglePort->setChecked(single);
            Form->ckbxBlend->setChecked(blend);
            Form->rdgpObjMode->SetItemIndex(mode);
            Form->ckbxLightTwoSide->setChecked(twoSide);
            Form->FAngle = angle;
            bool skipped = false;
            EXPECT_EQ(Differing(skipped), 0)
                << "single " << single << " blend " << blend << " mode " << mode << " two-sided "
                << twoSide << " angle " << angle;
            // Blending shows a solid's back faces through its front: then all are drawn.
            EXPECT_EQ(skipped, !blend) << "single " << single << " blend " << blend;
          }
}

TEST_F(CullingTest, NothingLeftOutWhereTheNearPlaneCutsTheMeshesOpen) {
  // With the eye 4.7 from the origin, the near plane slices through both meshes and their
  // insides show.
  Form->ckbxSinglePort->setChecked(true);
  ASSERT_EQ(CurrentView, &UserView);
  const TGLView saved = UserView;
  UserView.Eye = GLPoint4f(3, 2, 3, 1);
  Form->FAngle = 60;
  bool skipped = true;
  EXPECT_EQ(Differing(skipped), 0);
  EXPECT_FALSE(skipped);
  EXPECT_EQ(HandTrianglesDrawn(), HandTriangleCount);
  EXPECT_EQ(RobotTrianglesDrawn(), RobotTriangleCount);
  // From the usual distance they are whole again.
  UserView = saved;
  EXPECT_EQ(Differing(skipped), 0);
  EXPECT_TRUE(skipped);
}
