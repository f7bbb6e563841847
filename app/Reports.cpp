#include "Reports.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "Conversions.h"
#include "ManageOpgl.h"
#include "OpglLight.h"
#include "Vector3D.h"
#include "frmOpgl.h"

namespace {

const QChar CR(13);

// A number with two decimals. Each number is formatted alone, so that no combination of long
// numbers can overflow the formatting buffer and cut the report short.
QString Fixed2(double Value) {
  return FormatText("%.2f", Value);
}

// One line of "Volume Info": a caption and the three sizes.
QString SizeLine(const char* Caption, const TVolumeSize& S) {
  return QString::fromLatin1(Caption) + Fixed2(S.W) + QStringLiteral(", ") + Fixed2(S.H) +
         QStringLiteral(", ") + Fixed2(S.D);
}

const QString Rule = QString(53, QLatin1Char('-'));

// A text taller than most of the screen (the extension list of "OpenGL Info" wraps to well over
// a thousand pixels) would push OK below the screen's edge: such a text scrolls inside the box.
void ScrollWhenTooTall(QMessageBox& Box) {
  auto* label = Box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  auto* grid = qobject_cast<QGridLayout*>(Box.layout());
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!label || !grid || !screen) return;
  const QRect area = screen->availableGeometry();
  // The box grows no wider than its hard limit (that of Qt's message box: the screen less 480
  // pixels, at most 1000); the text and its scroll bar must fit inside that and the margins.
  const QMargins margins = grid->contentsMargins();
  const int bar = QScrollBar(Qt::Vertical).sizeHint().width();
  const int widest =
      std::max(std::min(area.width() - 480, 1000) - margins.left() - margins.right() - bar -
                   2 * std::max(grid->horizontalSpacing(), 0),
               100);
  const int tallest = area.height() * 2 / 3;
  // The box's own label stays (hidden) as the holder of the text; the scrolled copy wraps
  // whatever the box does to its label's wrapping as it sizes itself.
  auto* body = new QLabel(label->text());
  body->setTextFormat(label->textFormat());
  body->setWordWrap(false);
  const int width = std::min(body->sizeHint().width(), widest);
  body->setWordWrap(true);
  const int index = grid->indexOf(label);
  if (index < 0 || body->heightForWidth(width) <= tallest) {
    delete body;
    return;
  }
  body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  body->setTextInteractionFlags(Qt::TextSelectableByMouse);
  int row = 0, column = 0, rows = 1, columns = 1;
  grid->getItemPosition(index, &row, &column, &rows, &columns);
  grid->removeWidget(label);
  label->hide();
  auto* scroll = new QScrollArea(&Box);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(body);
  scroll->setMinimumSize(width + bar, tallest);
  grid->addWidget(scroll, row, column, rows, columns);
}

}  // namespace

QString OpenGLInfoReport(const QString& Vendor, const QString& Renderer, const QString& Version,
                         const QString& Extensions) {
  // Joined rather than formatted: the extension list runs to several thousand characters.
  return QStringLiteral("Vendor:") + Vendor + QLatin1Char(' ') + CR + CR +
         QStringLiteral("Render:") + Renderer + QLatin1Char(' ') + CR + CR +
         QStringLiteral("Version:") + Version + QLatin1Char(' ') + CR + CR +
         QStringLiteral("Extensions:") + Extensions;
}

QString StackDepthReport(int Projection, int ModelView, int Color, int Texture) {
  return FormatText("Projection:%d \r\rModelView:%d \r\rColor Stack:%d \r\rTexture Stack:%d",
                    Projection, ModelView, Color, Texture);
}

TVolumeSize VolumeSizeOf(const TGLView& View) {
  return {double(View.Right) - View.Left, double(View.Top) - View.Bottom,
          double(View.Far) - View.Near};
}

QString VolumeReport(const TVolumeReportData& Data) {
  const int* v = Data.Viewport;
  QString text = QStringLiteral("Act View: ") + Data.ActiveView + QLatin1Char(' ') + CR +
                 FormatText("ViewPort:(%d,%d,%d,%d)", v[0], v[1], v[2], v[3]) + CR + CR;
  text += QStringLiteral("Global : VolumeW, VolumeH, VolumeZ") + CR;
  text += Rule + CR;
  text += SizeLine("Camera(Default): ", Data.Current) + CR + CR;
  text += QStringLiteral("View Side : LocalVW, LocalVH, LocalVZ") + CR;
  text += Rule + CR;
  text += SizeLine("User View : ", Data.User) + CR + CR;
  // The side views in pairs, each pair followed by an empty line.
  text += SizeLine("Front View : ", Data.Front) + CR;
  text += SizeLine("Back View : ", Data.Back) + CR + CR;
  text += SizeLine("Top View : ", Data.Top) + CR;
  text += SizeLine("Bottom View : ", Data.Bottom) + CR + CR;
  text += SizeLine("Left View : ", Data.Left) + CR;
  text += SizeLine("Right View : ", Data.Right) + CR + CR;
  return text;
}

