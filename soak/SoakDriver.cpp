#include "SoakDriver.h"

#include <unistd.h>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "ColorListBase.h"
#include "frmOpgl.h"

namespace {

// The key table, and keys around it that a user hits too.
const Qt::Key Keys[] = {
    Qt::Key_Escape,    Qt::Key_F1,     Qt::Key_Space, Qt::Key_F11,    Qt::Key_Left,
    Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_I,         Qt::Key_O,      Qt::Key_P,     Qt::Key_V,      Qt::Key_B,
    Qt::Key_Q,         Qt::Key_W,      Qt::Key_R,     Qt::Key_M,      Qt::Key_N,
    Qt::Key_X,         Qt::Key_Y,      Qt::Key_Z,     Qt::Key_H,      Qt::Key_J,
    Qt::Key_S,         Qt::Key_A,      Qt::Key_F2,    Qt::Key_F12,    Qt::Key_Tab,
    Qt::Key_Backtab,   Qt::Key_Return, Qt::Key_Home,  Qt::Key_End,    Qt::Key_Delete,
    Qt::Key_Backspace, Qt::Key_C,      Qt::Key_L,     Qt::Key_5,      Qt::Key_Minus,
    Qt::Key_Period,    Qt::Key_F5};

// Texts a user types into an edit: numbers, things that are not, and the extremes.
const char* const Texts[] = {"12.5",   "-3",     "0",           "abc",    "",   "1e308",
                             "-1e308", "1e-320", "99999999999", "5.0.1",  "-",  ".",
                             "7",      "2048",   "64x",         "0.0001", "-0", "nan",
                             "inf",    "  4  ",  "1,5",         "100000"};

// The text of the "GL Calls" window, whose numbers are dragged.
bool IsCallText(const QWidget* W) {
  return qstrcmp(W->metaObject()->className(), "TGLCallsView") == 0;
}

}  // namespace

TSoakDriver::TSoakDriver(TMainForm* Form, uint32_t Seed, const QString& WorkFolder)
    : FForm(Form), FRandom(Seed), FWork(WorkFolder) {
  MakePictures();
  AnswerDialogs();
}

namespace {

// Resident memory in kilobytes (from /proc/self/statm), -1 where it cannot be read.
long ResidentKb() {
  long size = 0, resident = -1;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2) resident = -1;
    std::fclose(statm);
  }
  return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

void TSoakDriver::Note(const QString& What) {
  FLast = QStringLiteral("#%1 %2").arg(FInputs).arg(What);
  if (!FClock.isValid()) FClock.start();
  // Each input with the resident memory before it, to find the ones after which it grows.
  if (Trace)
    std::fprintf(stderr, "%7.2f %7ld kB %s\n", FClock.elapsed() / 1000.0, ResidentKb(),
                 FLast.toLocal8Bit().constData());
}

void TSoakDriver::MakePictures() {
  QDir().mkpath(FWork);
  QImage picture(37, 23, QImage::Format_RGB888);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 7, y * 11, 90));
  const QString base = FWork + QStringLiteral("/picture");
  picture.save(base + QStringLiteral(".png"));
  picture.save(base + QStringLiteral(".bmp"));
  picture.save(base + QStringLiteral(".jpg"));
  QFile broken(FWork + QStringLiteral("/broken.jpg"));
  if (broken.open(QIODevice::WriteOnly)) broken.write("\xff\xd8\xff\xe0 not a picture at all");
  FPictures = {base + QStringLiteral(".png"),
               base + QStringLiteral(".bmp"),
               base + QStringLiteral(".jpg"),
               FWork + QStringLiteral("/broken.jpg"),
               FWork + QStringLiteral("/missing.png"),
               FWork,
               QDir::currentPath() + QStringLiteral("/Data/Test.jpg")};
}

