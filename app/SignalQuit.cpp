#include "SignalQuit.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>

#include "Messages.h"

namespace {
int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(SignalPipe[1], &byte, 1);
}
}  // namespace

void QuitOnTerminationSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0) return;
  // The handler only writes a byte; the event loop closes the windows and quits.
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
    char byte;
    [[maybe_unused]] const auto got = ::read(SignalPipe[0], &byte, 1);
    // Nobody is there to dismiss a box at a logout: what the shut-down has to say goes to
    // standard error, and the program ends.
    SetMessageHandler({});
    QApplication::closeAllWindows();
    QApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}
