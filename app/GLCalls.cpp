#include "GLCalls.h"

#include <GL/gl.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QSaveFile>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "BrimloLogo.h"
#include "CompiledDraw.h"
#include "GLCallsWindow.h"
#include "GLCapture.h"
#include "HandModel.h"
#include "IniFile.h"
#include "Messages.h"
#include "OpglLight.h"
#include "OpglTexture.h"
#include "RobotModel.h"
#include "Vector3D.h"
#include "frmOpgl.h"

TGLCalls* GLCalls = nullptr;
TGLCallsHook* GLCallsHook = nullptr;

namespace {

const TManagedTraits GLCallsTraits{"GLCalls", "mGLCallsWindow", false, false, false, false, false,
                                   false};

// In the order of ViewNames and of the "View Selectrion" group.
TGLView* const Views[7] = {&UserView, &FrontView, &BackView,  &RightView,
                           &LeftView, &TopView,   &BottomView};

bool Finite(float V) {
  return std::isfinite(V);
}

// A stored number inside [Min, Max], else the default.
float Stored(double V, float Min, float Max, float Default) {
  return std::isfinite(V) && V >= Min && V <= Max ? static_cast<float>(V) : Default;
}

// A stored enumeration when the cell offers it, else the default.
GLenum StoredChoice(int V, TEdit Edit, GLenum Default) {
  for (const TStateRow& row : StateRows())
    if (row.Cell.Edit == Edit)
      for (GLenum choice : row.Cell.Choices)
        if (static_cast<int>(choice) == V) return choice;
  return Default;
}

const TCellRule& RowRule(TEdit Edit) {
  for (const TStateRow& row : StateRows())
    if (row.Cell.Edit == Edit) return row.Cell;
  return FrameCellRule(Edit);
}

}  // namespace

void StartGLCalls() {
  TGLCalls::Create();
  // Open at the last exit: it opens again once the main window is up.
  if (GLCalls->FOpen)
    QTimer::singleShot(0, qApp, [] {
      if (GLCalls && GLCalls->FOpen && !GLCalls->IsOpen()) GLCalls->Open();
    });
}

void StopGLCalls() {
  try {
    TGLCalls::ReleaseInstance();
  } catch (const EIniFileException& e) {
    ShowMessage(e.Message());
  } catch (const std::exception& e) {
    ShowMessage(QString::fromLocal8Bit(e.what()));
  }
}

void ToggleGLCalls() {
  if (GLCalls) GLCalls->Toggle();
}

const TManagedTraits& TGLCalls::Traits() const {
  return GLCallsTraits;
}

void TGLCalls::InitMembers() {
  FExtras = TGLCallsExtras();
  FRecord = DefaultRecord();
  FViewIndex = 0;
  FOpen = false;
  FBounds = QRect();
}

void TGLCalls::FreeMembers() {
  if (GLCallsHook == this) GLCallsHook = nullptr;
  if (FWindow) {
    FBounds = FWindow->geometry();
    delete FWindow;
    FWindow = nullptr;
  }
}

// ---- settings ------------------------------------------------------------------------------

