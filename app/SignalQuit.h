#pragma once
// Ends the event loop normally on SIGTERM or SIGINT, so a logout or a script that stops the
// program still gets its settings saved. From then on messages go to standard error, so the
// shut-down never waits on a message box.

// Installs the handlers; call once after the application object exists.
void QuitOnTerminationSignals();
