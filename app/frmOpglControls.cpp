// The control tree of the main window: names, captions, ranges, initial values, fonts, hints and
// layout. The handlers are connected in frmOpgl.cpp.
#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "frmOpgl.h"

namespace {

// Windows colour values of the panel.
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clSkyBlue = 0xF0CAA6;

TColor Inverse(TColor Color) {
  return Color ^ 0xFFFFFF;
}

QFont PixelFont(const QString& Family, int Pixels) {
  QFont font(Family);
  font.setPixelSize(Pixels);
  return font;
}

template <class W>
W* Named(W* Widget, const char* Name) {
  Widget->setObjectName(QString::fromLatin1(Name));
  return Widget;
}

QCheckBox* Check(QWidget* Parent, const char* Name, const QString& Caption, bool Checked) {
  auto* box = Named(new QCheckBox(Caption, Parent), Name);
  box->setChecked(Checked);
  return box;
}

QLineEdit* Edit(QWidget* Parent, const char* Name, const QString& Text, bool ReadOnly = false,
                int Width = 0) {
  auto* edit = Named(new QLineEdit(Text, Parent), Name);
  edit->setReadOnly(ReadOnly);
  if (Width > 0) edit->setFixedWidth(Width);
  return edit;
}

QSlider* Track(QWidget* Parent, const char* Name, int Min, int Max, int Position) {
  auto* bar = Named(new QSlider(Qt::Horizontal, Parent), Name);
  bar->setRange(Min, Max);
  bar->setValue(Position);
  bar->setTickPosition(QSlider::NoTicks);
  return bar;
}

QToolButton* Speed(QWidget* Parent, const char* Name, const QString& Caption,
                   const QString& Hint = QString()) {
  auto* button = Named(new QToolButton(Parent), Name);
  button->setText(Caption);
  button->setFocusPolicy(Qt::NoFocus);
  if (!Hint.isEmpty()) button->setToolTip(Hint);
  button->setMinimumWidth(22);
  return button;
}

QPushButton* Button(QWidget* Parent, const char* Name, const QString& Caption) {
  return Named(new QPushButton(Caption, Parent), Name);
}

TRadioGroup* Radio(QWidget* Parent, const char* Name, const QString& Caption,
                   const QStringList& Items, int Columns, int Index) {
  return Named(new TRadioGroup(Caption, Items, Columns, Index, Parent), Name);
}

TStaticText* Swatch(QWidget* Parent, const char* Name, const QString& Caption, TColor Color) {
  return Named(new TStaticText(Caption, Color, Inverse(Color), Parent), Name);
}

QLabel* Label(QWidget* Parent, const QString& Caption, const QString& Hint = QString()) {
  auto* label = new QLabel(Caption, Parent);
  if (!Hint.isEmpty()) label->setToolTip(Hint);
  return label;
}

QFrame* LoweredPanel(QWidget* Parent, const char* Name) {
  auto* panel = Named(new QFrame(Parent), Name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setLineWidth(2);
  return panel;
}

QGridLayout* Grid(QWidget* Owner, int Margin = 4) {
  auto* grid = new QGridLayout(Owner);
  grid->setContentsMargins(Margin, Margin, Margin, Margin);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  return grid;
}

// Lays a row of widgets out left to right in one grid cell span.
QWidget* Row(QWidget* Parent, std::initializer_list<QWidget*> Items, bool Stretch = true) {
  auto* row = new QWidget(Parent);
  auto* box = new QHBoxLayout(row);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(3);
  for (QWidget* w : Items) {
    w->setParent(row);
    box->addWidget(w);
  }
  if (Stretch) box->addStretch(1);
  return row;
}

// One row per colour channel: a caption, a swatch of the channel's colour and a 0..255 bar.
struct TColorRow {
  TStaticText*& Swatch;
  QSlider*& Bar;
  const char* SwatchName;
  const char* BarName;
  const char* Caption;
  TColor Color;
};

void AddColorRows(QWidget* Parent, QGridLayout* Grid, int FirstRow, TColorRow (&Rows)[3]) {
  for (int i = 0; i < 3; ++i) {
    TColorRow& row = Rows[i];
    const QString caption = QString::fromLatin1(row.Caption);
    row.Swatch = Swatch(Parent, row.SwatchName, caption, row.Color);
    row.Swatch->setFixedWidth(30);
    row.Bar = Track(Parent, row.BarName, 0, 255, 0);
    Grid->addWidget(Label(Parent, caption), FirstRow + i, 0);
    Grid->addWidget(row.Swatch, FirstRow + i, 1);
    Grid->addWidget(row.Bar, FirstRow + i, 2);
  }
}

}  // namespace

void TMainForm::CreateControls() {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Talven OpenGL Project"));
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
  setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint |
                 Qt::WindowCloseButtonHint);
  setToolTip(QStringLiteral(
      "X: Rotate X, Y:Rotate Y, Z:Rotate Z, Space: Pause, R:Reverse; I/O: Scale, N/M:Speed"));