void TGLCalls::ReadOwnSettings(TIniFile& Ini) {
  const QString s = ClassName();
  FOpen = Ini.ReadBool(s, QStringLiteral("Open"), false);
  FViewIndex = std::clamp(Ini.ReadInteger(s, QStringLiteral("View"), 0), 0, 6);
  const QRect bounds(Ini.ReadInteger(s, QStringLiteral("Left"), 0),
                     Ini.ReadInteger(s, QStringLiteral("Top"), 0),
                     Ini.ReadInteger(s, QStringLiteral("Width"), 0),
                     Ini.ReadInteger(s, QStringLiteral("Height"), 0));
  // A size of a few thousand screens is no window: the next opening places it anew.
  if (bounds.width() >= 200 && bounds.height() >= 150 && bounds.width() <= 16384 &&
      bounds.height() <= 16384)
    FBounds = bounds;

  TGLCallsExtras e;
  for (int i = 0; i < MaxShownLights; ++i) {
    float a[3] = {1, 0, 0};
    if (ReadRecord(Ini, s, QStringLiteral("Attenuation%1").arg(i), a, sizeof a))
      for (int k = 0; k < 3; ++k) {
        const TCellRule& rule =
            StateRows()[static_cast<std::size_t>(FindRow(k == 0   ? GL_CONSTANT_ATTENUATION
                                                         : k == 1 ? GL_LINEAR_ATTENUATION
                                                                  : GL_QUADRATIC_ATTENUATION,
                                                         i))]
                .Cell;
        e.Attenuation[i][k] = Stored(a[k], float(rule.Min), float(rule.Max), e.Attenuation[i][k]);
      }
  }
  float color[4];
  if (ReadRecord(Ini, s, QStringLiteral("ModelAmbient"), color, sizeof color) &&
      std::all_of(color, color + 4, Finite))
    std::copy_n(color, 4, e.ModelAmbient);
  if (ReadRecord(Ini, s, QStringLiteral("FogColor"), color, sizeof color) &&
      std::all_of(color, color + 4, Finite))
    std::copy_n(color, 4, e.FogColor);
  e.LocalViewer = Ini.ReadBool(s, QStringLiteral("LocalViewer"), false);
  e.ShadeModel = StoredChoice(Ini.ReadInteger(s, QStringLiteral("ShadeModel"), GL_SMOOTH),
                              TEdit::ShadeModel, GL_SMOOTH);
  e.Fog = Ini.ReadBool(s, QStringLiteral("Fog"), false);
  e.FogMode =
      StoredChoice(Ini.ReadInteger(s, QStringLiteral("FogMode"), GL_EXP), TEdit::FogMode, GL_EXP);
  const TCellRule& density = RowRule(TEdit::FogDensity);
  const TCellRule& start = RowRule(TEdit::FogStart);
  e.FogDensity = Stored(Ini.ReadFloat(s, QStringLiteral("FogDensity"), 1), float(density.Min),
                        float(density.Max), 1);
  e.FogStart = Stored(Ini.ReadFloat(s, QStringLiteral("FogStart"), 0), float(start.Min),
                      float(start.Max), 0);
  e.FogEnd =
      Stored(Ini.ReadFloat(s, QStringLiteral("FogEnd"), 1), float(start.Min), float(start.Max), 1);
  e.TexEnvMode = StoredChoice(Ini.ReadInteger(s, QStringLiteral("TexEnvMode"), GL_MODULATE),
                              TEdit::TexEnvMode, GL_MODULATE);
  e.MinFilter = StoredChoice(Ini.ReadInteger(s, QStringLiteral("MinFilter"), GL_LINEAR),
                             TEdit::MinFilter, GL_LINEAR);
  e.MagFilter = StoredChoice(Ini.ReadInteger(s, QStringLiteral("MagFilter"), GL_LINEAR),
                             TEdit::MagFilter, GL_LINEAR);
  e.WrapS =
      StoredChoice(Ini.ReadInteger(s, QStringLiteral("WrapS"), GL_REPEAT), TEdit::WrapS, GL_REPEAT);
  e.WrapT =
      StoredChoice(Ini.ReadInteger(s, QStringLiteral("WrapT"), GL_REPEAT), TEdit::WrapT, GL_REPEAT);
  e.LightsBeforeLookAt = Ini.ReadBool(s, QStringLiteral("LightsBeforeLookAt"), false);
  FExtras = e;
  UpdateHook();
}

