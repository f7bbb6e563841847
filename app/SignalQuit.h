#pragma once
// Ends the event loop normally on SIGTERM or SIGINT, so a logout or a script that stops the
// program still gets its settings saved.

// Installs the handlers; call once after the application object exists.
void QuitOnTerminationSignals();
