#include "Messages.h"

#include <cstdio>

namespace {
TMessageHandler& Current() {
  static TMessageHandler handler;
  return handler;
}
}  // namespace

void ShowMessage(const QString& Text) {
  if (Current()) {
    Current()(Text);
    return;
  }
  QString lines = Text;
  lines.replace('\r', '\n');
  std::fprintf(stderr, "%s\n", lines.toUtf8().constData());
}

TMessageHandler SetMessageHandler(TMessageHandler Handler) {
  TMessageHandler previous = std::move(Current());
  Current() = std::move(Handler);
  return previous;
}