void TGLCalls::WriteOwnSettings(TIniFile& Ini) {
  const QString s = ClassName();
  if (FWindow) FBounds = FWindow->geometry();
  Ini.WriteBool(s, QStringLiteral("Open"), FOpen);
  Ini.WriteInteger(s, QStringLiteral("View"), FViewIndex);
  Ini.WriteInteger(s, QStringLiteral("Left"), FBounds.x());
  Ini.WriteInteger(s, QStringLiteral("Top"), FBounds.y());
  Ini.WriteInteger(s, QStringLiteral("Width"), FBounds.width());
  Ini.WriteInteger(s, QStringLiteral("Height"), FBounds.height());
  const TGLCallsExtras& e = FExtras;
  for (int i = 0; i < MaxShownLights; ++i)
    WriteRecord(Ini, s, QStringLiteral("Attenuation%1").arg(i), e.Attenuation[i],
                sizeof e.Attenuation[i]);
  WriteRecord(Ini, s, QStringLiteral("ModelAmbient"), e.ModelAmbient, sizeof e.ModelAmbient);
  Ini.WriteBool(s, QStringLiteral("LocalViewer"), e.LocalViewer);
  Ini.WriteInteger(s, QStringLiteral("ShadeModel"), static_cast<int32_t>(e.ShadeModel));
  Ini.WriteBool(s, QStringLiteral("Fog"), e.Fog);
  Ini.WriteInteger(s, QStringLiteral("FogMode"), static_cast<int32_t>(e.FogMode));
  Ini.WriteFloat(s, QStringLiteral("FogDensity"), e.FogDensity);
  Ini.WriteFloat(s, QStringLiteral("FogStart"), e.FogStart);
  Ini.WriteFloat(s, QStringLiteral("FogEnd"), e.FogEnd);
  WriteRecord(Ini, s, QStringLiteral("FogColor"), e.FogColor, sizeof e.FogColor);
  Ini.WriteInteger(s, QStringLiteral("TexEnvMode"), static_cast<int32_t>(e.TexEnvMode));
  Ini.WriteInteger(s, QStringLiteral("MinFilter"), static_cast<int32_t>(e.MinFilter));
  Ini.WriteInteger(s, QStringLiteral("MagFilter"), static_cast<int32_t>(e.MagFilter));
  Ini.WriteInteger(s, QStringLiteral("WrapS"), static_cast<int32_t>(e.WrapS));
  Ini.WriteInteger(s, QStringLiteral("WrapT"), static_cast<int32_t>(e.WrapT));
  Ini.WriteBool(s, QStringLiteral("LightsBeforeLookAt"), e.LightsBeforeLookAt);
}

// ---- the window ----------------------------------------------------------------------------

bool TGLCalls::IsOpen() const {
  return FWindow && FWindow->isVisible();
}

void TGLCalls::Open() {
  if (!MainForm) return;
  if (!FWindow) FWindow = new TGLCallsWindow(MainForm);
  if (FBounds.isEmpty() || !QGuiApplication::screenAt(FBounds.center())) {
    // Beside the scene: at the screen's right edge, above the User view's cell (the bottom
    // right third of the seven views, the two cells over it stay empty).
    const QScreen* screen =
        MainForm->screen() ? MainForm->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const int width = std::min(600, area.width() / 2);
    const QRect scene(MainForm->pbGL->mapToGlobal(QPoint(0, 0)), MainForm->pbGL->size());
    int bottom = scene.bottom() - scene.height() / 3 - 6;
    if (bottom - area.top() < 400) bottom = area.bottom() - 40;
    FBounds = QRect(area.right() - width - 8, area.top() + 30, width, bottom - area.top() - 30);
  }
  FWindow->setGeometry(FBounds);
  FOpen = true;
  UpdateHook();
  FWindow->show();
  FWindow->raise();
  // Opened from the keyboard, the keyboard goes on in the window.
  FWindow->activateWindow();
  FWindow->View()->setFocus();
  MainForm->Repaint();
  FWindow->ShowRecord();
}

void TGLCalls::Close() {
  if (FWindow && FWindow->isVisible()) {
    FBounds = FWindow->geometry();
    const bool active = FWindow->isActiveWindow();
    FWindow->hide();
    if (active && MainForm) MainForm->activateWindow();
  }
  FOpen = false;
  UpdateHook();
}

void TGLCalls::Toggle() {
  if (IsOpen())
    Close();
  else
    Open();
}

