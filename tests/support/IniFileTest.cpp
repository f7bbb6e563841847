#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "GOpglDefine.h"
#include "IniFile.h"

namespace {

QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& name, const QByteArray& text) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

class IniFileTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Name() const { return Dir.filePath("settings.ini"); }
};

}  // namespace

TEST_F(IniFileTest, NamesIgnoreCaseValuesStayInPlaceNewSectionsGoLast) {
  WriteAll(Name(), "[First]\nAlpha=1\nBeta=2\n\n[Second]\nGamma=3\n");
  TIniFile ini(Name());
  EXPECT_EQ(ini.ReadString("first", "ALPHA", "x"), "1");
  EXPECT_TRUE(ini.SectionExists("SECOND"));
  EXPECT_TRUE(ini.ValueExists("second", "gamma"));
  ini.WriteString("FIRST", "alpha", "10");   // replaced where it stands
  ini.WriteString("Third", "Delta", "4");    // a new section at the end
  ini.WriteString("First", "Epsilon", "5");  // a new key in its section
  ini.DeleteKey("first", "beta");
  ini.UpdateFile();
  EXPECT_EQ(ReadAll(Name()),
            "[First]\nAlpha=10\nEpsilon=5\n\n[Second]\nGamma=3\n\n[Third]\nDelta=4\n");
  TIniFile again(Name());
  EXPECT_EQ(again.ReadString("First", "Beta", "gone"), "gone");
}

TEST_F(IniFileTest, EncodingsReadAndWritten) {
  WriteAll(Name(),
           "[S]\nHex=0x10\nDollar=$1F\nLetters=abc\nTwo=2\nWord=yes\nZero=0\nFloat=2.5\n"
           "BadFloat=2.5x\nLong=" +
               QByteArray(3000, 'a') + "\n");
  TIniFile ini(Name());
  EXPECT_EQ(ini.ReadInteger("S", "Hex", 7), 16);
  EXPECT_EQ(ini.ReadInteger("S", "Dollar", 7), 31);
  EXPECT_EQ(ini.ReadInteger("S", "Letters", 0), 0);
  EXPECT_EQ(ini.ReadInteger("S", "Letters", 9), 9);
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 9), 9);
  EXPECT_TRUE(ini.ReadBool("S", "Two", false));
  EXPECT_TRUE(ini.ReadBool("S", "Word", true));
  EXPECT_FALSE(ini.ReadBool("S", "Word", false));
  EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
  EXPECT_EQ(ini.ReadFloat("S", "Float", 0), 2.5);
  EXPECT_EQ(ini.ReadFloat("S", "BadFloat", 1.25), 1.25);
  EXPECT_EQ(ini.ReadString("S", "Long", "").size(), 2047);

  ini.WriteInteger("S", "Hex", 16);
  ini.WriteBool("S", "Two", true);
  ini.WriteBool("S", "Zero", false);
  ini.WriteInteger("S", "Negative", -42);
  ini.WriteFloat("S", "Float", 20);
  ini.UpdateFile();
  TIniFile back(Name());
  EXPECT_EQ(back.ReadString("S", "Hex", ""), "16");
  EXPECT_EQ(back.ReadString("S", "Two", ""), "1");
  EXPECT_EQ(back.ReadString("S", "Zero", ""), "0");
  EXPECT_EQ(back.ReadString("S", "Negative", ""), "-42");
  EXPECT_EQ(back.ReadString("S", "Float", ""), "20");
}

