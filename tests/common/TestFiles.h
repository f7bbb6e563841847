#pragma once
// Whole-file reads and writes for the tests.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes Bytes as the whole of file Name (the test fails when it cannot).
inline void WriteAll(const QString& Name, const QByteArray& Bytes) {
  QFile file(Name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Name.toStdString();
  file.write(Bytes);
}

// The whole of file Name; empty when it cannot be read.
inline QByteArray ReadAll(const QString& Name) {
  QFile file(Name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
