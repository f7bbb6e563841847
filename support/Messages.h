#pragma once
// Modal messages to the user. The window installs a handler that shows a message box;
// without one (start-up, shut-down without a GUI, tests) messages go to standard error.
#include <QString>
#include <functional>

using TMessageHandler = std::function<void(const QString&)>;

// Shows Text; lines are separated by a lone carriage return.
void ShowMessage(const QString& Text);
// Replaces the handler and returns the previous one; an empty handler restores the default.
TMessageHandler SetMessageHandler(TMessageHandler Handler);
