// Handlers of the "GLCamera" tab: projections, the shown view, field of view and volumes.
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

#include "Vector3D.h"
#include "frmOpgl.h"

void TMainForm::rdgpPrjModeClick(QObject*) {
  const int index = rdgpPrjMode->ItemIndex();
  if (index < 0) return;
  for (TGLView* view :
       {&UserView, &FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
    view->Projection = static_cast<TProjectionMode>(index);
  StatusBar1->SetPanelText(3, ProjectionNames[index]);
  Repaint();
}

void TMainForm::rdgpCurViewClick(QObject*) {
  // Indexed as the "View Selectrion" items.
  TGLView* const views[] = {&UserView, &FrontView, &BackView,  &RightView,
                            &LeftView, &TopView,   &BottomView};
  const int index = rdgpCurView->ItemIndex();
  if (index < 0 || index > 6) return;
  CurrentView = views[index];
  const TGLView& v = *CurrentView;
  edEX->setText(FormatText("%.2f", v.Eye.X));
  edEy->setText(FormatText("%.2f", v.Eye.Y));
  edEZ->setText(FormatText("%.2f", v.Eye.Z));
  edvx->setText(FormatText("%.2f", v.ViewPt.X));
  edvy->setText(FormatText("%.2f", v.ViewPt.Y));
  edvz->setText(FormatText("%.2f", v.ViewPt.Z));
  edEye2View->setText(FormatText("%.2f", GLVector->Distance(v.ViewPt, v.Eye)));
  edVolumeW->setText(FormatText("%.2f", v.Right - v.Left));
  edVolumeH->setText(FormatText("%.2f", v.Top - v.Bottom));
  edVolumeD->setText(FormatText("%.2f", v.Far - v.Near));
  UpdateLayout();
}

void TMainForm::tkbarFovChange(QObject*) {
  // Only the User view turns perspective; the group and the other views stay as they are.
  UserView.Projection = pmPerspective;
  UserView.FOV = static_cast<float>(tkbarFov->value());
  edFov->setText(FormatText("%.2f", UserView.FOV));
  StatusBar1->SetPanelText(1, FormatText("FOV:%.1f", UserView.FOV));
  Repaint();
}

void TMainForm::ckRemainPrjRatioClick(QObject*) {
  if (ckRemainPrjRatio->isChecked()) LayoutViewports();
  Repaint();
}

void TMainForm::StepVolumeScale(float Step) {
  ckbxShowVolume->setChecked(true);
  VolumeScale += Step;
  if (VolumeScale < 0.1f)
    VolumeScale = 0.1f;
  else if (VolumeScale > 10)
    VolumeScale = 5;
  ScaleViewVolumes(VolumeScale);
}

void TMainForm::sbScaleClick(QObject* Sender) {
  const int tag = Sender ? Sender->property("Tag").toInt() : -1;
  StepVolumeScale(tag == 0 ? -VolumeScaleStep : tag == 1 ? VolumeScaleStep : 0);
  Repaint();
}

void TMainForm::btnResetViewVolumeClick(QObject*) {
  if (Dialogs.Confirm(QStringLiteral("Reset All View Volume to default Volume?")) != mrYes) return;
  ResetViews();
  LayoutViewports();
  VolumeScale = 1.0f;
  RefreshPanel();
}

void TMainForm::sbDefaultVolumeClick(QObject*) {
  if (Dialogs.Confirm(QStringLiteral("Are you sure to chage default Volume Size?")) == mrNo) return;
  // The sizes are checked as numbers but not yet used: the panel shows the volume again.
  StrToFloat(edVW->text());
  StrToFloat(edVH->text());
  StrToFloat(edVD->text());
  RefreshPanel();
}