void TSoakDriver::AnswerDialogs() {
  FForm->Dialogs.Confirm = [this](const QString&) { return Chance(0.6) ? mrYes : mrNo; };
  FForm->Dialogs.ChooseColor = [this](TColor& Chosen) {
    if (Chance(0.2)) return false;
    Chosen = static_cast<TColor>(std::uniform_int_distribution<uint32_t>(0, 0xFFFFFF)(FRandom));
    return true;
  };
  FForm->Dialogs.ChoosePicture = [this](QFileDialog* Dialog, TPictureDialog& Request) {
    if (Chance(0.15)) return false;
    if (Dialog && Dialog->acceptMode() == QFileDialog::AcceptSave)
      Request.FileName = FWork + QStringLiteral("/saved%1").arg(FSaves++ % 4);
    else
      Request.FileName = FPictures[Pick(static_cast<int>(FPictures.size()))];
    Request.FilterIndex = Pick(6);  // 0 and 5 are no filter of the list
    return true;
  };
  FForm->Dialogs.ChooseSavePicture = [this](QString& FileName) {
    if (Chance(0.15)) return false;
    // Now and then a place that cannot be written.
    FileName = Chance(0.2) ? QStringLiteral("/proc/view.png")
                           : FWork + QStringLiteral("/view%1.png").arg(FSaves++ % 3);
    return true;
  };
}

void TSoakDriver::Run(int Count) {
  FTarget = Count;
  QEventLoop loop;
  // Two timers: a timer does not fire again while its own handler runs, and the handler of an
  // input may sit in a message box's loop until the other one closes it.
  QTimer ticks, closer;
  ticks.setInterval(1);
  connect(&ticks, &QTimer::timeout, this, [&] {
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || FBusy) return;
    if (FInputs >= FTarget) return loop.quit();
    Step();
  });
  closer.setInterval(20);
  connect(&closer, &QTimer::timeout, this, [this] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      // A menu or a list that popped up: the user picks from it or leaves it.
      if (Chance(0.5)) QTest::keyClick(popup, Chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
      QTest::keyClick(popup, Chance(0.6) ? Qt::Key_Return : Qt::Key_Escape);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      AnswerModal(modal);
    }
  });
  ticks.start();
  closer.start();
  loop.exec();
}

void TSoakDriver::AnswerModal(QWidget* Modal) {
  // A user reads the box, then closes it with Return or Esc.
  if (Chance(0.5)) return;
  const bool enter = Chance(0.5);
  if (Trace)
    std::fprintf(stderr, "%7.2f    close %s with %s\n", FClock.elapsed() / 1000.0,
                 Modal->metaObject()->className(), enter ? "Return" : "Esc");
  QWidget* target = QApplication::focusWidget();
  if (!target || target->window() != Modal) target = Modal;
  QTest::keyClick(target, enter ? Qt::Key_Return : Qt::Key_Escape);
}

void TSoakDriver::Step() {
  FBusy = true;
  ++FInputs;
  // Esc closed the window: the user starts it again.
  if (!FForm->isVisible()) {
    Note(QStringLiteral("show the window again"));
    FForm->show();
  }
  const int kind = Pick(100);
  if (kind < 30)
    PressKey();
  else if (kind < 62)
    ClickControl();
  else if (kind < 72)
    TypeText();
  else if (kind < 92)
    DragSurface();
  else if (kind < 95)
    ResizeWindow();
  else {
    Note(QStringLiteral("wait"));
    QTest::qWait(Pick(60));
  }
  QCoreApplication::processEvents();
  FBusy = false;
}

void TSoakDriver::PressKey() {
  const Qt::Key key = Keys[Pick(static_cast<int>(std::size(Keys)))];
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  if (Chance(0.2)) modifiers |= Qt::ShiftModifier;
  if (Chance(0.1)) modifiers |= Qt::ControlModifier;
  // The key goes where the user's keys go: to the focused control of the active window.
  QWidget* target = QApplication::focusWidget();
  if (!target) target = QApplication::activeWindow();
  if (!target) target = FForm;
  Note(QStringLiteral("key %1 mods %2 on %3")
           .arg(QKeySequence(key).toString())
           .arg(int(modifiers))
           .arg(target->objectName()));
  QTest::keyClick(target, key, modifiers);
}

