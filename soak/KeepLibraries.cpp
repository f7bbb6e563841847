// The libraries the soak run loads stay loaded until it ends. A leak the leak checker finds at
// exit in one that would have been unloaded by then (the GL driver, a plug-in) is reported
// with its library's name, to be fixed or suppressed by name, instead of as an unknown module.
#include <dlfcn.h>

extern "C" int dlclose(void*) {
  return 0;
}