TEST_F(IniFileTest, RawRecordsDecodedKeyByKey) {
  const TGLColor4f colour{0.8f, 0.8f, 0.0f, 1.0f};
  {
    TIniFile ini(Name());
    TMemoryStream stream;
    stream.Write(&colour, sizeof colour);
    stream.SetPosition(0);
    ini.WriteBinaryStream("S", "Colour", stream);
    ini.WriteString("S", "Short", "0102");
    ini.UpdateFile();
  }
  TIniFile ini(Name());
  EXPECT_EQ(ini.ReadString("S", "Colour", ""), "CDCC4C3FCDCC4C3F000000000000803F");
  TMemoryStream stream;
  ASSERT_EQ(ini.ReadBinaryStream("S", "Colour", stream), 16u);
  TGLColor4f back{};
  stream.ReadBuffer(&back, sizeof back);
  EXPECT_EQ(std::memcmp(&back, &colour, sizeof back), 0);
  // A key of its own for each read: a missing key gives nothing, whatever came before it.
  TMemoryStream missing;
  EXPECT_EQ(ini.ReadBinaryStream("S", "Absent", missing), 0u);
  TMemoryStream shortOne;
  EXPECT_EQ(ini.ReadBinaryStream("S", "Short", shortOne), 2u);
  TGLColor4f target{};
  EXPECT_THROW(shortOne.ReadBuffer(&target, sizeof target), EReadError);
}

TEST_F(IniFileTest, RefusedWriteReportsThePathAndKeepsNothingHalfWritten) {
  // A folder that is a file cannot hold the settings file, not even for root.
  WriteAll(Dir.filePath("plain"), "x");
  const QString name = Dir.filePath("plain/settings.ini");
  TIniFile ini(name);
  ini.WriteString("S", "K", "V");
  try {
    ini.UpdateFile();
    FAIL() << "the write should fail";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + name);
  }
}

TEST_F(IniFileTest, SaveInterruptedBeforeRenameLeavesThePreviousFile) {
  const QByteArray previous = "[S]\nK=old\n";
  WriteAll(Name(), previous);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child dies between writing the new text and putting it in place.
    TIniFile::SetBeforeCommitHook([] { _exit(3); });
    TIniFile ini(Name());
    ini.WriteString("S", "K", QString(100000, 'n'));
    ini.UpdateFile();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(ReadAll(Name()), previous);

  // The next save goes through and replaces the file whole.
  TIniFile ini(Name());
  ini.WriteString("S", "K", "new");
  ini.UpdateFile();
  EXPECT_EQ(ReadAll(Name()), "[S]\nK=new\n");
}

TEST_F(IniFileTest, HandEditedFileWithOddLinesStillLoads) {
  WriteAll(Name(), "garbage line\n[S]\n=novalue\nK = spaced \n[Empty]\n[S2]\nX=\n");
  TIniFile ini(Name());
  EXPECT_EQ(ini.ReadString("S", "K", "d"), "spaced");
  EXPECT_EQ(ini.ReadInteger("S2", "X", 5), 5);
  EXPECT_EQ(ini.ReadString("S2", "X", "d"), "");
}

TEST_F(IniFileTest, FilesKeptInMemoryNeverTouchTheDisk) {
  const QString name = Dir.filePath("memory.ini");
  TIniFile::KeepFilesInMemory(true);
  EXPECT_FALSE(TIniFile::Exists(name));
  TIniFile::SetMemoryFile(name, "[A]\r\nx=5\r\n");
  EXPECT_TRUE(TIniFile::Exists(name));
  {
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("a"), QStringLiteral("X"), 0), 5);
    ini.WriteInteger(QStringLiteral("B"), QStringLiteral("y"), 7);
    ini.UpdateFile();
  }
  EXPECT_FALSE(QFile::exists(name));  // the save went to memory
  EXPECT_EQ(TIniFile::MemoryFile(name), QByteArray("[A]\nx=5\n\n[B]\ny=7\n"));
  EXPECT_EQ(TIniFile(name).ReadInteger(QStringLiteral("B"), QStringLiteral("y"), 0), 7);
  // Back on disk the table is gone, and a file on disk is what is read.
  TIniFile::KeepFilesInMemory(false);
  EXPECT_FALSE(TIniFile::Exists(name));
  EXPECT_TRUE(TIniFile::MemoryFile(name).isEmpty());
  EXPECT_EQ(TIniFile(name).ReadInteger(QStringLiteral("B"), QStringLiteral("y"), 0), 0);
}