QWidget* TSoakDriver::RandomControl() {
  QList<QWidget*> controls;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isVisible() || !w->isEnabled()) continue;
      if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QSlider*>(w) ||
          qobject_cast<TColorListBase*>(w) || qobject_cast<QLineEdit*>(w) ||
          qobject_cast<TStaticText*>(w) || qobject_cast<QComboBox*>(w) || IsCallText(w))
        controls << w;
    }
  }
  return controls.isEmpty() ? nullptr : controls[Pick(static_cast<int>(controls.size()))];
}

void TSoakDriver::ClickControl() {
  QWidget* control = RandomControl();
  if (!control) return Note(QStringLiteral("no control to click"));
  const int button = Pick(10);
  const Qt::MouseButton which =
      button < 8 ? Qt::LeftButton : (button == 8 ? Qt::RightButton : Qt::MiddleButton);
  Qt::KeyboardModifiers modifiers = Chance(0.1) ? Qt::ShiftModifier : Qt::NoModifier;
  if (auto* list = qobject_cast<TColorListBase*>(control)) {
    QWidget* viewport = list->viewport();
    QPoint at(Pick(std::max(1, viewport->width())), Pick(std::max(1, viewport->height())));
    if (list->count() > 0 && Chance(0.8)) {
      const QRect item = list->visualItemRect(list->item(Pick(list->count())));
      at = QPoint(item.left() + Pick(std::max(1, item.width())), item.center().y());
    }
    Note(QStringLiteral("click %1 at (%2,%3) button %4")
             .arg(list->objectName())
             .arg(at.x())
             .arg(at.y())
             .arg(int(which)));
    if (Chance(0.1))
      QTest::mouseDClick(viewport, which, modifiers, at);
    else
      QTest::mouseClick(viewport, which, modifiers, at);
    if (which == Qt::RightButton && Chance(0.5)) {
      // The user opens the list's pop-up menu and picks its item now and then.
      QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
      QApplication::sendEvent(viewport, &menu);
      if (QWidget* popup = QApplication::activePopupWidget()) {
        if (Chance(0.5))
          QTest::keyClick(popup, Qt::Key_Return);
        else
          popup->close();
      }
    }
    return;
  }
  if (auto* slider = qobject_cast<QSlider*>(control)) {
    // A click on the groove pages the bar; a drag of the handle slides it.
    const QPoint from(Pick(std::max(1, slider->width())), slider->height() / 2);
    const QPoint to(Pick(std::max(1, slider->width())), slider->height() / 2);
    Note(QStringLiteral("drag %1 from %2 to %3")
             .arg(slider->objectName())
             .arg(from.x())
             .arg(to.x()));
    QTest::mousePress(slider, which, modifiers, from);
    QMouseEvent move(QEvent::MouseMove, to, slider->mapToGlobal(to), Qt::NoButton, which,
                     modifiers);
    QApplication::sendEvent(slider, &move);
    QTest::mouseRelease(slider, which, modifiers, to);
    return;
  }
  if (IsCallText(control)) {
    // The numbers of the "GL Calls" text are dragged up and down; its names are clicked.
    QWidget* viewport = static_cast<QAbstractScrollArea*>(control)->viewport();
    QPoint at(Pick(std::max(1, viewport->width())), Pick(std::max(1, viewport->height())));
    const int steps = Pick(20);
    Note(QStringLiteral("drag the GL Calls text at (%1,%2), %3 steps button %4")
             .arg(at.x())
             .arg(at.y())
             .arg(steps)
             .arg(int(which)));
    QTest::mousePress(viewport, which, modifiers, at);
    const int direction = Chance(0.5) ? 4 : -4;
    for (int i = 0; i < steps; ++i) {
      at.ry() += direction;
      QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, which,
                       modifiers);
      QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, which, modifiers, at);
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    Note(QStringLiteral("click edit %1").arg(edit->objectName()));
    QTest::mouseClick(edit, which, modifiers, QPoint(edit->width() / 2, edit->height() / 2));
    return;
  }
  // Buttons, check boxes, radio items, tabs and swatches: near their left edge, where the box
  // or circle and the caption are.
  const QPoint at(std::min(control->width() - 1, 4 + Pick(std::max(1, control->width() / 3))),
                  control->height() / 2);
  Note(QStringLiteral("click %1 '%2' button %3")
           .arg(control->metaObject()->className(), control->objectName())
           .arg(int(which)));
  QTest::mouseClick(control, which, modifiers, at);
}

