#include "frmOpgl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "BrimloLogo.h"
#include "Conversions.h"
#include "GOpglVariable.h"
#include "HandModel.h"
#include "MaterialDefine.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "PseudoRandom.h"
#include "RobotModel.h"
#include "Vector3D.h"

TMainForm* MainForm = nullptr;

TGLView UserView{}, FrontView{}, BackView{}, LeftView{}, RightView{}, TopView{}, BottomView{};
// Points at the User view from the start, so a window without a context still has a view to
// show in its panel.
TGLView* CurrentView = &UserView;
std::vector<float> LightAngles;
TGLPoint4f Point1{}, Point2{};
float VolumeScale = 1.0f;
float VolumeScaleStep = 0.05f;
int LastMousePos[2] = {0, 0};
int DownMousePos[2] = {0, 0};
TGLPoint4f DefaultEye{15, 10, 15, 1};
TGLPoint4f DefaultViewPoint{0, 0, 0, 1};
float DefaultVolumeHalf = 20.0f;
uint8_t ObjectPolygonMode = 2;
uint8_t VolumePolygonMode = 1;

const char* const TextureFiles[7] = {"Data\\Block01.jpg", "Data\\Block02.jpg", "Data\\Metal01.jpg",
                                     "Data\\Stone01.jpg", "Data\\Stone02.jpg", "Data\\Test.jpg",
                                     "Data\\TinNon.jpg"};

void InitFrmOpgl() {
  DefaultEye = GLPoint4f(15, 10, 15, 1);
  DefaultViewPoint = GLPoint4f(0, 0, 0, 1);
  DefaultVolumeHalf = 20.0f;
  // The logo always starts 20 wide, whatever the settings file held.
  if (GLBrimloLogo) GLBrimloLogo->FLogoWidth = 20.0f;
}

namespace {

constexpr float Pi = 3.14159265358979f;

void MaterialColor(GLenum Face, GLenum Param, const TGLColor4f& Color) {
  glMaterialfv(Face, Param, &Color.R);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent) {
  InitFrmOpgl();
  CreateControls();
  ConnectEvents();
  qApp->installEventFilter(this);
  Dispatch([&] { FormCreate(this); });
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  Dispatch([&] { FormDestroy(this); });
}

void TMainForm::ConnectEvents() {
  connect(Timer, &QTimer::timeout, this, [this] { Dispatch([&] { TimerTimer(Timer); }); });
  connect(Splitter1, &QSplitter::splitterMoved, this,
          [this] { Dispatch([&] { Splitter1Moved(Splitter1); }); });
  pbGL->OnPaint = [this] { Dispatch([&] { FormPaint(pbGL); }); };

  // Every control's handler runs through Dispatch, with the control as its sender. Check boxes
  // notify on every change of state, radio groups once per change of index and track bars on
  // every change of position, from the user or from code alike.
  auto on = [this](auto* Control, auto Signal, void (TMainForm::*Handler)(QObject*)) {
    connect(Control, Signal, this,
            [this, Control, Handler] { Dispatch([&] { (this->*Handler)(Control); }); });
  };
  on(ckbxSinglePort, &QCheckBox::toggled, &TMainForm::ckbxSinglePortClick);
  for (QCheckBox* box : {ckbxShowFrame, ckbxShowBall, ckbxShowCube, ckbxShowWorldAxis,
                         ckbxShowVolume, ckbxShowEyeLine, ckbxShowLights, ckbxHand, ckbxRobot})
    on(box, &QCheckBox::toggled, &TMainForm::ckbxShowWorldAxisClick);
  on(ckbxShowXZplane, &QCheckBox::toggled, &TMainForm::ckbxShowXZplaneClick);
  on(ckbxShowPts, &QCheckBox::toggled, &TMainForm::ckbxShowPtsClick);
  on(ckbxBlend, &QCheckBox::toggled, &TMainForm::ckbxBlendClick);
  on(ckbxColorMaterial, &QCheckBox::toggled, &TMainForm::ckbxColorMaterialClick);
  on(ckbxMixLogoColor, &QCheckBox::toggled, &TMainForm::ckbxMixLogoColorClick);
  on(sbSellAll, &QToolButton::clicked, &TMainForm::sbSellAllClick);
  on(sbUnSelAll, &QToolButton::clicked, &TMainForm::sbUnSelAllClick);
  on(rdgpObjMode, &TRadioGroup::Click, &TMainForm::rdgpObjModeClick);
  on(rdgpVolumeMode, &TRadioGroup::Click, &TMainForm::rdgpVolumeModeClick);
  on(rdgpPrjMode, &TRadioGroup::Click, &TMainForm::rdgpPrjModeClick);
  on(rdgpMaterial, &TRadioGroup::Click, &TMainForm::rdgpMaterialClick);
  on(tkbarMixRate, &QSlider::valueChanged, &TMainForm::tkbarMixRateChange);
}

void TMainForm::MakeCurrent() {
  if (FGLContext.RC && !pbGL->Painting()) pbGL->makeCurrent();
}

// ---- window events ----------------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* Event) {
  QMainWindow::showEvent(Event);
  if (FShown) return;
  FShown = true;
  Dispatch([&] { FormShow(this); });
  // Without a window manager nobody honours the maximized state: fill the screen ourselves.
  QTimer::singleShot(300, this, [this] {
    const QScreen* display = screen();
    if (!isMaximized() || !display) return;
    const QRect area = display->availableGeometry();
    if (frameGeometry().width() < area.width() * 9 / 10) setGeometry(area);
  });
}

