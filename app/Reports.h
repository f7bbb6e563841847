#pragma once
// The window's information reports. Each report is one text whose lines are separated by a lone
// carriage return; the texts are built here from the values given, so they do not need a window
// or a GL context, and the window's handlers only gather the values and show the text.
#include <QString>

#include "GOpglDefine.h"
#include "OpglCamera.h"

class QMessageBox;
class QWidget;

// "OpenGL Info": the implementation strings, each of the first three followed by a blank and an
// empty line; the extension list is one long line.
QString OpenGLInfoReport(const QString& Vendor, const QString& Renderer, const QString& Version,
                         const QString& Extensions);

// "Stack Num": the maximum stack depths, in the order projection, model-view, colour, texture.
QString StackDepthReport(int Projection, int ModelView, int Color, int Texture);

// The volume sizes of one view: width across the screen, height up it, depth along the line of
// sight (the view's own volume bounds).
struct TVolumeSize {
  double W = 0, H = 0, D = 0;
};
TVolumeSize VolumeSizeOf(const TGLView& View);

// What "Volume Info" shows: the current view's name, the GL viewport as last set (X, Y, width,
// height), the current view's sizes and those of the seven views.
struct TVolumeReportData {
  QString ActiveView;
  int Viewport[4] = {0, 0, 0, 0};
  TVolumeSize Current, User, Front, Back, Top, Bottom, Left, Right;
};
QString VolumeReport(const TVolumeReportData& Data);

// "Vector Angle": the two operands on the first line, the angle in degrees after an empty line.
QString VectorAngleReport(const TGLPoint4f& V1, const TGLPoint4f& V2, double Angle);

// The light report: a heading naming light Index, an empty line, then the light's parameter text.
QString LightReport(int Index, const QString& LightInfo);

// The key help, with its Traditional Chinese lines.
QString KeyHelpReport();

// The program's message box: modal, captioned with the application's name, no icon, OK only,
// each carriage return (or CR/LF pair) shown as a line break and the text taken literally, never
// as markup. Texts taller than the screen scroll inside the box so that OK stays reachable.
void ShowMessageBox(const QString& Text);