void TGLCalls::SetChosenView(int Index) {
  if (Index < 0 || Index > 6 || Index == FViewIndex) return;
  FViewIndex = Index;
  if (MainForm) MainForm->Repaint();
}

void TGLCalls::SetExtras(const TGLCallsExtras& Extras) {
  FExtras = Extras;
  UpdateHook();
  if (MainForm) MainForm->Repaint();
}

void TGLCalls::UpdateHook() {
  const bool needed = FOpen || !FExtras.IsDefault();
  if (needed) {
    GLCallsHook = this;
  } else if (GLCallsHook == this) {
    GLCallsHook = nullptr;
    // The frame no longer sends the additions: put OpenGL's defaults back at once.
    if (MainForm && MainForm->FGLContext.RC)
      MainForm->Dispatch([] {
        const TGLCallsExtras defaults;
        ApplyExtras(defaults, GLLighter ? GLLighter->GetMaxLights() : 0);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        for (int i = 0; GLTexturer && i < GLTexturer->GetTextureCount(); ++i) {
          glBindTexture(GL_TEXTURE_2D, GLTexturer->GetTexture(i)->TextureID);
          ApplyTextureExtras(defaults);
        }
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
      });
  }
}

void TGLCalls::CopyAsC() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(CText()));
}

bool TGLCalls::SaveAsC() {
  if (!MainForm || !FWindow) return false;
  TPictureDialog request{QStringLiteral("Save as C"),
                         QStringLiteral("C source (*.c)|*.c|All files (*)|*"), 1,
                         QStringLiteral("opgl_state.c")};
  if (!MainForm->Dialogs.ChoosePicture(FWindow->SaveDialog(), request)) return false;
  QSaveFile file(request.FileName);
  const QByteArray text = QByteArray::fromStdString(CText());
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
    ShowMessage(QStringLiteral("Unable to write to %1").arg(request.FileName));
    return false;
  }
  return true;
}

// ---- the frame -----------------------------------------------------------------------------

void TGLCalls::ViewApplied(const TGLView& View) {
  const bool single = MainForm && MainForm->ckbxSinglePort->isChecked();
  const TGLView* chosen = single ? CurrentView : Views[FViewIndex];
  FDrawing = FOpen && &View == chosen ? &View : nullptr;
  const int lights = GLLighter ? GLLighter->GetMaxLights() : 0;
  ApplyExtras(FExtras, lights);
  // The filters and wraps belong to a texture: give them to the one the cube will wear.
  if (MainForm && GLTexturer)
    if (const TGLTexture* texture = GLTexturer->GetTexture(MainForm->lbxTextures->ItemIndex()))
      glBindTexture(GL_TEXTURE_2D, texture->TextureID);
  ApplyTextureExtras(FExtras);
}

void TGLCalls::LightPassBegins() {
  FLightsPushed = FExtras.LightsBeforeLookAt;
  if (!FLightsPushed) return;
  // As if given before gluLookAt: the lights ride with the eye.
  glPushMatrix();
  glLoadIdentity();
}

void TGLCalls::LightPassEnds() {
  if (FLightsPushed) glPopMatrix();
  FLightsPushed = false;
}

void TGLCalls::ObjectsDrawn() {
  if (!FDrawing) return;
  CaptureState(FRecord);
  FillCalls(*FDrawing);
  ++FCaptures;
  FDrawing = nullptr;
  if (FWindow) FWindow->RecordChanged();
}