QString VectorAngleReport(const TGLPoint4f& V1, const TGLPoint4f& V2, double Angle) {
  auto point = [](const TGLPoint4f& P) {
    return QLatin1Char('(') + Fixed2(P.X) + QLatin1Char(',') + Fixed2(P.Y) + QLatin1Char(',') +
           Fixed2(P.Z) + QLatin1Char(')');
  };
  return QStringLiteral("v1") + point(V1) + QStringLiteral(" ^ v2") + point(V2) + QLatin1Char(' ') +
         CR + CR + QStringLiteral(" Angle: ") + Fixed2(Angle);
}

QString LightReport(int Index, const QString& LightInfo) {
  return FormatText("Light%d Info:\r\r", Index) + LightInfo;
}

QString KeyHelpReport() {
  const QString pairs = QString(CR) + CR;
  QString text = QStringLiteral("F11: 單/多視框切換") + pairs;
  text += QStringLiteral("glOrtho():  ") + CR +
          QStringLiteral("  平行無透視的 Volume 投射,物體長寬比隨 View Volume 變形") + CR;
  text += QStringLiteral("glFrustum():  ") + CR +
          QStringLiteral("  平行有透視的 Volume 投射,物體長寬比隨 View Volume 變形") + CR;
  text += QStringLiteral("glPerspective():  ") + CR +
          QStringLiteral("  透視投射,物體長寬比不隨 View Volume 變形") + pairs;
  for (const char* line :
       {"V: Volume Mode", "P: Polygon Mode", "B: Blend On/Off", "I/O: Move(Eye) In/Out",
        "Q/W: Volume Size Scale Up/Dn", "XYZ: X,Y,Z rotation", "H: Show/Hide", "Space: Pause",
        "R: Reverse", "A/S: Scale Up/Dn Objects", "M/N: Speed Up/Dn"})
    text += QString::fromLatin1(line) + pairs;
  return text;
}

void ShowMessageBox(const QString& Text) {
  QString lines = Text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(CR, QLatin1Char('\n'));
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), lines, QMessageBox::Ok,
                  QApplication::activeWindow());
  // A message is never markup, whatever characters an edit or a driver string holds.
  box.setTextFormat(Qt::PlainText);
  ScrollWhenTooTall(box);
  box.exec();
}

// ---- the window's report handlers -------------------------------------------------------------

void TMainForm::BitBtn1Click(QObject*) {
  ShowMessage(OpenGLInfoReport(GLManager->GetGLVendor(), GLManager->GetGLRenderer(),
                               GLManager->GetGLVersion(), GLManager->GetGLExtensions()));
}

void TMainForm::BitBtn2Click(QObject*) {
  ShowMessage(StackDepthReport(GLManager->FMaxProjectionStack, GLManager->FMaxModelviewStack,
                               GLManager->FMaxColorStack, GLManager->FMaxTextureStack));
}

void TMainForm::BitBtn3Click(QObject*) {
  TVolumeReportData data;
  const int kind = CurrentView->Kind;
  if (kind >= 0 && kind < 7) data.ActiveView = ViewNames[kind];
  // The viewport OpenGL holds: in the multiple mode that of the last view drawn.
  GLCamera->GetViewport(data.Viewport[0], data.Viewport[1], data.Viewport[2], data.Viewport[3]);
  data.Current = VolumeSizeOf(*CurrentView);
  data.User = VolumeSizeOf(UserView);
  data.Front = VolumeSizeOf(FrontView);
  data.Back = VolumeSizeOf(BackView);
  data.Top = VolumeSizeOf(TopView);
  data.Bottom = VolumeSizeOf(BottomView);
  data.Left = VolumeSizeOf(LeftView);
  data.Right = VolumeSizeOf(RightView);
  ShowMessage(VolumeReport(data));
}

void TMainForm::BitBtn4Click(QObject*) {
  ReadVectorPoints();
  ShowMessage(VectorAngleReport(Point1, Point2, GLVector->AngleBetween(Point1, Point2)));
}

void TMainForm::btnLightColorClick(QObject*) {
  const int i = ckbxLights->ItemIndex();
  if (i < 0) return;
  ShowMessage(LightReport(i, GLLighter->GetLightInfo(GLLighter->GetLightID(i))));
}

void TMainForm::ShowKeyHelp() {
  ShowMessage(KeyHelpReport());
}