  auto* client = new QWidget(this);
  setCentralWidget(client);
  auto* clientBox = new QVBoxLayout(client);
  clientBox->setContentsMargins(0, 0, 0, 0);
  clientBox->setSpacing(0);

  Splitter1 = Named(new QSplitter(Qt::Horizontal, client), "Splitter1");
  Splitter1->setHandleWidth(8);
  Splitter1->setOpaqueResize(false);  // drags as a line, moves on release
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: %1; "
                                          "border: 1px outset %1; }")
                               .arg(ColorToQColor(clSkyBlue).name()));
  clientBox->addWidget(Splitter1, 1);

  StatusBar1 = Named(new TStatusBar({100, 70, 200, 70, 100, 70, 100, 50}, client), "StatusBar1");
  StatusBar1->setFixedHeight(24);
  clientBox->addWidget(StatusBar1);

  // ---- left panel --------------------------------------------------------------------------
  Panel1 = LoweredPanel(Splitter1, "Panel1");
  Panel1->setMinimumWidth(120);
  Panel1->resize(313, Panel1->height());
  auto* panel1Box = new QVBoxLayout(Panel1);
  panel1Box->setContentsMargins(2, 2, 2, 2);
  panel1Box->setSpacing(0);

  Panel12 = Named(new QFrame(Panel1), "Panel12");
  Panel12->setFixedHeight(143);
  panel1Box->addWidget(Panel12);
  {
    auto* box = new QVBoxLayout(Panel12);
    box->setContentsMargins(2, 2, 2, 2);
    box->setSpacing(2);
    ckbxSinglePort =
        Check(Panel12, "ckbxSinglePort", QStringLiteral("Single/Multiple Ports"), false);
    sbSellAll = Speed(Panel12, "sbSellAll", QStringLiteral("V"), QStringLiteral("Check All"));
    sbUnSelAll = Speed(Panel12, "sbUnSelAll", QStringLiteral("X"), QStringLiteral("UnCheck All"));
    // In the row's free space, so no other control moves.
    btnGLCalls = Speed(Panel12, "btnGLCalls", QStringLiteral("GL"),
                       QStringLiteral("GL Calls: the OpenGL calls of a view (F2)"));
    auto* top = new QHBoxLayout();
    top->addWidget(ckbxSinglePort);
    top->addWidget(btnGLCalls);
    top->addStretch(1);
    top->addWidget(sbSellAll);
    top->addWidget(sbUnSelAll);
    box->addLayout(top);

    grpDisplay = Named(new QGroupBox(QStringLiteral("Display Options"), Panel12), "grpDisplay");
    box->addWidget(grpDisplay, 1);
    auto* grid = Grid(grpDisplay, 4);
    grid->setVerticalSpacing(1);
    const QFont arial = PixelFont(QStringLiteral("Arial"), 11);
    auto add = [&](QCheckBox*& Box, const char* Name, const char* Caption, bool Checked, int Row,
                   int Column) {
      Box = Check(grpDisplay, Name, QString::fromLatin1(Caption), Checked);
      Box->setFont(arial);
      grid->addWidget(Box, Row, Column);
    };
    add(ckbxShowFrame, "ckbxShowFrame", "BRL Logo", false, 0, 0);
    add(ckbxShowWorldAxis, "ckbxShowWorldAxis", "World Axis", false, 1, 0);
    add(ckbxShowPts, "ckbxShowPts", "Show Pt/Vec", false, 2, 0);
    add(ckbxHand, "ckbxHand", "Hand", false, 3, 0);
    add(ckbxShowBall, "ckbxShowBall", "Ball", false, 0, 1);
    add(ckbxShowXZplane, "ckbxShowXZplane", "Show XZ Plane", false, 1, 1);
    add(ckbxShowLights, "ckbxShowLights", "Show Lights", true, 2, 1);
    add(ckbxRobot, "ckbxRobot", "Robot", true, 3, 1);
    add(ckbxShowCube, "ckbxShowCube", "Satellite Cube", true, 0, 2);
    add(ckbxShowVolume, "ckbxShowVolume", "View Volume", false, 1, 2);
    add(ckbxShowEyeLine, "ckbxShowEyeLine", "Eye Line", false, 2, 2);
  }

  PageControl1 = Named(new TPageControl(Panel1), "PageControl1");
  panel1Box->addWidget(PageControl1, 1);

  // ---- GLManager ---------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("GLManager"), QStringLiteral("TabSheet1"));
    auto* pageBox = new QVBoxLayout(page);
    pageBox->setContentsMargins(2, 2, 2, 2);
    Panel2 = LoweredPanel(page, "Panel2");
    pageBox->addWidget(Panel2);
    auto* grid = Grid(Panel2, 6);
    ckbxBlend = Check(Panel2, "ckbxBlend", QStringLiteral("Blend"), false);
    BitBtn1 = Button(Panel2, "BitBtn1", QStringLiteral("OpenGL Info"));
    BitBtn2 = Button(Panel2, "BitBtn2", QStringLiteral("Stack Num"));
    grid->addWidget(ckbxBlend, 0, 0);
    grid->addWidget(BitBtn1, 0, 1);
    grid->addWidget(BitBtn2, 0, 2);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Stack Matrix Capacity"), Panel2), "GroupBox1");
    auto* stack = Grid(GroupBox1, 4);
    edProjectMats = Edit(GroupBox1, "edProjectMats", QStringLiteral("0"), true, 50);
    edModelMats = Edit(GroupBox1, "edModelMats", QStringLiteral("0"), true, 50);
    edTextureMats = Edit(GroupBox1, "edTextureMats", QStringLiteral("0"), true, 50);
    edColorMats = Edit(GroupBox1, "edColorMats", QStringLiteral("0"), true, 50);
    stack->addWidget(Label(GroupBox1, QStringLiteral("Project Stack")), 0, 0);
    stack->addWidget(edProjectMats, 0, 1);
    stack->addWidget(Label(GroupBox1, QStringLiteral("Model Stack")), 0, 2);
    stack->addWidget(edModelMats, 0, 3);
    stack->addWidget(Label(GroupBox1, QStringLiteral("Texture Stack")), 1, 0);
    stack->addWidget(edTextureMats, 1, 1);
    stack->addWidget(Label(GroupBox1, QStringLiteral("Color Stack")), 1, 2);
    stack->addWidget(edColorMats, 1, 3);
    grid->addWidget(GroupBox1, 1, 0, 1, 3);

    const QStringList modes{QStringLiteral("GL_POINT"), QStringLiteral("GL_LINE"),
                            QStringLiteral("GL_FILL")};
    rdgpObjMode = Radio(Panel2, "rdgpObjMode", QStringLiteral("Object Polygon Mode"), modes, 1, 2);
    rdgpVolumeMode = Radio(Panel2, "rdgpVolumeMode", QStringLiteral("Volume Mode"), modes, 1, 2);
    grid->addWidget(rdgpObjMode, 2, 0, 1, 2);
    grid->addWidget(rdgpVolumeMode, 2, 2);

    stBkColor = Named(new TStaticText(QStringLiteral("Canvas Color"), clBlack, clAqua, Panel2),
                      "stBkColor");
    stBkColor->setMinimumHeight(24);
    stBkColor->setCursor(Qt::PointingHandCursor);
    grid->addWidget(stBkColor, 3, 0, 1, 2);
    ckbxShowSideText = Check(Panel2, "ckbxShowSideText", QStringLiteral("Show Side Font"), false);
    grid->addWidget(ckbxShowSideText, 3, 2);
    btnFontColor = Named(new TColorButton(QStringLiteral("Font Color"), Panel2), "btnFontColor");
    grid->addWidget(btnFontColor, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
  }

  // ---- GLCamera ----------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("GLCamera"), QStringLiteral("TabSheet2"));
    auto* grid = Grid(page, 4);
    rdgpPrjMode = Radio(page, "rdgpPrjMode", QStringLiteral("Projection Mode"),
                        {QStringLiteral("Ortho2D"), QStringLiteral("Ortho"),
                         QStringLiteral("Frustum"), QStringLiteral("Perspective")},
                        2, 2);
    rdgpPrjMode->setFont(PixelFont(QStringLiteral("Arial Narrow"), 11));
    rdgpCurView = Radio(page, "rdgpCurView", QStringLiteral("View Selectrion"),
                        {QStringLiteral("User"), QStringLiteral("Front"), QStringLiteral("Back"),
                         QStringLiteral("Right"), QStringLiteral("Left"), QStringLiteral("Top"),
                         QStringLiteral("Bottom")},
                        2, 0);
    grid->addWidget(rdgpPrjMode, 0, 0, 1, 2);
    grid->addWidget(rdgpCurView, 1, 0, 1, 2);

    GroupBox3 = Named(new QGroupBox(QStringLiteral("GLCamera Settings"), page), "GroupBox3");
    auto* settings = Grid(GroupBox3, 4);
    ckRemainPrjRatio =
        Check(GroupBox3, "ckRemainPrjRatio", QStringLiteral("Remain Proj Ratio"), false);
    settings->addWidget(ckRemainPrjRatio, 0, 0, 1, 3);
    edFov = Edit(GroupBox3, "edFov", QStringLiteral("0.0"), false, 48);
    tkbarFov = Track(GroupBox3, "tkbarFov", 5, 120, 52);
    tkbarFov->setFocusPolicy(Qt::ClickFocus);  // takes no focus on tab
    settings->addWidget(Label(GroupBox3, QStringLiteral("Fov")), 1, 0);
    settings->addWidget(edFov, 1, 1);
    settings->addWidget(tkbarFov, 1, 2);
    const QString volumeHint = QString::fromUtf8(
        "W H D 如果不同的話，在 Frustum 投射時會大小不一，因為視匡受ViewVolue 影響");
    edVW = Edit(GroupBox3, "edVW", QStringLiteral("1.0"), false, 48);
    edVH = Edit(GroupBox3, "edVH", QStringLiteral("0.0"), false, 48);
    edVD = Edit(GroupBox3, "edVD", QStringLiteral("0.0"), false, 48);
    for (QLineEdit* e : {edVW, edVH, edVD}) e->setToolTip(volumeHint);
    sbDefaultVolume = Speed(GroupBox3, "sbDefaultVolume", QStringLiteral("V"),
                            QString::fromUtf8("改變預設的 View Volume"));
    settings->addWidget(Label(GroupBox3, QStringLiteral("Camera    W  H      D"), volumeHint), 2, 0,
                        1, 3);
    settings->addWidget(Row(GroupBox3, {edVW, edVH, edVD, sbDefaultVolume}), 3, 0, 1, 3);
    settings->setColumnStretch(2, 1);
    grid->addWidget(GroupBox3, 2, 0, 1, 2);

    GroupBox2 = Named(new QGroupBox(QStringLiteral("View "), page), "GroupBox2");
    auto* view = Grid(GroupBox2, 4);
    edEX = Edit(GroupBox2, "edEX", QStringLiteral("1.0"), true);
    edEy = Edit(GroupBox2, "edEy", QStringLiteral("0.0"), true);
    edEZ = Edit(GroupBox2, "edEZ", QStringLiteral("0.0"), true);
    edvx = Edit(GroupBox2, "edvx", QStringLiteral("0.0"), true);
    edvy = Edit(GroupBox2, "edvy", QStringLiteral("0.0"), true);
    edvz = Edit(GroupBox2, "edvz", QStringLiteral("1.0"), true);
    view->addWidget(Label(GroupBox2, QStringLiteral("Eye")), 0, 1, Qt::AlignCenter);
    view->addWidget(Label(GroupBox2, QStringLiteral("View")), 0, 2, Qt::AlignCenter);
    const char* axes[] = {"X", "Y", "Z"};
    QLineEdit* eyes[] = {edEX, edEy, edEZ};
    QLineEdit* views[] = {edvx, edvy, edvz};
    for (int i = 0; i < 3; ++i) {
      view->addWidget(Label(GroupBox2, QString::fromLatin1(axes[i])), i + 1, 0);
      view->addWidget(eyes[i], i + 1, 1);
      view->addWidget(views[i], i + 1, 2);
    }
    grid->addWidget(GroupBox2, 3, 0, 1, 2);

    edEye2View = Edit(page, "edEye2View", QStringLiteral("0.0"), true, 60);
    grid->addWidget(Row(page, {Label(page, QStringLiteral("Eye To View")), edEye2View}), 4, 0, 1,
                    2);
    edVolumeW = Edit(page, "edVolumeW", QStringLiteral("1.0"), true, 56);
    edVolumeH = Edit(page, "edVolumeH", QStringLiteral("0.0"), true, 56);
    edVolumeD = Edit(page, "edVolumeD", QStringLiteral("0.0"), true, 56);
    grid->addWidget(Label(page, QStringLiteral("Volume W   H         D")), 5, 0, 1, 2);
    grid->addWidget(Row(page, {edVolumeW, edVolumeH, edVolumeD}), 6, 0, 1, 2);
    sbScaleDn = Speed(page, "sbScaleDn", QStringLiteral("<"));
    sbScaleUp = Speed(page, "sbScaleUp", QStringLiteral(">"));
    sbScaleDn->setProperty("Tag", 0);
    sbScaleUp->setProperty("Tag", 1);
    btnResetViewVolume = Button(page, "btnResetViewVolume", QStringLiteral("Reset"));
    BitBtn3 = Button(page, "BitBtn3", QStringLiteral("Volume Info"));
    grid->addWidget(Row(page, {sbScaleDn, sbScaleUp, btnResetViewVolume, BitBtn3}), 7, 0, 1, 2);
    rdgpRotateAxis = Radio(page, "rdgpRotateAxis", QStringLiteral("Rotate Axis"),
                           {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}, 3, 1);
    grid->addWidget(rdgpRotateAxis, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
  }

  // ---- GLLighter ---------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("GLLighter"), QStringLiteral("TabSheet3"));
    auto* grid = Grid(page, 4);
    edLIghtNum = Edit(page, "edLIghtNum", QStringLiteral("0"), true, 30);
    ckbxLightOn = Check(page, "ckbxLightOn", QStringLiteral("Light On"), true);
    SpeedButton1 = Speed(page, "SpeedButton1", QStringLiteral("V"), QStringLiteral("Select All"));
    SpeedButton2 = Speed(page, "SpeedButton2", QStringLiteral("X"), QStringLiteral("UnSelect All"));
    SpeedButton3 =
        Speed(page, "SpeedButton3", QStringLiteral("O"), QStringLiteral("Reset All Colors"));
    grid->addWidget(Row(page, {Label(page, QStringLiteral("Light Num")), edLIghtNum, ckbxLightOn,
                               SpeedButton1, SpeedButton2, SpeedButton3}),
                    0, 0, 1, 2);

    ckbxLights = Named(new TCheckListBoxColor(page), "ckbxLights");
    {
      QPalette black = ckbxLights->palette();
      black.setColor(QPalette::Base, Qt::black);
      ckbxLights->setPalette(black);
    }
    ckbxLights->SetColoringMode(cmFont);
    ckbxLights->AddCheckItem(QStringLiteral("Light0"));
    ckbxLights->AddCheckItem(QStringLiteral("Light1"));
    ckbxLights->setFixedWidth(80);
    ckbxLights->setContextMenuPolicy(Qt::CustomContextMenu);
    pmLights = Named(new QMenu(this), "pmLights");
    ChangeColor1 = Named(pmLights->addAction(QStringLiteral("Change Color")), "ChangeColor1");
    connect(ckbxLights, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { pmLights->popup(ckbxLights->mapToGlobal(At)); });

    auto* right = new QWidget(page);
    auto* rightGrid = Grid(right, 0);
    rdgpLightColor = Radio(
        right, "rdgpLightColor", QStringLiteral("Light Color"),
        {QStringLiteral("Ambient"), QStringLiteral("Diffuse"), QStringLiteral("Specular")}, 1, 1);
    btnLightColor = Named(new TColorButton(QStringLiteral("Light Info"), right), "btnLightColor");
    rightGrid->addWidget(rdgpLightColor, 0, 0, 1, 3);
    rightGrid->addWidget(btnLightColor, 1, 0, 1, 3);
    TColorRow rgb[] = {{stR, tkbarR, "stR", "tkbarR", "R", clRed},
                       {stG, tkbarG, "stG", "tkbarG", "G", clGreen},
                       {stB, tkbarB, "stB", "tkbarB", "B", clBlue}};
    AddColorRows(right, rightGrid, 2, rgb);
    grid->addWidget(ckbxLights, 1, 0);
    grid->addWidget(right, 1, 1);

    rdgpLightType = Radio(page, "rdgpLightType", QStringLiteral("LIght Type"),
                          {QStringLiteral("Direct Light"), QStringLiteral("Omit Light"),
                           QStringLiteral("Spot Light")},
                          2, 1);
    grid->addWidget(rdgpLightType, 2, 0, 1, 2);

    const QString shineHint = QString::fromUtf8("光源照射所及的直徑範圍");
    const QString fallHint = QString::fromUtf8("漸進和緩度 0~128");
    auto* spot = new QWidget(page);
    auto* spotGrid = Grid(spot, 0);
    tkbarCutOff = Track(spot, "tkbarCutOff", 5, 500, 5);
    tkbarCutOff->setPageStep(2);
    tkbarCutOff->setToolTip(shineHint);
    edShineDia = Edit(spot, "edShineDia", QStringLiteral("0.0"), true, 50);
    tkbarFallOff = Track(spot, "tkbarFallOff", 0, 100, 0);
    tkbarFallOff->setToolTip(fallHint);
    edFallOff = Edit(spot, "edFallOff", QStringLiteral("0.0"), true, 50);
    spotGrid->addWidget(Label(spot, QStringLiteral("Shine Dia"), shineHint), 0, 0);
    spotGrid->addWidget(tkbarCutOff, 0, 1);
    spotGrid->addWidget(edShineDia, 0, 2);
    spotGrid->addWidget(Label(spot, QStringLiteral("Fall Off"), fallHint), 1, 0);
    spotGrid->addWidget(tkbarFallOff, 1, 1);
    spotGrid->addWidget(edFallOff, 1, 2);
    grid->addWidget(spot, 3, 0, 1, 2);

    auto* place = new QWidget(page);
    auto* placeGrid = Grid(place, 0);
    ckbxRotateLight = Check(place, "ckbxRotateLight", QStringLiteral("Rotate"), true);
    SpeedButton6 = Speed(place, "SpeedButton6", QStringLiteral("Apply"));
    placeGrid->addWidget(ckbxRotateLight, 0, 0, 1, 2);
    placeGrid->addWidget(SpeedButton6, 0, 3);
    edPosX = Edit(place, "edPosX", QStringLiteral("0.0"));
    edPosY = Edit(place, "edPosY", QStringLiteral("0.0"));
    edPosZ = Edit(place, "edPosZ", QStringLiteral("0.0"));
    edDirX = Edit(place, "edDirX", QStringLiteral("0.0"));
    edDirY = Edit(place, "edDirY", QStringLiteral("0.0"));
    edDirZ = Edit(place, "edDirZ", QStringLiteral("0.0"));
    placeGrid->addWidget(Label(place, QStringLiteral("Pos"), shineHint), 1, 0);
    placeGrid->addWidget(edPosX, 1, 1);
    placeGrid->addWidget(edPosY, 1, 2);
    placeGrid->addWidget(edPosZ, 1, 3);
    placeGrid->addWidget(Label(place, QStringLiteral("Dir"), shineHint), 2, 0);
    placeGrid->addWidget(edDirX, 2, 1);
    placeGrid->addWidget(edDirY, 2, 2);
    placeGrid->addWidget(edDirZ, 2, 3);
    edLightDist = Edit(place, "edLightDist", QStringLiteral("0.0"), true);
    placeGrid->addWidget(Label(place, QStringLiteral("Light To View"), shineHint), 3, 0, 1, 2);
    placeGrid->addWidget(edLightDist, 3, 2);
    grid->addWidget(place, 4, 0, 1, 2);

    ckbxLightTwoSide = Check(page, "ckbxLightTwoSide", QStringLiteral("Light Two Side"), false);
    grid->addWidget(ckbxLightTwoSide, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
  }

  // ---- GLVector ----------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("GLVector"), QStringLiteral("TabSheet4"));
    auto* grid = Grid(page, 4);
    const QFont arial = PixelFont(QStringLiteral("Arial"), 11);
    auto white = [](QLineEdit* e) {
      e->setStyleSheet(QStringLiteral("QLineEdit { background-color: white; }"));
      return e;
    };
    stPt1 = Named(new TStaticText(QStringLiteral("P1/V1"), clYellow, clBlack, page), "stPt1");
    stPt1->setFont(arial);
    edX1 = white(Edit(page, "edX1", QStringLiteral("5.0")));
    edy1 = white(Edit(page, "edy1", QStringLiteral("5.0")));
    edz1 = white(Edit(page, "edz1", QStringLiteral("5.0")));
    stPt2 = Named(new TStaticText(QStringLiteral("P2/V2"), clLime, clBlack, page), "stPt2");
    edx2 = white(Edit(page, "edx2", QStringLiteral("0.0")));
    edy2 = white(Edit(page, "edy2", QStringLiteral("0.0")));
    edz2 = white(Edit(page, "edz2", QStringLiteral("5.0")));
    grid->addWidget(stPt1, 0, 0);
    grid->addWidget(edX1, 0, 1);
    grid->addWidget(edy1, 0, 2);
    grid->addWidget(edz1, 0, 3);
    grid->addWidget(stPt2, 1, 0);
    grid->addWidget(edx2, 1, 1);
    grid->addWidget(edy2, 1, 2);
    grid->addWidget(edz2, 1, 3);
    BitBtn4 = Button(page, "BitBtn4", QStringLiteral("Vector Angle"));
    SpeedButton4 = Speed(page, "SpeedButton4", QStringLiteral("V"));
    grid->addWidget(Row(page, {BitBtn4, SpeedButton4}), 2, 0, 1, 4);
    stVec = Named(new TStaticText(QStringLiteral("V out"), clAqua, clBlack, page), "stVec");
    edVec = white(Edit(page, "edVec", QStringLiteral("0.0")));
    grid->addWidget(stVec, 3, 0, 1, 4);
    grid->addWidget(edVec, 4, 0, 1, 4);
    rdgpVecOp =
        Radio(page, "rdgpVecOp", QStringLiteral("Vector Operations"),
              {QStringLiteral("Distance (p1-p2)"), QStringLiteral("Angle (v1^v2)"),
               QStringLiteral("Dot Product"), QStringLiteral("Cross Product"),
               QStringLiteral("Vector (p1->p2)"), QStringLiteral("Sym V (v1 \\|/ v2)"),
               QStringLiteral("Reflect V (v1 \\|/ v2)"), QStringLiteral("RotateAboutNormal")},
              1, 0);
    rdgpVecOp->setFont(arial);
    grid->addWidget(rdgpVecOp, 5, 0, 1, 4);
    grid->setRowStretch(6, 1);
  }

  // ---- Material ----------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("Material"), QStringLiteral("TabSheet5"));
    auto* grid = Grid(page, 4);
    ckbxColorMaterial = Check(page, "ckbxColorMaterial", QStringLiteral("Color Material"), false);
    grid->addWidget(ckbxColorMaterial, 0, 0);
    pnlMixLogoColor = Named(new QFrame(page), "pnlMixLogoColor");
    ckbxMixLogoColor =
        Check(pnlMixLogoColor, "ckbxMixLogoColor", QStringLiteral("Mix Logo Color"), false);
    tkbarMixRate = Track(pnlMixLogoColor, "tkbarMixRate", 0, 10, 0);
    edMixRate = Edit(pnlMixLogoColor, "edMixRate", QStringLiteral("0.0"), true, 40);
    {
      auto* box = new QHBoxLayout(pnlMixLogoColor);
      box->setContentsMargins(0, 0, 0, 0);
      box->addWidget(ckbxMixLogoColor);
      box->addWidget(tkbarMixRate, 1);
      box->addWidget(edMixRate);
    }
    grid->addWidget(pnlMixLogoColor, 1, 0, 1, 2);
    rdgpMaterial =
        Radio(page, "rdgpMaterial", QStringLiteral("Material"),
              {QStringLiteral("User Define"), QStringLiteral("Normal"), QStringLiteral("Phone"),
               QStringLiteral("Metal"), QStringLiteral("Plastic"), QStringLiteral("Others")},
              2, 0);
    grid->addWidget(rdgpMaterial, 2, 0, 1, 2);

    pnlMtUserDefine = Named(new QFrame(page), "pnlMtUserDefine");
    pnlMtUserDefine->setFrameShape(QFrame::StyledPanel);
    auto* user = Grid(pnlMtUserDefine, 3);
    rdgpMtColor = Radio(pnlMtUserDefine, "rdgpMtColor", QStringLiteral("Material Color"),
                        {QStringLiteral("Ambient"), QStringLiteral("Diffuse"),
                         QStringLiteral("Specular"), QStringLiteral("Emission")},
                        2, 1);
    btnMtColor =
        Named(new TColorButton(QStringLiteral("Light Info"), pnlMtUserDefine), "btnMtColor");
    user->addWidget(rdgpMtColor, 0, 0, 1, 3);
    user->addWidget(btnMtColor, 1, 0, 1, 3);
    TColorRow rgb[] = {{stMtR, tkbarMtR, "stMtR", "tkbarMtR", "R", clRed},
                       {stMtG, tkbarmtG, "stMtG", "tkbarmtG", "G", clGreen},
                       {stMtB, tkBarMtB, "stMtB", "tkBarMtB", "B", clBlue}};
    AddColorRows(pnlMtUserDefine, user, 2, rgb);
    edShinese = Edit(pnlMtUserDefine, "edShinese", QStringLiteral("0.0"), false, 48);
    tkbarShiness = Track(pnlMtUserDefine, "tkbarShiness", 0, 128, 52);
    tkbarShiness->setFocusPolicy(Qt::ClickFocus);
    user->addWidget(Label(pnlMtUserDefine, QStringLiteral("Shiness")), 5, 0);
    user->addWidget(edShinese, 5, 1);
    user->addWidget(tkbarShiness, 5, 2);
    grid->addWidget(pnlMtUserDefine, 3, 0, 1, 2);

    lbxOtherMaterials = Named(new TListBoxColor(page), "lbxOtherMaterials");
    {
      QPalette grey = lbxOtherMaterials->palette();
      grey.setColor(QPalette::Base, QColor(57, 57, 57));
      grey.setColor(QPalette::Text, Qt::white);
      lbxOtherMaterials->setPalette(grey);
    }
    lbxOtherMaterials->SetColoringMode(cmBackground);
    // The preset list takes its keys without raising its click handler.
    lbxOtherMaterials->SetKeysRaiseClick(false);
    lbxOtherMaterials->addItem(QStringLiteral("Gold"));
    lbxOtherMaterials->addItem(QStringLiteral("Copper"));
    grid->addWidget(lbxOtherMaterials, 4, 0, 4, 1);
    stAmbient = Swatch(page, "stAmbient", QStringLiteral("Ambient"), clRed);
    stDiffuse = Swatch(page, "stDiffuse", QStringLiteral("Diffuse"), clBlue);
    stSpecular = Swatch(page, "stSpecular", QStringLiteral("Specular"), clGreen);
    stShininess = Swatch(page, "stShininess", QStringLiteral("Shininess"), clSilver);
    int row = 4;
    for (TStaticText* s : {stAmbient, stDiffuse, stSpecular, stShininess}) {
      s->setToolTip(QStringLiteral(" "));
      s->setMinimumHeight(22);
      grid->addWidget(s, row++, 1);
    }
    grid->setRowStretch(8, 1);
  }

  // ---- TavRaster ---------------------------------------------------------------------------
  {
    QWidget* page = PageControl1->AddPage(QStringLiteral("TavRaster"), QStringLiteral("TabSheet6"));
    auto* grid = Grid(page, 4);
    Panel14 = Named(new QFrame(page), "Panel14");
    Panel14->setFixedSize(185, 137);
    Panel14->setFrameShape(QFrame::Box);
    Panel14->setLineWidth(1);
    Panel14->setStyleSheet(QStringLiteral("QFrame#Panel14 { background-color: black; }"));
    Image1 = Named(new QLabel(Panel14), "Image1");
    Image1->setScaledContents(true);  // stretched
    Image1->setGeometry(1, 1, 183, 135);
    grid->addWidget(Panel14, 0, 0, 4, 1);
    Button3 = Button(page, "Button3", QStringLiteral("Load"));
    Button4 = Button(page, "Button4", QStringLiteral("Save"));
    Button6 = Button(page, "Button6", QStringLiteral("Resize"));
    Button5 = Button(page, "Button5", QStringLiteral("Clear"));
    grid->addWidget(Button3, 0, 1);
    grid->addWidget(Button4, 1, 1);
    grid->addWidget(Button6, 2, 1);
    grid->addWidget(Button5, 3, 1);
    edBmpW = Edit(page, "edBmpW", QStringLiteral("0"), false, 60);
    edBmpH = Edit(page, "edBmpH", QStringLiteral("0"), false, 60);
    edBmpPf = Edit(page, "edBmpPf", QStringLiteral("0"), true, 60);
    grid->addWidget(Row(page, {Label(page, QStringLiteral("Width")), edBmpW}), 4, 0);
    grid->addWidget(Row(page, {Label(page, QStringLiteral("Height")), edBmpH}), 5, 0);
    grid->addWidget(Row(page, {Label(page, QStringLiteral("PxlFomt")), edBmpPf}), 6, 0);
    Button7 = Button(page, "Button7", QStringLiteral("Add to Tex"));
    grid->addWidget(Button7, 6, 1);
    grid->setRowStretch(7, 1);
  }

  // ---- GLTexturer --------------------------------------------------------------------------
  {
    QWidget* page =
        PageControl1->AddPage(QStringLiteral("GLTexturer"), QStringLiteral("TabSheet7"));
    auto* grid = Grid(page, 4);
    grid->addWidget(Label(page, QStringLiteral("Texture List")), 0, 0);
    lbxTextures = Named(new TListBoxColor(page), "lbxTextures");
    grid->addWidget(lbxTextures, 1, 0, 4, 1);
    Button8 = Button(page, "Button8", QStringLiteral("Add"));
    Button9 = Button(page, "Button9", QStringLiteral("Del"));
    Button10 = Button(page, "Button10", QStringLiteral("Clear All"));
    grid->addWidget(Button8, 1, 1);
    grid->addWidget(Button9, 2, 1);
    grid->addWidget(Button10, 3, 1);
    edTxtWH = Edit(page, "edTxtWH", QString());
    grid->addWidget(edTxtWH, 5, 0, 1, 2);
    ckbxAutoGenTexture = Check(page, "ckbxAutoGenTexture", QStringLiteral("AutoTxtCoords"), false);
    grid->addWidget(ckbxAutoGenTexture, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
  }
  PageControl1->SetActivePageIndex(4);  // "Material"

  // ---- rendering surface -------------------------------------------------------------------
  pbGL = Named(new TGLSurface(Splitter1), "pbGL");
  pbGL->setFormat(TGLManager::PixelFormat());
  pbGL->setMinimumSize(1, 1);
  Splitter1->addWidget(Panel1);
  Splitter1->addWidget(pbGL);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({313, 473});

  // ---- non-visual --------------------------------------------------------------------------
  Timer = Named(new QTimer(this), "Timer");
  Timer->setInterval(33);
  Timer->setTimerType(Qt::PreciseTimer);
  ColorDialog1 = Named(new QColorDialog(this), "ColorDialog1");
  ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
  OpenPictureDialog1 = Named(new QFileDialog(this), "OpenPictureDialog1");
  OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenPictureDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenPictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
  SavePictureDialog1 = Named(new QFileDialog(this), "SavePictureDialog1");
  SavePictureDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SavePictureDialog1->setOption(QFileDialog::DontUseNativeDialog);

  // Restored bounds; the window itself starts maximized.
  setGeometry(222, 112, 802, 656);
  setWindowState(Qt::WindowMaximized);
}