void TGLCalls::FillCalls(const TGLView& View) {
  TGLFrameCalls& c = FRecord.Calls;
  TMainForm& form = *MainForm;
  c.ViewName = ViewNames[View.Kind].toStdString();
  c.SingleView = form.ckbxSinglePort->isChecked();
  const TGLProjectionCall call = ProjectionCall(View);
  c.Projection = call.Mode;
  std::copy_n(call.A, 6, c.ProjectionArgs);
  c.ViewportWidth = View.Width;
  c.ViewportHeight = View.Height;
  const double lookAt[9] = {View.Eye.X,    View.Eye.Y, View.Eye.Z, View.ViewPt.X, View.ViewPt.Y,
                            View.ViewPt.Z, View.Up.X,  View.Up.Y,  View.Up.Z};
  std::copy_n(lookAt, 9, c.LookAt);
  c.LightsBeforeLookAt = FExtras.LightsBeforeLookAt;
  const bool rotate = form.ckbxRotateLight->isChecked();
  for (int i = 0; i < MaxShownLights; ++i) {
    TGLFrameCalls::TLight& l = c.Lights[static_cast<std::size_t>(i)];
    l = TGLFrameCalls::TLight{};
    if (i >= FRecord.LightCount || !GLLighter) continue;
    const TGLLightPlacement p = GLLighter->Placement(i, LightAngles, rotate);
    l.Placed = p.Placed;
    l.TurnCount = p.TurnCount;
    for (int t = 0; t < 2; ++t) {
      l.Turns[t][0] = p.Turns[t].Angle;
      l.Turns[t][1] = p.Turns[t].X;
      l.Turns[t][2] = p.Turns[t].Y;
      l.Turns[t][3] = p.Turns[t].Z;
    }
    const float move[3] = {p.Move.X, p.Move.Y, p.Move.Z};
    std::copy_n(move, 3, l.Move);
    const float position[4] = {p.Position.X, p.Position.Y, p.Position.Z, p.Position.W};
    std::copy_n(position, 4, l.Position);
    l.Aimed = p.Aimed;
    const float direction[4] = {p.Direction.X, p.Direction.Y, p.Direction.Z, p.Direction.W};
    std::copy_n(direction, 4, l.Direction);
  }
  c.ObjectScale = form.FObjectScale;

  // The objects in the order the scene draws them.
  c.Objects.clear();
  const char* compiled = ImmediateDrawing() ? "glBegin/glEnd" : "from a display list";
  const char* meshes = ImmediateDrawing() ? "glBegin/glEnd" : "indexed, from buffer objects";
  if (form.ckbxShowLights->isChecked() && form.ckbxLightOn->isChecked()) {
    int on = 0;
    for (int i = 0; i < FRecord.LightCount; ++i)
      if (c.Lights[static_cast<std::size_t>(i)].Placed) ++on;
    c.Objects.push_back({"Light markers", on * 180, std::to_string(on) + " spheres " + compiled});
  }
  if (form.ckbxShowFrame->isChecked()) c.Objects.push_back({"BRL Logo", 32 + 160, compiled});
  if (form.ckbxShowBall->isChecked()) c.Objects.push_back({"Ball", 1740, compiled});
  if (form.ckbxShowCube->isChecked())
    c.Objects.push_back({"Satellite cube", 12, "6 quads, glBegin/glEnd, textured"});
  if (form.ckbxShowWorldAxis->isChecked())
    c.Objects.push_back({"World axis", form.ckbxShowXZplane->isChecked() ? 6 : 0,
                         "3 dashed lines and the plane squares, glBegin/glEnd"});
  if (form.ckbxShowEyeLine->isChecked())
    c.Objects.push_back({"Eye line", 80, "a dashed line and 2 spheres"});
  if (form.ckbxShowVolume->isChecked())
    c.Objects.push_back({"View volume", 12, "6 quads, glBegin/glEnd"});
  if (form.ckbxShowPts->isChecked())
    c.Objects.push_back({"Points and vectors", 120, "lines and spheres"});
  if (form.ckbxHand->isChecked())
    c.Objects.push_back({"Hand", HandTrianglesDrawn(),
                         std::string(meshes) + " (" + std::to_string(HandTriangleCount) +
                             " in the mesh, the hidden back faces left out)"});
  if (form.ckbxRobot->isChecked())
    c.Objects.push_back({"Robot", RobotTrianglesDrawn(),
                         std::string(meshes) + " (" + std::to_string(RobotTriangleCount) +
                             " in the mesh, the hidden back faces left out)"});
}

// ---- changes -------------------------------------------------------------------------------

