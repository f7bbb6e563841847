// Handlers of the "GLVector" tab: the two operands and the result of the chosen operation.
#include <QCheckBox>
#include <QLineEdit>

#include "Vector3D.h"
#include "frmOpgl.h"

namespace {
QString VectorText(const TGLVector3f& V) {
  return FormatText("(%.2f, %.2f, %.2f)", V.X, V.Y, V.Z);
}
}  // namespace

void TMainForm::SpeedButton4Click(QObject*) {
  ReadVectorPoints();
  Repaint();
}

void TMainForm::rdgpVecOpClick(QObject*) {
  ckbxShowPts->setChecked(true);
  ReadVectorPoints();
  QString caption, result;
  switch (rdgpVecOp->ItemIndex()) {
    case 0:
      caption = QStringLiteral("Distance  P1 - P2");
      result = FormatText("%.2f", GLVector->Distance(Point1, Point2));
      break;
    case 1:
      caption = QStringLiteral("Angle  V1 v V2");
      result = FormatText("%.2f", GLVector->AngleBetween(Point1, Point2));
      break;
    case 2:
      caption = QStringLiteral("Dot Product  v1 . v2");
      result = FormatText("%.2f", GLVector->DotProduct(Point1, Point2));
      break;
    case 3:
      caption = QStringLiteral("Cross Product  v1 - v2");
      result = VectorText(GLVector->CrossProduct(Point1, Point2));
      break;
    case 4:
      caption = QStringLiteral("Vector  P1 --> P2");
      result = VectorText(VectorFromTo(Point1, Point2));
      break;
    case 5:
      caption = QStringLiteral("Symm Vector  v1 \\|/ v2");
      result = VectorText(GLVector->SymmetricVector(Point1, Point2));
      break;
    case 6:
      caption = QStringLiteral("Reflect Vector v1 \\|/ v2");
      result = VectorText(GLVector->ReflectVector(Point1, Point2));
      break;
    case 7: {
      caption = QStringLiteral("Rotate About Normal p1 \\|/ v2");
      TGLPoint4f turned = Point1;
      GLVector->RotateAboutNormal(turned, GLPoint4f(0, 0, 0, 1), Point2, 1.5707964f);
      result = VectorText(GLVector3f(turned.X, turned.Y, turned.Z));
      break;
    }
    default:
      Repaint();
      return;
  }
  stVec->setText(caption);
  edVec->setText(result);
  Repaint();
}
