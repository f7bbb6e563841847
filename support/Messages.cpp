#include "Messages.h"

#include <cstdio>

namespace {
TMessageHandler& Current() {
  static TMessageHandler handler;
  return handler;
}

TMessageBatch*& OpenBatch() {
  static TMessageBatch* batch = nullptr;
  return batch;
}
}  // namespace

void ShowMessage(const QString& Text) {
  if (TMessageBatch* batch = OpenBatch()) {
    if (!batch->FTexts.contains(Text)) batch->FTexts << Text;
    return;
  }
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

TMessageBatch::TMessageBatch() : FOuter(OpenBatch()) {
  OpenBatch() = this;
}

TMessageBatch::~TMessageBatch() {
  OpenBatch() = FOuter;
  // A handler that throws must not end the program while the batch unwinds.
  try {
    for (const QString& text : FTexts) ShowMessage(text);
  } catch (...) {
  }
}