namespace {

enum class TMaterialOwner { None, Preset, Logo };

// Whose material the view's last object wore, and so what a material cell changes.
TMaterialOwner MaterialOwner(const TGLCallsRecord& Record) {
  if (!GLBrimloLogo || Record.Calls.Objects.empty()) return TMaterialOwner::None;
  const std::string& last = Record.Calls.Objects.back().What;
  if (last == "Robot" || last == "Hand") return TMaterialOwner::Preset;
  if (last == "BRL Logo" || last == "Ball") {
    if (GLBrimloLogo->FMaterialMode == mmOthers) return TMaterialOwner::Preset;
    if (GLBrimloLogo->FMaterialMode == mmUserDefine) return TMaterialOwner::Logo;
  }
  return TMaterialOwner::None;
}

bool IsMaterialEdit(TEdit Edit) {
  return Edit == TEdit::MaterialAmbient || Edit == TEdit::MaterialDiffuse ||
         Edit == TEdit::MaterialSpecular || Edit == TEdit::MaterialEmission ||
         Edit == TEdit::Shininess;
}

float& Component(TGLColor4f& C, int K) {
  return K == 0 ? C.R : K == 1 ? C.G : C.B;
}

float& Component(TGLPoint4f& P, int K) {
  return K == 0 ? P.X : K == 1 ? P.Y : P.Z;
}

// A preset colour on a swatch of the "Material" tab, its four numbers as the hint.
void ShowPresetColor(TStaticText* Swatch, const TGLColor4f& C) {
  const TColor color = GLColorToColor(C);
  Swatch->SetColor(color);
  Swatch->SetFontColor(InverseColor(color));
  Swatch->setToolTip(FormatText("(%.3f, %.3f, %.3f, %.1f)", C.R, C.G, C.B, C.A));
}

int Rounded(double V) {
  return static_cast<int>(std::nearbyint(std::clamp(V, -1e9, 1e9)));
}

}  // namespace

bool TGLCalls::IsEditable(const TGLCallsCell& Cell) const {
  if (!Cell.Rule || Cell.Rule->Edit == TEdit::None) return false;
  if (IsMaterialEdit(Cell.Rule->Edit)) {
    const TMaterialOwner owner = MaterialOwner(FRecord);
    if (owner == TMaterialOwner::None) return false;
    // The presets hold no emission.
    if (owner == TMaterialOwner::Preset && Cell.Rule->Edit == TEdit::MaterialEmission) return false;
  }
  return true;
}

QString TGLCalls::CellHint(const TGLCallsCell& Cell) const {
  if (!Cell.Rule) return QString();
  QString hint = QString::fromUtf8(Cell.Rule->Hint);
  if (Cell.Light >= 0) hint = QStringLiteral("Light%1: ").arg(Cell.Light) + hint;
  if (IsMaterialEdit(Cell.Rule->Edit)) {
    switch (MaterialOwner(FRecord)) {
      case TMaterialOwner::Preset:
        hint += Cell.Rule->Edit == TEdit::MaterialEmission
                    ? QStringLiteral(" - the preset material holds none: fixed here")
                    : QStringLiteral(" - of the preset material (\"Others\" of the Material tab)");
        break;
      case TMaterialOwner::Logo:
        hint += QStringLiteral(" - the logo's \"User Define\" material (Material tab)");
        break;
      case TMaterialOwner::None:
        hint += QStringLiteral(" - fixed by the program for this object");
        break;
    }
  }
  if (Cell.Rule->Choices.empty())
    hint += QStringLiteral("; drag up or down");
  else
    hint += QStringLiteral("; click to choose");
  return hint;
}

void TGLCalls::DragCell(const TGLCallsCell& Cell, int Steps) {
  if (!MainForm || !IsEditable(Cell) || !Cell.Rule->Choices.empty()) return;
  const TCellRule& rule = *Cell.Rule;
  TMainForm& form = *MainForm;
  if (rule.Edit == TEdit::VolumeSize) {
    // Through the panel's scale buttons, one click a step.
    form.Dispatch([&] {
      for (; FVolumeSteps < Steps; ++FVolumeSteps) form.sbScaleUp->click();
      for (; FVolumeSteps > Steps; --FVolumeSteps) form.sbScaleDn->click();
    });
    return;
  }
  const double value = std::clamp(Cell.Value + Steps * rule.Step, rule.Min, rule.Max);
  form.Dispatch([&] { SetNumber(Cell, value); });
}