void TMainForm::resizeEvent(QResizeEvent* Event) {
  QMainWindow::resizeEvent(Event);
  Dispatch([&] { FormResize(this); });
}

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event) {
  // Key preview: the window sees each key once, when it reaches its first receiver (the
  // focused control, or the window itself when nothing has the focus).
  if (Event->type() == QEvent::KeyPress) {
    auto* widget = qobject_cast<QWidget*>(Watched);
    QWidget* focus = QApplication::focusWidget();
    if (widget && widget->window() == this && (widget == focus || (!focus && widget == this))) {
      auto* key = static_cast<QKeyEvent*>(Event);
      int code = key->key();
      Dispatch([&] { FormKeyDown(widget, code, key->modifiers()); });
      if (code == 0) return true;
    }
  }
  return QMainWindow::eventFilter(Watched, Event);
}

// ---- handlers of the window ---------------------------------------------------------------

void TMainForm::FormCreate(QObject*) {
  FAngle = 0;
  FSpeed = 3.0f;
  FObjectScale = 1.0f;
  VolumeScale = 1.0f;
  VolumeScaleStep = 0.05f;
  FExtrasVisible = true;
}

void TMainForm::FormShow(QObject*) {
  if (GLManager && GLManager->CreateRenderContext(pbGL, FGLContext)) {
    CurrentView = &UserView;
    ResetViews();
    LayoutViewports();
    RandomizeLightAngles();
    MakeCurrent();
    GLLighter->LightingOn();
    Timer->start();
  }
  UpdateLayout();
  FillLightList();
  FillMaterialControls();
  MakeCurrent();
  for (const char* file : TextureFiles)
    GLTexturer->AddTextureFromFile(PlatformPath(QString::fromLatin1(file)));
  FillTextureList();
  RefreshPanel();
}

void TMainForm::FormResize(QObject*) {
  if (!FGLContext.RC) return;
  LayoutViewports();
  RefreshPanel();
}

void TMainForm::Splitter1Moved(QObject*) {
  LayoutViewports();
  RefreshPanel();
}

void TMainForm::FormPaint(QObject*) {
  RenderFrame();
}

void TMainForm::TimerTimer(QObject*) {
  FAngle += FSpeed;
  for (float& angle : LightAngles) {
    angle += FSpeed;
    if (std::fabs(angle) >= 360) angle = std::fabs(angle) - 360;
  }
  if (std::fabs(FAngle) >= 360) FAngle = 0;
  StatusBar1->SetPanelText(5, FormatText("Angle:%.1f", FAngle));
  Repaint();
}

