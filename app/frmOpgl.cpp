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
#include <algorithm>
#include <cmath>

#include "AppPaths.h"
#include "BrimloLogo.h"
#include "Conversions.h"
#include "GLCalls.h"
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

// ---------------------------------------------------------------------------------------------

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent) {
  InitFrmOpgl();
  CreateControls();
  Dialogs = RealDialogs(this, ColorDialog1);
  RasterPicture = DesignTimePicture();
  ShowRasterPicture();
  ConnectEvents();
  qApp->installEventFilter(this);
  Dispatch([&] { FormCreate(this); });
  StartGLCalls();
}

TMainForm::~TMainForm() {
  qApp->removeEventFilter(this);
  StopGLCalls();
  Dispatch([&] { FormDestroy(this); });
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
  // focused control, or the window itself when nothing has the focus); then the control's
  // own key handlers may swallow it.
  const QEvent::Type type = Event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* widget = qobject_cast<QWidget*>(Watched);
    QWidget* focus = QApplication::focusWidget();
    if (widget && widget->window() == this && (widget == focus || (!focus && widget == this))) {
      auto* key = static_cast<QKeyEvent*>(Event);
      if (type == QEvent::KeyPress) {
        int code = key->key();
        Dispatch([&] { FormKeyDown(widget, code, key->modifiers()); });
        if (code == 0) return true;
        // A handler that moved the focus (it opened a modal box or a dialog) has answered the
        // key: passed on, it would reach the window with no focus left and run the table again.
        if (QApplication::focusWidget() != focus) return true;
      }
      if (ControlKeyHandlers(widget, key)) return true;
    }
  }
  return QMainWindow::eventFilter(Watched, Event);
}

bool TMainForm::ControlKeyHandlers(QObject* Control, QKeyEvent* Event) {
  const bool press = Event->type() == QEvent::KeyPress;
  int code = Event->key();
  QChar character = Event->text().isEmpty() ? QChar() : Event->text().front();
  // Only typed characters reach the character handlers; shortcuts and keys that type
  // nothing (arrows, Delete, Tab) are not characters.
  const bool typed = press && !character.isNull() && character.unicode() >= 32 &&
                     character.unicode() != 127 && !(Event->modifiers() & Qt::ControlModifier);
  if (IsKeyDeafBar(Control)) {
    if (press)
      tkbarFovKeyDown(Control, code);
    else if (Control == tkbarFov || Control == tkbarShiness)
      tkbarFovKeyUp(Control, code);
    else
      tkbarFovKeyDown(Control, code);
    if (typed) tkbarFovKeyPress(Control, character);
    return code == 0 || (typed && character.isNull());
  }
  if (typed && IsNumericEdit(Control)) {
    edX1KeyPress(Control, character);
    return character.isNull();
  }
  if (press && Control == lbxOtherMaterials) {
    lbxOtherMaterialsKeyDown(Control, code);
    return code == 0;
  }
  return false;
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
  if (GLManager && GLManager->CreateRenderContext(
                       pbGL, pbGL->context(), [this] { pbGL->makeCurrent(); }, FGLContext)) {
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
    GLTexturer->AddTextureFromFile(
        AppPaths::FindStartupFile(PlatformPath(QString::fromLatin1(file))));
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

// ---- operations -----------------------------------------------------------------------------

void TMainForm::Repaint() {
  ++FramesRequested;
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
    if (GLCallsHook) GLCallsHook->ViewApplied(*CurrentView);
    DrawScene();
    if (names) GLManager->DrawText2D(20, 60, ViewNames[CurrentView->Kind]);
  } else {
    // The side views look at the User view's view point from the User view's distance.
    for (TGLView* view : {&FrontView, &BackView, &LeftView, &RightView, &TopView, &BottomView})
      GLCamera->SetViewPoints(*view, UserView.Eye, UserView.ViewPt);
    for (TGLView* view :
         {&UserView, &LeftView, &RightView, &FrontView, &BackView, &TopView, &BottomView}) {
      GLCamera->ApplyView(*view);
      if (GLCallsHook) GLCallsHook->ViewApplied(*view);
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
  ckbxLights->SetItemIndex(0);
}

void TMainForm::FillMaterialControls() {
  ckbxColorMaterial->setChecked(GLBrimloLogo->FColorMaterial);
  ckbxMixLogoColor->setChecked(GLBrimloLogo->FMixLogoColor);
  // Held inside the bar before the conversion, whatever the logo holds.
  const double rate = std::isfinite(GLBrimloLogo->FMixRate) ? GLBrimloLogo->FMixRate * 10.0 : 0.0;
  tkbarMixRate->setValue(static_cast<int>(std::nearbyint(std::clamp(rate, 0.0, 10.0))));
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