void TGLCalls::EndDrag() {
  FVolumeSteps = 0;
}

void TGLCalls::SetNumber(const TGLCallsCell& Cell, double Value) {
  TMainForm& form = *MainForm;
  const int light = Cell.Light;
  const int k = std::clamp(Cell.Component, 0, 2);
  const bool selected = light >= 0 && form.ckbxLights->ItemIndex() == light;
  const float v = static_cast<float>(Value);
  TGLCallsExtras e = FExtras;
  switch (Cell.Rule->Edit) {
    case TEdit::Fov:
      // The bar's handler sets the view; the bar keeps to its range.
      form.tkbarFov->setValue(Rounded(Value));
      return;
    case TEdit::Eye:
    case TEdit::Center: {
      TGLPoint4f& p = Cell.Rule->Edit == TEdit::Eye ? UserView.Eye : UserView.ViewPt;
      Component(p, k) = v;
      GLCamera->AlignUpVector(UserView);
      form.rdgpCurViewClick(form.rdgpCurView);
      form.Repaint();
      return;
    }
    case TEdit::ObjectScale:
      // As keys A and S do.
      form.FObjectScale = std::clamp(v, 0.2f, 6.0f);
      GLBrimloLogo->FScale = form.FObjectScale;
      form.Repaint();
      return;
    case TEdit::LightMove:
    case TEdit::SpotAim: {
      const bool move = Cell.Rule->Edit == TEdit::LightMove;
      TGLPoint4f p = move ? GLLighter->GetLightPosition(light) : GLLighter->GetSpotDirection(light);
      Component(p, k) = v;
      if (move)
        GLLighter->SetLightPosition(light, p);
      else
        GLLighter->SetSpotDirection(light, p);
      if (selected) {
        // The edits show the light's numbers; their Apply button asks before each change, so
        // the drag sets the light itself and the edits follow.
        QLineEdit* const edits[2][3] = {{form.edPosX, form.edPosY, form.edPosZ},
                                        {form.edDirX, form.edDirY, form.edDirZ}};
        for (int c = 0; c < 3; ++c)
          edits[move ? 0 : 1][c]->setText(FormatText("%.1f", Component(p, c)));
        if (move)
          form.edLightDist->setText(FormatText("%.2f", GLVector->Distance(p, UserView.ViewPt)));
      }
      form.Repaint();
      return;
    }
    case TEdit::LightAmbient:
    case TEdit::LightDiffuse:
    case TEdit::LightSpecular: {
      const int part = Cell.Rule->Edit == TEdit::LightAmbient   ? 0
                       : Cell.Rule->Edit == TEdit::LightDiffuse ? 1
                                                                : 2;
      if (selected) {
        // The tab's bars show this colour once its kind is chosen; the bar's handler sets it.
        form.rdgpLightColor->SetItemIndex(part);
        QSlider* const bars[3] = {form.tkbarR, form.tkbarG, form.tkbarB};
        bars[k]->setValue(Rounded(Value * 255));
        return;
      }
      TGLColor4f c = part == 0   ? GLLighter->GetAmbient(light)
                     : part == 1 ? GLLighter->GetDiffuse(light)
                                 : GLLighter->GetSpecular(light);
      Component(c, k) = v;
      if (part == 0) GLLighter->SetAmbient(light, c);
      if (part == 1) {
        GLLighter->SetDiffuse(light, c);
        form.ckbxLights->SetItemColor(light, GLLighter->GLColorToColor(c));
      }
      if (part == 2) GLLighter->SetSpecular(light, c);
      form.Repaint();
      return;
    }
    case TEdit::CutOff:
    case TEdit::Exponent: {
      const bool cut = Cell.Rule->Edit == TEdit::CutOff;
      if (selected) {
        (cut ? form.tkbarCutOff : form.tkbarFallOff)->setValue(Rounded(Value));
        return;
      }
      if (cut)
        GLLighter->SetCutOff(light, static_cast<float>(Rounded(Value)));
      else
        GLLighter->SetExponent(light, static_cast<float>(Rounded(Value)));
      form.Repaint();
      return;
    }
    case TEdit::MaterialAmbient:
    case TEdit::MaterialDiffuse:
    case TEdit::MaterialSpecular:
    case TEdit::MaterialEmission:
    case TEdit::Shininess: {
      const int part = Cell.Rule->Edit == TEdit::MaterialAmbient    ? 0
                       : Cell.Rule->Edit == TEdit::MaterialDiffuse  ? 1
                       : Cell.Rule->Edit == TEdit::MaterialSpecular ? 2
                       : Cell.Rule->Edit == TEdit::MaterialEmission ? 3
                                                                    : 4;
      if (MaterialOwner(FRecord) == TMaterialOwner::Logo) {
        if (part == 4) {
          form.tkbarShiness->setValue(Rounded(Value));
          return;
        }
        form.rdgpMtColor->SetItemIndex(part);
        QSlider* const bars[3] = {form.tkbarMtR, form.tkbarmtG, form.tkBarMtB};
        bars[k]->setValue(Rounded(Value * 255));
        return;
      }
      TGLMaterial& preset = GLBrimloLogo->FPresetMaterial;
      if (part == 4) {
        preset.Shininess = v / 128.0f;
      } else if (part < 3) {
        TGLColor4f& c = part == 0 ? preset.Ambient : part == 1 ? preset.Diffuse : preset.Specular;
        Component(c, k) = v;
        ShowPresetColor(part == 0   ? form.stAmbient
                        : part == 1 ? form.stDiffuse
                                    : form.stSpecular,
                        c);
      }
      form.Repaint();
      return;
    }
    case TEdit::Attenuation:
      e.Attenuation[std::clamp(light, 0, MaxShownLights - 1)][k] = v;
      break;
    case TEdit::ModelAmbient:
      e.ModelAmbient[k] = v;
      break;
    case TEdit::FogColor:
      e.FogColor[k] = v;
      break;
    case TEdit::FogDensity:
      e.FogDensity = v;
      break;
    case TEdit::FogStart:
      e.FogStart = v;
      break;
    case TEdit::FogEnd:
      e.FogEnd = v;
      break;
    default:
      return;
  }
  SetExtras(e);
}