void TMainForm::FormDestroy(QObject*) {
  Timer->stop();
  if (GLManager && FGLContext.RC) {
    pbGL->makeCurrent();
    GLManager->ReleaseRenderContext(FGLContext);
  }
  LightAngles.clear();
}

int TMainForm::WMQueryNewPalette() {
  const int result = GLManager->RealizeGLPalette(FGLContext.DC, FGLContext.Palette);
  if (result != -1) Repaint();
  return result;
}

int TMainForm::WMPaletteChanged(QObject* ChangedBy) {
  if (ChangedBy == this) return 1;
  GLManager->UpdateGLPalette(FGLContext.DC, FGLContext.Palette);
  return 0;
}

void TMainForm::FormKeyDown(QObject*, int&, Qt::KeyboardModifiers) {}

// ---- display options ------------------------------------------------------------------------

void TMainForm::ckbxSinglePortClick(QObject*) {
  UpdateLayout();
}

void TMainForm::ckbxShowWorldAxisClick(QObject*) {
  Repaint();
}

void TMainForm::ckbxShowXZplaneClick(QObject*) {
  GLManager->FShowXZPlane = ckbxShowXZplane->isChecked();
  Repaint();
}

void TMainForm::ckbxShowPtsClick(QObject*) {
  Repaint();
}

void TMainForm::sbSellAllClick(QObject*) {
  // Each box that changes raises its own handler.
  for (QCheckBox* box : grpDisplay->findChildren<QCheckBox*>()) box->setChecked(true);
}

void TMainForm::sbUnSelAllClick(QObject*) {
  for (QCheckBox* box : grpDisplay->findChildren<QCheckBox*>()) box->setChecked(false);
}

// ---- handlers raised by the refresh routines -----------------------------------------------

void TMainForm::ckbxBlendClick(QObject*) {
  GLManager->SetBlend(ckbxBlend->isChecked());
  Repaint();
}

void TMainForm::rdgpObjModeClick(QObject*) {
  const int index = rdgpObjMode->ItemIndex();
  if (index < 0) return;
  ObjectPolygonMode = static_cast<uint8_t>(index);
  Repaint();
}

void TMainForm::rdgpVolumeModeClick(QObject*) {
  const int index = rdgpVolumeMode->ItemIndex();
  if (index < 0) return;
  VolumePolygonMode = static_cast<uint8_t>(index);
  Repaint();
}

