// Test entry point: one application object for the whole run, as the program has.
#include <gtest/gtest.h>

#include <QApplication>

#include "GOpglVariable.h"

int main(int argc, char** argv) {
  MaskFPUExceptions();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