void TGLCalls::ChooseCell(const TGLCallsCell& Cell, GLenum Choice) {
  if (!Cell.Rule || !IsEditable(Cell)) return;
  const std::vector<GLenum>& choices = Cell.Rule->Choices;
  if (std::find(choices.begin(), choices.end(), Choice) == choices.end()) return;
  TGLCallsExtras e = FExtras;
  switch (Cell.Rule->Edit) {
    case TEdit::LightsPlace:
      e.LightsBeforeLookAt = Choice != GL_FALSE;
      break;
    case TEdit::LocalViewer:
      e.LocalViewer = Choice != GL_FALSE;
      break;
    case TEdit::Fog:
      e.Fog = Choice != GL_FALSE;
      break;
    case TEdit::ShadeModel:
      e.ShadeModel = Choice;
      break;
    case TEdit::FogMode:
      e.FogMode = Choice;
      break;
    case TEdit::TexEnvMode:
      e.TexEnvMode = Choice;
      break;
    case TEdit::MinFilter:
      e.MinFilter = Choice;
      break;
    case TEdit::MagFilter:
      e.MagFilter = Choice;
      break;
    case TEdit::WrapS:
      e.WrapS = Choice;
      break;
    case TEdit::WrapT:
      e.WrapT = Choice;
      break;
    default:
      return;
  }
  if (MainForm)
    MainForm->Dispatch([&] { SetExtras(e); });
  else
    SetExtras(e);
}