void TMainForm::rdgpPrjModeClick(QObject*) {
  const int index = rdgpPrjMode->ItemIndex();
  if (index < 0) return;
  for (TGLView* view :
       {&UserView, &FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
    view->Projection = static_cast<TProjectionMode>(index);
  StatusBar1->SetPanelText(3, ProjectionNames[index]);
  Repaint();
}

void TMainForm::rdgpMaterialClick(QObject*) {
  const int index = rdgpMaterial->ItemIndex();
  if (index < 0) return;
  GLBrimloLogo->FMaterialMode = static_cast<TMaterialMode>(index);
  pnlMtUserDefine->setEnabled(index == 0);
  Repaint();
}

void TMainForm::ckbxColorMaterialClick(QObject*) {
  GLBrimloLogo->FColorMaterial = ckbxColorMaterial->isChecked();
  pnlMixLogoColor->setEnabled(!ckbxColorMaterial->isChecked());
  RenderFrame();
}

void TMainForm::ckbxMixLogoColorClick(QObject*) {
  GLBrimloLogo->FMixLogoColor = ckbxMixLogoColor->isChecked();
  RenderFrame();
}

void TMainForm::tkbarMixRateChange(QObject*) {
  edMixRate->setText(FormatText("%.1f", tkbarMixRate->value() / 10.0));
  GLBrimloLogo->FMixRate = static_cast<float>(StrToFloat(edMixRate->text()));
  RenderFrame();
}

// ---- operations -----------------------------------------------------------------------------

void TMainForm::Repaint() {
  if (!pbGL->isVisible()) return;
  pbGL->repaint();
  // Showing the frame may have made the window's own context current.
  MakeCurrent();
}

void TMainForm::RenderFrame() {
  if (pbGL->Painting())
    DrawFrame();
  else
    Repaint();
}

void TMainForm::DrawFrame() {
  GLManager->ClearBuffers();
  const bool names = ckbxShowSideText->isChecked();
  if (ckbxSinglePort->isChecked()) {
    GLCamera->ApplyView(*CurrentView);
    DrawScene();
    if (names) GLManager->DrawText2D(20, 60, ViewNames[CurrentView->Kind]);
  } else {
    // The side views look at the User view's view point from the User view's distance.
    for (TGLView* view : {&FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
      GLCamera->SetViewPoints(*view, UserView.Eye, UserView.ViewPt);
    for (TGLView* view :
         {&UserView, &LeftView, &RightView, &FrontView, &BackView, &TopView, &BottomView}) {
      GLCamera->ApplyView(*view);
      DrawScene();
      if (names) GLManager->DrawText2D(20, 60, ViewNames[view->Kind]);
      // Hands the finished view to the rasteriser, so that it fills this view's pixels while
      // the next view's geometry is transformed.
      glFlush();
    }
  }
  glFlush();
}

void TMainForm::LayoutViewports() {
  // The surface is a child widget: its own bottom-left corner is the origin.
  const int L = 0, B = 0;
  const int W = pbGL->width(), H = pbGL->height();
  const qreal ratio = pbGL->devicePixelRatioF();
  auto px = [ratio](int Value) { return static_cast<int>(std::lround(Value * ratio)); };
  if (ckbxSinglePort->isChecked()) {
    GLCamera->SetViewport(*CurrentView, px(L + 3), px(B + 3), px(W), px(H));
  } else {
    const int CW = W / 3 - 9, CH = H / 3 - 9;
    const int X0 = L + 3, X1 = L + 9 + CW, X2 = L + 15 + 2 * CW;
    const int Y0 = B + 3, Y1 = B + 9 + CH, Y2 = B + 15 + 2 * CH;
    const struct {
      TGLView& View;
      int X, Y;
    } cells[] = {{FrontView, X0, Y0}, {BackView, X1, Y0},  {TopView, X0, Y1}, {BottomView, X1, Y1},
                 {LeftView, X0, Y2},  {RightView, X1, Y2}, {UserView, X2, Y0}};
    for (const auto& cell : cells)
      GLCamera->SetViewport(cell.View, px(cell.X), px(cell.Y), px(CW), px(CH));
  }
  Repaint();
}

void TMainForm::UpdateLayout() {
  LayoutViewports();
}

void TMainForm::RefreshPanel() {
  MakeCurrent();
  stBkColor->SetColor(GLManager->FCanvasColor);
  edProjectMats->setText(QString::number(GLManager->FMaxProjectionStack));
  edModelMats->setText(QString::number(GLManager->FMaxModelviewStack));
  edColorMats->setText(QString::number(GLManager->FMaxColorStack));
  edTextureMats->setText(QString::number(GLManager->FMaxTextureStack));
  ckbxBlend->setChecked(GLManager->FBlend);
  rdgpObjMode->SetItemIndex(ObjectPolygonMode);
  const TColor font = GLManager->GetFontColor();
  btnFontColor->SetColor(font);
  btnFontColor->SetFontColor(font ^ 0xFFFFFF);
  rdgpPrjMode->SetItemIndex(CurrentView->Projection);
  rdgpVolumeMode->SetItemIndex(VolumePolygonMode);
  edFov->setText(FormatText("%.2f", CurrentView->FOV));
  edVW->setText(FormatText("%.2f", CurrentView->Right - CurrentView->Left));
  edVH->setText(FormatText("%.2f", CurrentView->Top - CurrentView->Bottom));
  edVD->setText(FormatText("%.2f", CurrentView->Far - CurrentView->Near));
  MakeCurrent();
  for (int i = 0; i < ckbxLights->count(); ++i) ckbxLights->SetChecked(i, GLLighter->IsLightOn(i));
  ReadVectorPoints();
  rdgpMaterial->SetItemIndex(GLBrimloLogo->FMaterialMode);
  RefreshStatusBar();
}

void TMainForm::RefreshStatusBar() {
  const TGLView& u = UserView;
  StatusBar1->SetPanelText(0, QString());
  StatusBar1->SetPanelText(1, FormatText("FOV:%.1f", u.FOV));
  StatusBar1->SetPanelText(2, FormatText("D:%.1f, e(%.1f,%.1f,%.1f)->v(%.1f,%.1f,%.1f)",
                                         GLVector->Distance(u.Eye, u.ViewPt), u.Eye.X, u.Eye.Y,
                                         u.Eye.Z, u.ViewPt.X, u.ViewPt.Y, u.ViewPt.Z));
  const int mode = rdgpPrjMode->ItemIndex();
  StatusBar1->SetPanelText(3, mode >= 0 && mode < 5 ? ProjectionNames[mode] : QString());
  StatusBar1->SetPanelText(5, FormatText("Scale:%.1f", FObjectScale));
  StatusBar1->SetPanelText(6, FormatText("Angle:%.1f", FAngle));
}

void TMainForm::ReadVectorPoints() {
  // Each point changes only once its three texts have converted.
  const TGLPoint4f p1{static_cast<float>(StrToFloat(edX1->text())),
                      static_cast<float>(StrToFloat(edy1->text())),
                      static_cast<float>(StrToFloat(edz1->text())), 0};
  Point1 = p1;
  const TGLPoint4f p2{static_cast<float>(StrToFloat(edx2->text())),
                      static_cast<float>(StrToFloat(edy2->text())),
                      static_cast<float>(StrToFloat(edz2->text())), 0};
  Point2 = p2;
}

void TMainForm::ResetViews() {
  const struct {
    TGLView& View;
    TViewKind Kind;
  } views[] = {{UserView, vkUser},    {FrontView, vkFront}, {BackView, vkBack},
               {LeftView, vkLeft},    {RightView, vkRight}, {TopView, vkTop},
               {BottomView, vkBottom}};
  for (const auto& v : views)
    GLCamera->InitView(v.View, v.Kind, DefaultEye, DefaultViewPoint, DefaultVolumeHalf);
}

void TMainForm::ScaleViewVolumes(float Factor) {
  const float S = DefaultVolumeHalf * 2 * Factor;
  for (TGLView* view :
       {&UserView, &FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
    GLCamera->SetViewVolume(*view, S, S, S);
}

void TMainForm::FillLightList() {
  MakeCurrent();
  ckbxLights->clear();
  const int count = GLLighter->GetMaxLights();
  edLIghtNum->setText(QString::number(count));
  if (count < 1 || count > 8) return;
  for (int i = 0; i < count; ++i) {
    ckbxLights->AddCheckItem(QStringLiteral("Light%1").arg(i));
    ckbxLights->SetItemColor(i, GLLighter->GLColorToColor(GLLighter->GetDiffuse(i)));
    ckbxLights->SetChecked(i, GLLighter->IsLightOn(i));
  }
  ckbxLights->setCurrentRow(0);
}

void TMainForm::FillMaterialControls() {
  ckbxColorMaterial->setChecked(GLBrimloLogo->FColorMaterial);
  ckbxMixLogoColor->setChecked(GLBrimloLogo->FMixLogoColor);
  tkbarMixRate->setValue(static_cast<int>(std::nearbyint(GLBrimloLogo->FMixRate * 10)));
  lbxOtherMaterials->clear();
  for (int i = 0; i < MaterialPresetCount; ++i) {
    lbxOtherMaterials->addItem(MaterialNames[i]);
    lbxOtherMaterials->SetItemColor(i, GLColorToColor(MaterialPresets[i].Diffuse));
  }
}

void TMainForm::FillTextureList() {
  lbxTextures->clear();
  for (int i = 0; i < GLTexturer->GetTextureCount(); ++i)
    if (const TGLTexture* texture = GLTexturer->GetTexture(i)) lbxTextures->addItem(texture->Name);
}

void TMainForm::RandomizeLightAngles() {
  MakeCurrent();
  LightAngles.assign(GLLighter->GetMaxLights(), 0.0f);
  Randomize();
  for (float& angle : LightAngles) angle = static_cast<float>(Random(360));
}

// ---- the scene ------------------------------------------------------------------------------

void TMainForm::DrawScene() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 20);

  GLLighter->DrawLights(LightAngles, ckbxRotateLight->isChecked(), ckbxShowLights->isChecked());

  switch (ObjectPolygonMode) {
    case 0:
      GLManager->SetPointSize(10);
      glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
      break;
    case 1:
      GLManager->SetLineWidth(3);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      break;
    default:
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
  }

  if (ckbxShowFrame->isChecked()) {
    GLBrimloLogo->DrawLogoFrame(FAngle);
    GLBrimloLogo->DrawLogoHexagons(FAngle);
  }
  if (ckbxShowBall->isChecked()) GLBrimloLogo->DrawBall();
  if (ckbxShowCube->isChecked()) {
    glPushMatrix();
    const float a = FAngle * Pi / 180;
    glTranslatef(12 * std::cos(a), 0, 12 * std::sin(a));
    glRotatef(-FAngle, 1, 1, 1);
    glEnable(GL_NORMALIZE);
    glScalef(FObjectScale, FObjectScale, FObjectScale);
    DrawSatelliteCube();
    glPopMatrix();
  }
  if (ckbxShowWorldAxis->isChecked()) GLManager->DrawWorldAxis();
  if (ckbxShowEyeLine->isChecked()) DrawEyeLine();
  if (ckbxShowVolume->isChecked()) DrawViewVolume();
  if (ckbxShowPts->isChecked()) DrawPointsAndVectors();

  // The meshes wear the preset material, whatever the colour-material switch says.
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  glDisable(GL_COLOR_MATERIAL);
  if (ckbxHand->isChecked()) {
    ApplyPresetMaterial(GLBrimloLogo->FPresetMaterial);
    glPushMatrix();
    glRotatef(FAngle, 0.5f, 0.7f, 0.5f);
    DrawHand();
    glPopMatrix();
  }
  if (ckbxRobot->isChecked()) {
    ApplyPresetMaterial(GLBrimloLogo->FPresetMaterial);
    glPushMatrix();
    glRotatef(-90, 1, 0, 0);
    glRotatef(FAngle, 0, 0, 1);
    DrawRobot();
    glPopMatrix();
  }
  if (colorMaterial) glEnable(GL_COLOR_MATERIAL);
}

void TMainForm::DrawSatelliteCube() {
  const bool colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  glDisable(GL_COLOR_MATERIAL);
  MaterialColor(GL_FRONT_AND_BACK, GL_AMBIENT, clGLBlack);
  MaterialColor(GL_FRONT_AND_BACK, GL_DIFFUSE, GLColor4f(1, 1, 0, 0.5f));
  MaterialColor(GL_FRONT_AND_BACK, GL_SPECULAR, clGLWhite);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, ShininessHigh);
  MaterialColor(GL_FRONT_AND_BACK, GL_EMISSION, clGLGray);

  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

  const bool texturing = glIsEnabled(GL_TEXTURE_2D);
  glEnable(GL_TEXTURE_2D);
  const bool autoCoords = ckbxAutoGenTexture->isChecked();
  if (autoCoords) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
  }
  if (const int selected = lbxTextures->currentRow(); selected >= 0)
    if (const TGLTexture* texture = GLTexturer->GetTexture(selected))
      glBindTexture(GL_TEXTURE_2D, texture->TextureID);

  struct TCorner {
    float X, Y, Z, S, T;
  };
  struct TFace {
    float NX, NY, NZ;
    TCorner C[4];
  };
  static constexpr TFace Faces[6] = {
      {0, 0, 1, {{2, 2, 2, 1, 1}, {-2, 2, 2, 0, 1}, {-2, -2, 2, 0, 0}, {2, -2, 2, 1, 0}}},
      {0, 0, -1, {{2, 2, -2, 0, 1}, {2, -2, -2, 0, 0}, {-2, -2, -2, 1, 0}, {-2, 2, -2, 1, 1}}},
      {-1, 0, 0, {{-2, 2, 2, 1, 1}, {-2, 2, -2, 0, 1}, {-2, -2, -2, 0, 0}, {-2, -2, 2, 1, 0}}},
      {1, 0, 0, {{2, 2, 2, 0, 1}, {2, -2, 2, 0, 0}, {2, -2, -2, 1, 0}, {2, 2, -2, 1, 1}}},
      {0, 1, 0, {{-2, 2, -2, 0, 1}, {-2, 2, 2, 0, 0}, {2, 2, 2, 1, 0}, {2, 2, -2, 1, 1}}},
      {0, -1, 0, {{-2, -2, -2, 0, 0}, {2, -2, -2, 1, 0}, {2, -2, 2, 1, 1}, {-2, -2, 2, 0, 1}}}};
  glPushMatrix();
  for (const TFace& face : Faces) {
    glBegin(GL_POLYGON);
    glNormal3f(face.NX, face.NY, face.NZ);
    for (const TCorner& c : face.C) {
      if (!autoCoords) glTexCoord2f(c.S, c.T);
      glVertex3f(c.X, c.Y, c.Z);
    }
    glEnd();
  }
  glPopMatrix();

  if (colorMaterial) {
    glEnable(GL_COLOR_MATERIAL);
    MaterialColor(GL_FRONT, GL_EMISSION, clGLBlack);
  }
  if (!texturing) glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT, modes[0]);
  glPolygonMode(GL_BACK, modes[1]);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
}

void TMainForm::DrawViewVolume() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50);
  GLint modes[2];
  glGetIntegerv(GL_POLYGON_MODE, modes);
  switch (VolumePolygonMode) {
    case 0:
      glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
      break;
    case 1:
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      break;
    default:
      glPolygonMode(GL_BACK, GL_FILL);
      glPolygonMode(GL_FRONT, GL_LINE);
      break;
  }
  const bool blending = glIsEnabled(GL_BLEND);
  if (ckbxBlend->isChecked()) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
  }

  const TGLView& u = UserView;
  const float WX = std::fabs(u.Right - u.Left), WY = std::fabs(u.Top - u.Bottom),
              WZ = std::fabs(u.Far - u.Near);
  // 98 % of the volume, so the box stays inside the clip planes.
  const float HX = WX / 2 - WX * 0.01f, HY = WY / 2 - WY * 0.01f, HZ = WZ / 2 - WZ * 0.01f;
  const float cx = u.ViewPt.X, cy = u.ViewPt.Y, cz = u.ViewPt.Z;
  const float x0 = cx - HX, x1 = cx + HX, y0 = cy - HY, y1 = cy + HY, z0 = cz - HZ, z1 = cz + HZ;
  static constexpr float ColY[3] = {0, 0.2f, 0}, ColX[3] = {0.2f, 0, 0}, ColZ[3] = {0, 0, 0.2f};

  glPushMatrix();
  glBegin(GL_QUADS);
  glColor3fv(ColY);  // +Y
  glNormal3f(0, -1, 0);
  glVertex3f(x0, y1, z0);
  glVertex3f(x0, y1, z1);
  glVertex3f(x1, y1, z1);
  glVertex3f(x1, y1, z0);
  glColor3fv(ColX);  // -X
  glNormal3f(1, 0, 0);
  glVertex3f(x0, y0, z0);
  glVertex3f(x0, y0, z1);
  glVertex3f(x0, y1, z1);
  glVertex3f(x0, y1, z0);
  glColor3fv(ColY);  // -Y
  glNormal3f(0, 1, 0);
  glVertex3f(x0, y0, z0);
  glVertex3f(x1, y0, z0);
  glVertex3f(x1, y0, z1);
  glVertex3f(x0, y0, z1);
  glColor3fv(ColX);  // +X
  glNormal3f(-1, 0, 0);
  glVertex3f(x1, y0, z0);
  glVertex3f(x1, y1, z0);
  glVertex3f(x1, y1, z1);
  glVertex3f(x1, y0, z1);
  glColor3fv(ColZ);  // +Z
  glNormal3f(0, 0, -1);
  glVertex3f(x0, y0, z1);
  glVertex3f(x1, y0, z1);
  glVertex3f(x1, y1, z1);
  glVertex3f(x0, y1, z1);
  glColor3fv(ColZ);  // -Z
  glNormal3f(0, 0, 1);
  glVertex3f(x0, y0, z0);
  glVertex3f(x0, y1, z0);
  glVertex3f(x1, y1, z0);
  glVertex3f(x1, y0, z0);
  glEnd();
  glPopMatrix();

  glPolygonMode(GL_FRONT_AND_BACK, modes[0]);
  if (!blending) glDisable(GL_BLEND);
}

