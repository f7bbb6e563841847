// libFuzzer entry of one target, chosen at build time (OPGL_FUZZ_TARGET).
#include <QCoreApplication>
#include <cstdlib>

#include "FuzzTargets.h"

#define OPGL_STRINGIFY2(x) #x
#define OPGL_STRINGIFY(x) OPGL_STRINGIFY2(x)

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The image readers and locale-dependent encodings want an application object.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const Fuzz::TTarget target = Fuzz::TargetByName(OPGL_STRINGIFY(OPGL_FUZZ_TARGET));
  target(Data, Size);
  return 0;
}
