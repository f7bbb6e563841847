#pragma once
// The main window: the control panel on the left, the rendering surface on the right, the
// seven camera views, the animation and the frame.
#include <QImage>
#include <QMainWindow>
#include <vector>

#include "CheckListBoxColor.h"
#include "ColorButton.h"
#include "Conversions.h"
#include "DialogSeam.h"
#include "GOpglDefine.h"
#include "ListBoxColor.h"
#include "ManageOpgl.h"
#include "Messages.h"
#include "OpglCamera.h"
#include "PanelWidgets.h"

class QCheckBox;
class QColorDialog;
class QFileDialog;
class QFrame;
class QLineEdit;
class QMenu;
class QAction;
class QSlider;
class QSplitter;
class QTimer;
class QToolButton;

// The seven views, in their storage order, and the one shown in the single-viewport mode.
extern TGLView UserView, FrontView, BackView, LeftView, RightView, TopView, BottomView;
extern TGLView* CurrentView;
// Orbit angle of each light in degrees.
extern std::vector<float> LightAngles;
// Operands of the vector tab.
extern TGLPoint4f Point1, Point2;
extern float VolumeScale;
extern float VolumeScaleStep;
extern int LastMousePos[2], DownMousePos[2];
extern TGLPoint4f DefaultEye;
extern TGLPoint4f DefaultViewPoint;
extern float DefaultVolumeHalf;
extern uint8_t ObjectPolygonMode;
extern uint8_t VolumePolygonMode;

// Where the start-up textures are, relative to the working folder.
extern const char* const TextureFiles[7];

// The polygon stipple pattern of key J: 128 bytes, the first 0xAA.
const unsigned char* PolygonStippleMask();