void TMainForm::DrawEyeLine() {
  const TGLView& u = UserView;
  glPushMatrix();
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(5, 0xECEC);
  glColor3f(1, 1, 1);
  glBegin(GL_LINES);
  glVertex3f(u.Eye.X, u.Eye.Y, u.Eye.Z);
  glVertex3f(u.ViewPt.X, u.ViewPt.Y, u.ViewPt.Z);
  glEnd();
  for (const TGLPoint4f* p : {&u.Eye, &u.ViewPt}) {
    glPushMatrix();
    glTranslatef(p->X, p->Y, p->Z);
    gluSphere(GLQuadric, 0.3, 5, 5);
    glPopMatrix();
  }
  glDisable(GL_LINE_STIPPLE);
  glPopMatrix();
}

void TMainForm::DrawPointsAndVectors() {
  const TGLColor4f C1 = GLLighter->ColorToGLColor(stPt1->Color());
  const TGLColor4f C2 = GLLighter->ColorToGLColor(stPt2->Color());
  const TGLColor4f CV = GLLighter->ColorToGLColor(stVec->Color());
  TGLPoint4f P = Point1;
  const TGLPoint4f Q = Point2;
  const int op = rdgpVecOp->ItemIndex();

  auto ball = [](float X, float Y, float Z) {
    glPushMatrix();
    glTranslatef(X, Y, Z);
    gluSphere(GLQuadric, 1.0, 5, 5);
    glPopMatrix();
  };
  auto line = [](const TGLColor4f& C, float X0, float Y0, float Z0, float X1, float Y1, float Z1) {
    glColor4fv(&C.R);
    glBegin(GL_LINES);
    glVertex3f(X0, Y0, Z0);
    glVertex3f(X1, Y1, Z1);
    glEnd();
  };

  glPushMatrix();
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(2, 0xAAAA);
  GLint width = 1;
  glGetIntegerv(GL_LINE_WIDTH, &width);
  glLineWidth(2);

  if (op == 6) {
    const TGLVector3f n = GLVector->Negate(P);
    P.X = n.X;
    P.Y = n.Y;
    P.Z = n.Z;
  }
  line(C1, 0, 0, 0, P.X, P.Y, P.Z);
  ball(P.X, P.Y, P.Z);
  line(C2, 0, 0, 0, Q.X, Q.Y, Q.Z);
  ball(Q.X, Q.Y, Q.Z);
  glDisable(GL_LINE_STIPPLE);

  bool result = true;
  TGLVector3f R{};
  switch (op) {
    case 0:
    case 4:
      line(CV, P.X, P.Y, P.Z, Q.X, Q.Y, Q.Z);
      result = false;
      break;
    case 3:
      R = GLVector->SetVectorLength(GLVector->CrossProduct(P, Q), 6);
      break;
    case 5:
      R = GLVector->SymmetricVector(P, Q);
      break;
    case 6:
      R = GLVector->ReflectVector(Point1, Point2);
      break;
    case 7: {
      TGLPoint4f turned = Point1;
      GLVector->RotateAboutNormal(turned, GLPoint4f(0, 0, 0, 1), Point2, 1.5707964f);
      R = GLVector3f(turned.X, turned.Y, turned.Z);
      break;
    }
    default:
      result = false;
      break;
  }
  if (result) {
    line(CV, 0, 0, 0, R.X, R.Y, R.Z);
    ball(R.X, R.Y, R.Z);
  }

  glLineWidth(static_cast<GLfloat>(width));
  glPopMatrix();
}
