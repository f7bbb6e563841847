// Every input in the fuzz seed corpus and every input that ever made a fuzzer fail runs again
// through its target, so a fixed fault stays fixed.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "FuzzTargets.h"

namespace {

int Replay(const char* Target) {
  const Fuzz::TTarget run = Fuzz::TargetByName(Target);
  EXPECT_NE(run, nullptr);
  int count = 0;
  for (const char* kind : {"corpus", "crashes"}) {
    const QString folder = QStringLiteral(OPGL_FUZZ_DIR "/%1/%2").arg(kind, Target);
    QDirIterator files(folder, QDir::Files);
    while (files.hasNext()) {
      QFile file(files.next());
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QByteArray bytes = file.readAll();
      SCOPED_TRACE(file.fileName().toStdString());
      run(reinterpret_cast<const uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size()));
      ++count;
    }
  }
  return count;
}

}  // namespace

TEST(FuzzCorpusTest, Settings) {
  EXPECT_GT(Replay("settings"), 0);
}
TEST(FuzzCorpusTest, Records) {
  EXPECT_GT(Replay("records"), 0);
}
TEST(FuzzCorpusTest, Values) {
  EXPECT_GT(Replay("values"), 0);
}
TEST(FuzzCorpusTest, Picture) {
  EXPECT_GT(Replay("picture"), 0);
}
