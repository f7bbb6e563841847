// The soak program: the real window driven by a seeded random user, or left animating its
// heaviest scene while its memory is watched, or the check of a settings file it left.
//   OpglSoak --count N --seed S [--work DIR] [--trace]
//   OpglSoak --animate SECONDS [--rss-at T1,T2,...]
//   OpglSoak --check FILE
#include <GL/gl.h>
#include <malloc.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

#include "GOpglVariable.h"
#include "Messages.h"
#include "OpglTexture.h"
#include "Reports.h"
#include "SettingsCheck.h"
#include "SignalQuit.h"
#include "SoakDriver.h"
#include "Units.h"
#include "frmOpgl.h"

namespace {

// The textures the run has added, and the memory their pixels take in kilobytes (held twice:
// in the list and by the GL driver): what a user adds is kept, so it counts apart.
QString TexturesHeld() {
  if (!GLTexturer) return QStringLiteral("no textures");
  long kb = 0;
  const int count = GLTexturer->GetTextureCount();
  for (int i = 0; i < count; ++i)
    if (const TGLTexture* texture = GLTexturer->GetTexture(i))
      kb += static_cast<long>(texture->Width) * texture->Height * 4 / 1024;
  return QStringLiteral("textures %1 (%2 kB of pixels)").arg(count).arg(kb);
}

// The texture names and display lists alive in the surface's context (the first 65536 names).
QString GLObjectsHeld() {
  if (!MainForm || !MainForm->pbGL->context()) return QStringLiteral("no GL context");
  MainForm->pbGL->makeCurrent();
  int textures = 0, lists = 0;
  for (GLuint name = 1; name <= 65536; ++name) {
    textures += glIsTexture(name) == GL_TRUE;
    lists += glIsList(name) == GL_TRUE;
  }
  return QStringLiteral("GL textures %1, lists %2; widgets %3, objects under the window %4")
      .arg(textures)
      .arg(lists)
      .arg(QApplication::allWidgets().size())
      .arg(MainForm->findChildren<QObject*>().size());
}

// The C heap: what is allocated, and what is free but kept, in kilobytes (every arena).
QString HeapHeld() {
  const struct mallinfo2 heap = mallinfo2();
  return QStringLiteral("heap %1 kB in use, %2 kB free")
      .arg((heap.uordblks + heap.hblkhd) / 1024)
      .arg(heap.fordblks / 1024);
}

// Resident memory in kilobytes, from /proc.
long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  MaskFPUExceptions();
  QApplication app(argc, argv);
  QCommandLineParser options;
  const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Inputs to send."),
                                 QStringLiteral("N"), QStringLiteral("1000"));
  const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the inputs."),
                                QStringLiteral("S"), QStringLiteral("1"));
  const QCommandLineOption work(QStringLiteral("work"),
                                QStringLiteral("Folder for the pictures to open and the saves."),
                                QStringLiteral("DIR"), QStringLiteral("soak-work"));
  const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("Print each input."));
  const QCommandLineOption animate(QStringLiteral("animate"),
                                   QStringLiteral("Animate the heaviest scene that long."),
                                   QStringLiteral("SECONDS"));
  const QCommandLineOption rssAt(QStringLiteral("rss-at"),
                                 QStringLiteral("Print the resident memory at these seconds."),
                                 QStringLiteral("T1,T2"));
  const QCommandLineOption check(QStringLiteral("check"),
                                 QStringLiteral("Check a settings file and end."),
                                 QStringLiteral("FILE"));
  options.addOptions({count, seed, work, trace, animate, rssAt, check});
  options.addHelpOption();
  options.process(app);

  if (options.isSet(check)) {
    const QStringList problems = SettingsProblems(options.value(check));
    for (const QString& problem : problems)
      std::fprintf(stderr, "settings: %s\n", problem.toLocal8Bit().constData());
    return problems.isEmpty() ? 0 : 1;
  }

  // The user closes the window with Esc and starts it again: the run ends only when it says so.
  QApplication::setQuitOnLastWindowClosed(false);
  SetMessageHandler(ShowMessageBox);
  QuitOnTerminationSignals();
  UnitStartup();
  // The resident memory at the given seconds of the run, whatever the run is doing then.
  QElapsedTimer runClock;
  runClock.start();
  QList<double> marks;
  for (const QString& mark : options.value(rssAt).split(QLatin1Char(','), Qt::SkipEmptyParts))
    marks << mark.toDouble();
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    while (!marks.isEmpty() && runClock.elapsed() >= marks.first() * 1000) {
      std::printf("rss %.0f s: %ld kB; %s; %s; %s\n", marks.takeFirst(), ResidentKb(),
                  HeapHeld().toLocal8Bit().constData(), TexturesHeld().toLocal8Bit().constData(),
                  GLObjectsHeld().toLocal8Bit().constData());
      std::fflush(stdout);
    }
  });
  watch.start(250);
  int result = 0;
  {
    TMainForm form;
    MainForm = &form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
      std::fprintf(stderr, "soak: the window never showed\n");
      result = 1;
    } else if (options.isSet(animate)) {
      form.sbSellAll->click();  // every item of the scene
      if (!form.Timer->isActive()) form.Timer->start();
      const double seconds = options.value(animate).toDouble();
      while (runClock.elapsed() < seconds * 1000) QTest::qWait(200);
    } else {
      const uint32_t seeded = options.value(seed).toUInt();
      const int inputs = options.value(count).toInt();
      TSoakDriver driver(&form, seeded, options.value(work));
      driver.Trace = options.isSet(trace);
      driver.Run(inputs);
      std::printf("soak: %d inputs, seed %u, last %s; rss %ld kB; %s; %s; %s\n", driver.Inputs(),
                  seeded, driver.LastInput().toLocal8Bit().constData(), ResidentKb(),
                  HeapHeld().toLocal8Bit().constData(), TexturesHeld().toLocal8Bit().constData(),
                  GLObjectsHeld().toLocal8Bit().constData());
      std::fflush(stdout);
    }
    form.close();
    QCoreApplication::processEvents();
    MainForm = nullptr;
  }
  UnitShutdown();
  return result;
}