void TSoakDriver::TypeText() {
  QList<QLineEdit*> edits;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible())
      for (QLineEdit* e : window->findChildren<QLineEdit*>())
        if (e->isVisible() && e->isEnabled() && !e->isReadOnly()) edits << e;
  if (edits.isEmpty()) return Note(QStringLiteral("no edit to type into"));
  QLineEdit* edit = edits[Pick(static_cast<int>(edits.size()))];
  const QString text = QString::fromLatin1(Texts[Pick(static_cast<int>(std::size(Texts)))]);
  Note(QStringLiteral("type '%1' into %2").arg(text, edit->objectName()));
  edit->setFocus(Qt::MouseFocusReason);
  // Ctrl+A selects the text to replace (the window ignores Ctrl keys).
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit, text);
  if (Chance(0.3)) QTest::keyClick(edit, Chance(0.5) ? Qt::Key_Return : Qt::Key_Tab);
}

void TSoakDriver::DragSurface() {
  QWidget* surface = FForm->pbGL;
  const int w = std::max(1, surface->width()), h = std::max(1, surface->height());
  const int b = Pick(3);
  const Qt::MouseButton button =
      b == 0 ? Qt::LeftButton : (b == 1 ? Qt::RightButton : Qt::MiddleButton);
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  if (Chance(0.3)) modifiers |= Qt::ControlModifier;
  if (Chance(0.2)) modifiers |= Qt::ShiftModifier;
  QPoint at(Pick(w), Pick(h));
  const int steps = 1 + Pick(12);
  Note(QStringLiteral("drag surface button %1 mods %2 from (%3,%4), %5 steps")
           .arg(int(button))
           .arg(int(modifiers))
           .arg(at.x())
           .arg(at.y())
           .arg(steps));
  QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), button, button,
                    modifiers);
  QApplication::sendEvent(surface, &press);
  for (int i = 0; i < steps; ++i) {
    at += QPoint(Pick(61) - 30, Pick(61) - 30);
    QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, button,
                     modifiers);
    QApplication::sendEvent(surface, &move);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, at, surface->mapToGlobal(at), button,
                      Qt::NoButton, modifiers);
  QApplication::sendEvent(surface, &release);
}

void TSoakDriver::ResizeWindow() {
  if (Chance(0.3)) {
    // The splitter between the panel and the surface.
    const QList<int> sizes = FForm->Splitter1->sizes();
    if (sizes.size() == 2) {
      const int total = sizes[0] + sizes[1];
      const int left = 40 + Pick(std::max(1, total - 40));
      Note(QStringLiteral("move the splitter to %1").arg(left));
      FForm->Splitter1->setSizes({left, total - left});
      emit FForm->Splitter1->splitterMoved(left, 1);
      return;
    }
  }
  const QSize size(300 + Pick(1000), 200 + Pick(800));
  Note(QStringLiteral("resize the window to %1x%2").arg(size.width()).arg(size.height()));
  FForm->setWindowState(Qt::WindowNoState);
  FForm->resize(size);
}
