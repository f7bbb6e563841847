#pragma once
// Modal messages to the user. The window installs a handler that shows a message box;
// without one (start-up, shut-down without a GUI, tests) messages go to standard error.
#include <QString>
#include <QStringList>
#include <functional>

using TMessageHandler = std::function<void(const QString&)>;

// Shows Text; lines are separated by a lone carriage return.
void ShowMessage(const QString& Text);
// Replaces the handler and returns the previous one; an empty handler restores the default.
TMessageHandler SetMessageHandler(TMessageHandler Handler);

// Holds back the messages shown while it lives and shows each different text once, in the
// order first shown, when it ends. The shut-down runs inside one: when the settings file
// cannot be written, every object that saves its section fails the same way, and the user
// is told once.
class TMessageBatch {
 public:
  TMessageBatch();
  ~TMessageBatch();
  TMessageBatch(const TMessageBatch&) = delete;
  TMessageBatch& operator=(const TMessageBatch&) = delete;

 private:
  TMessageBatch* FOuter;
  QStringList FTexts;
  friend void ShowMessage(const QString& Text);
};