// The picture the "TavRaster" tab starts with.
QImage DesignTimePicture();

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* Parent = nullptr);
  ~TMainForm() override;

  // ---- controls ----------------------------------------------------------------------------
  QFrame* Panel1;
  QFrame* Panel12;
  QCheckBox* ckbxSinglePort;
  QToolButton* sbSellAll;
  QToolButton* sbUnSelAll;
  QToolButton* btnGLCalls;  // opens and closes the "GL Calls" window, as F2 does
  QGroupBox* grpDisplay;
  QCheckBox *ckbxShowFrame, *ckbxShowBall, *ckbxShowCube, *ckbxShowWorldAxis, *ckbxShowXZplane,
      *ckbxShowVolume, *ckbxShowEyeLine, *ckbxShowLights, *ckbxShowPts, *ckbxHand, *ckbxRobot;
  TPageControl* PageControl1;
  QSplitter* Splitter1;
  TGLSurface* pbGL;
  TStatusBar* StatusBar1;
  QTimer* Timer;
  QColorDialog* ColorDialog1;
  QMenu* pmLights;
  QAction* ChangeColor1;
  QFileDialog* OpenPictureDialog1;
  QFileDialog* SavePictureDialog1;

  // GLManager page
  QFrame* Panel2;
  QCheckBox* ckbxBlend;
  QPushButton *BitBtn1, *BitBtn2;
  QGroupBox* GroupBox1;
  QLineEdit *edProjectMats, *edModelMats, *edTextureMats, *edColorMats;
  TRadioGroup *rdgpObjMode, *rdgpVolumeMode;
  TStaticText* stBkColor;
  QCheckBox* ckbxShowSideText;
  TColorButton* btnFontColor;

  // GLCamera page
  TRadioGroup *rdgpPrjMode, *rdgpCurView;
  QGroupBox* GroupBox3;
  QCheckBox* ckRemainPrjRatio;
  QLineEdit* edFov;
  QSlider* tkbarFov;
  QLineEdit *edVW, *edVH, *edVD;
  QToolButton* sbDefaultVolume;
  QGroupBox* GroupBox2;
  QLineEdit *edEX, *edEy, *edEZ, *edvx, *edvy, *edvz;
  QLineEdit* edEye2View;
  QLineEdit *edVolumeW, *edVolumeH, *edVolumeD;
  QToolButton *sbScaleDn, *sbScaleUp;
  QPushButton* btnResetViewVolume;
  QPushButton* BitBtn3;
  TRadioGroup* rdgpRotateAxis;

  // GLLighter page
  QLineEdit* edLIghtNum;
  QCheckBox* ckbxLightOn;
  QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3;
  TCheckListBoxColor* ckbxLights;
  TRadioGroup* rdgpLightColor;
  TColorButton* btnLightColor;
  TStaticText *stR, *stG, *stB;
  QSlider *tkbarR, *tkbarG, *tkbarB;
  TRadioGroup* rdgpLightType;
  QSlider* tkbarCutOff;
  QLineEdit* edShineDia;
  QSlider* tkbarFallOff;
  QLineEdit* edFallOff;
  QCheckBox* ckbxRotateLight;
  QToolButton* SpeedButton6;
  QLineEdit *edPosX, *edPosY, *edPosZ, *edDirX, *edDirY, *edDirZ;
  QLineEdit* edLightDist;
  QCheckBox* ckbxLightTwoSide;

  // GLVector page
  TStaticText* stPt1;
  QLineEdit *edX1, *edy1, *edz1;
  TStaticText* stPt2;
  QLineEdit *edx2, *edy2, *edz2;
  QPushButton* BitBtn4;
  QToolButton* SpeedButton4;
  TStaticText* stVec;
  QLineEdit* edVec;
  TRadioGroup* rdgpVecOp;

  // Material page
  QCheckBox* ckbxColorMaterial;
  QFrame* pnlMixLogoColor;
  QCheckBox* ckbxMixLogoColor;
  QSlider* tkbarMixRate;
  QLineEdit* edMixRate;
  TRadioGroup* rdgpMaterial;
  QFrame* pnlMtUserDefine;
  TRadioGroup* rdgpMtColor;
  TColorButton* btnMtColor;
  TStaticText *stMtR, *stMtG, *stMtB;
  QSlider *tkbarMtR, *tkbarmtG, *tkBarMtB;
  QLineEdit* edShinese;
  QSlider* tkbarShiness;
  TListBoxColor* lbxOtherMaterials;
  TStaticText *stAmbient, *stDiffuse, *stSpecular, *stShininess;

  // TavRaster page
  QFrame* Panel14;
  QLabel* Image1;
  QPushButton *Button3, *Button4, *Button6, *Button5;
  QLineEdit *edBmpW, *edBmpH, *edBmpPf;
  QPushButton* Button7;

  // GLTexturer page
  TListBoxColor* lbxTextures;
  QPushButton *Button8, *Button9, *Button10;
  QLineEdit* edTxtWH;
  QCheckBox* ckbxAutoGenTexture;

  // ---- event handlers ----------------------------------------------------------------------
  void FormCreate(QObject* Sender);
  void FormShow(QObject* Sender);
  void FormResize(QObject* Sender);
  void Splitter1Moved(QObject* Sender);
  void FormPaint(QObject* Sender);
  void TimerTimer(QObject* Sender);
  void FormDestroy(QObject* Sender);
  int WMQueryNewPalette();
  int WMPaletteChanged(QObject* ChangedBy);

  // Keyboard and mouse (Input.cpp). The window sees every key before the focused control;
  // a control's own handler then setting the key to 0 swallows it.
  void FormKeyDown(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);
  void tkbarFovKeyDown(QObject* Sender, int& Key);
  void tkbarFovKeyUp(QObject* Sender, int& Key);
  void tkbarFovKeyPress(QObject* Sender, QChar& Key);
  void edX1KeyPress(QObject* Sender, QChar& Key);
  void lbxOtherMaterialsKeyDown(QObject* Sender, int& Key);
  // Mouse coordinates are the surface's own, in logical pixels, Y down.
  void pbGLMouseDown(QObject* Sender, int X, int Y);
  void pbGLMouseMove(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X,
                     int Y);
  void pbGLMouseUp(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y);

  // Display options (DisplayOptions.cpp).
  void ckbxSinglePortClick(QObject* Sender);
  void ckbxShowWorldAxisClick(QObject* Sender);
  void ckbxShowXZplaneClick(QObject* Sender);
  void ckbxShowPtsClick(QObject* Sender);
  void sbSellAllClick(QObject* Sender);
  void sbUnSelAllClick(QObject* Sender);

  // "GLManager" (TabManager.cpp).
  void ckbxBlendClick(QObject* Sender);
  void rdgpObjModeClick(QObject* Sender);
  void rdgpVolumeModeClick(QObject* Sender);
  void stBkColorClick(QObject* Sender);
  void btnFontColorClick(QObject* Sender);

  // "GLCamera" (TabCamera.cpp).
  void rdgpPrjModeClick(QObject* Sender);
  void rdgpCurViewClick(QObject* Sender);
  void tkbarFovChange(QObject* Sender);
  void ckRemainPrjRatioClick(QObject* Sender);
  void sbScaleClick(QObject* Sender);
  void btnResetViewVolumeClick(QObject* Sender);
  void sbDefaultVolumeClick(QObject* Sender);

  // "GLLighter" (TabLighter.cpp).
  void ckbxLightOnClick(QObject* Sender);
  void SpeedButton1Click(QObject* Sender);
  void SpeedButton2Click(QObject* Sender);
  void SpeedButton3Click(QObject* Sender);
  void ckbxLightsClick(QObject* Sender);
  void ChangeColor1Click(QObject* Sender);
  void rdgpLightColorClick(QObject* Sender);
  void tkbarColor(QObject* Sender);
  void rdgpLightTypeClick(QObject* Sender);
  void tkbarCutOffChange(QObject* Sender);
  void tkbarFallOffChange(QObject* Sender);
  void SpeedButton6Click(QObject* Sender);
  void ckbxLightTwoSideClick(QObject* Sender);

  // "GLVector" (TabVector.cpp).
  void SpeedButton4Click(QObject* Sender);
  void rdgpVecOpClick(QObject* Sender);

  // "Material" (TabMaterial.cpp).
  void rdgpMaterialClick(QObject* Sender);
  void rdgpMtColorClick(QObject* Sender);
  void tkbarMtColorChange(QObject* Sender);
  void tkbarShinessChange(QObject* Sender);
  void lbxOtherMaterialsClick(QObject* Sender);
  void ckbxColorMaterialClick(QObject* Sender);
  void ckbxMixLogoColorClick(QObject* Sender);
  void tkbarMixRateChange(QObject* Sender);

  // "TavRaster" (TabRaster.cpp).
  void Button3Click(QObject* Sender);
  void Button4Click(QObject* Sender);
  void Button5Click(QObject* Sender);
  void Button6Click(QObject* Sender);
  void Button7Click(QObject* Sender);

  // "GLTexturer" (TabTexturer.cpp).
  void Button8Click(QObject* Sender);
  void Button9Click(QObject* Sender);
  void Button10Click(QObject* Sender);
  void lbxTexturesClick(QObject* Sender);
  void ckbxAutoGenTextureClick(QObject* Sender);

  // Reports (Reports.cpp).
  void BitBtn1Click(QObject* Sender);
  void BitBtn2Click(QObject* Sender);
  void BitBtn3Click(QObject* Sender);
  void BitBtn4Click(QObject* Sender);
  void btnLightColorClick(QObject* Sender);
  // The key help in a message box.
  void ShowKeyHelp();

  // ---- operations --------------------------------------------------------------------------
  void RenderFrame();
  void LayoutViewports();
  void UpdateLayout();
  void RefreshPanel();
  void RefreshStatusBar();
  void ReadVectorPoints();
  void ResetViews();
  void ScaleViewVolumes(float Factor);
  void FillLightList();
  void FillMaterialControls();
  void FillTextureList();
  void RandomizeLightAngles();
  void DrawScene();
  void DrawSatelliteCube();
  void DrawViewVolume();
  void DrawEyeLine();
  void DrawPointsAndVectors();
  // Runs the paint routine at once: the frame is drawn before this returns.
  void Repaint();

  // Runs one handler, showing a conversion error (or any other failure) in a message box
  // instead of passing it on; the rest of that handler does not run.
  template <class F>
  void Dispatch(F&& Handler);

  // ---- window state ------------------------------------------------------------------------
  float FObjectScale = 1.0f;
  float FAngle = 0.0f;
  float FSpeed = 3.0f;
  bool FExtrasVisible = true;
  TGLRenderContext FGLContext;
  // Repaints asked for so far (the surface may show several as one frame).
  int FramesRequested = 0;

  // The modal dialogs; tests replace them with answers of their own.
  TDialogSeam Dialogs;
  // What the picture dialogs were asked last and answered.
  TPictureDialog OpenPicture, SavePicture;
  // The workbench picture of the "TavRaster" tab, shown stretched in Image1.
  QImage RasterPicture;
  // Shows RasterPicture in Image1 again after it changed.
  void ShowRasterPicture();
  // The open-picture dialog for a raster file; true when one was chosen (OpenPicture).
  bool ChooseOpenPicture();

 protected:
  void showEvent(QShowEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  // The colour bars of the "GLLighter" and "Material" tabs.
  TColorBars LightBars() const { return {tkbarR, tkbarG, tkbarB, stR, stG, stB}; }
  TColorBars MaterialBars() const { return {tkbarMtR, tkbarmtG, tkBarMtB, stMtR, stMtG, stMtB}; }
  // One step of a camera move on the User view, then the camera tab's refresh.
  void CameraStep(void (TGLCamera::*Move)(TGLView&, float));
  // Adds Step to VolumeScale within its limits and rescales the views; shows the volume.
  void StepVolumeScale(float Step);
  // The ten track bars that ignore keys, and the sixteen edits that take only numbers.
  bool IsKeyDeafBar(const QObject* Control) const;
  bool IsNumericEdit(const QObject* Control) const;
  // Runs the focused control's own key handlers; true when the key is swallowed.
  bool ControlKeyHandlers(QObject* Control, QKeyEvent* Event);
  void CreateControls();
  void ConnectEvents();
  // The frame itself, with the context current (inside the surface's paint).
  void DrawFrame();
  // Makes the surface's context current for GL calls outside the frame.
  void MakeCurrent();
  bool FShown = false;
};

template <class F>
void TMainForm::Dispatch(F&& Handler) {
  try {
    MakeCurrent();
    Handler();
  } catch (const EConvertError& e) {
    ShowMessage(e.Message());
  } catch (const std::exception& e) {
    // Nothing may escape into the event loop; the user learns that the action failed.
    ShowMessage(QString::fromLocal8Bit(e.what()));
  }
}

extern TMainForm* MainForm;

// Runs the frmOpgl unit initialization (the default view and the logo width); the window's
// constructor does it, after the scene units have started.
void InitFrmOpgl();
