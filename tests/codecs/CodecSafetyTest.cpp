// Hostile picture files: whatever a file holds and whatever it is called, decoding it starts no
// program and opens no file besides the picture itself.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <set>
#include <string>

#include "Codecs.h"

namespace {

// The outside converters the image library knows for these contents, as stand-ins that leave
// a mark when they run.
const char* const Converters[] = {"ilbmtoppm",    "ppmtoilbm", "mpeg2decode", "mpeg2encode",
                                  "ffmpeg",       "gs",        "gsc",         "gsx",
                                  "rsvg-convert", "inkscape",  "ralcgm",      "hp2xx",
                                  "dcraw",        "html2ps",   "wmf2eps",     "xfig"};

class CodecSafetyTest : public ::testing::Test {
 protected:
  static inline QTemporaryDir* Root = nullptr;
  static void SetUpTestSuite() {
    Root = new QTemporaryDir;
    QDir(Root->path()).mkdir(QStringLiteral("bin"));
    QDir(Root->path()).mkdir(QStringLiteral("pictures"));
    for (const char* name : Converters) {
      const QString path = Root->filePath(QStringLiteral("bin/%1").arg(QLatin1String(name)));
      QFile script(path);
      ASSERT_TRUE(script.open(QIODevice::WriteOnly));
      script.write("#!/bin/sh\ntouch '" + Root->filePath(QStringLiteral("ran")).toUtf8() + "'\n");
      script.close();
      script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }
    const std::string path = Root->filePath(QStringLiteral("bin")).toStdString() + ":" +
                             (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    setenv("PATH", path.c_str(), 1);
    // Any temporary file the library made would show up in the watched folder.
    const std::string pictures = Root->filePath(QStringLiteral("pictures")).toStdString();
    setenv("MAGICK_TMPDIR", pictures.c_str(), 1);
    setenv("TMPDIR", pictures.c_str(), 1);
    Codecs::InitCodecs();
  }
  static void TearDownTestSuite() {
    delete Root;
    Root = nullptr;
  }

  static QString Pictures(const QString& Name) {
    return Root->filePath(QStringLiteral("pictures/") + Name);
  }

  // Decodes Name holding Bytes and returns the names of everything opened or created in the
  // picture folder meanwhile, besides the picture itself.
  static std::set<std::string> DecodeWatched(const QString& Name, const QByteArray& Bytes,
                                             bool& Refused) {
    QFile file(Pictures(Name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
    file.close();
    const int watch = inotify_init1(IN_NONBLOCK);
    EXPECT_GE(watch, 0);
    inotify_add_watch(watch, Root->filePath(QStringLiteral("pictures")).toLocal8Bit().constData(),
                      IN_OPEN | IN_CREATE);
    Refused = false;
    try {
      Codecs::Decode(Pictures(Name));
    } catch (const Codecs::ECodecError&) {
      Refused = true;
    }
    std::set<std::string> touched;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        const std::string name = event->len ? event->name : "";
        if (name != Name.toStdString()) touched.insert(name);
        p += sizeof(inotify_event) + event->len;
      }
    }
    close(watch);
    QFile::remove(Pictures(Name));
    return touched;
  }
};

}  // namespace

TEST_F(CodecSafetyTest, HostileContentRunsNothingAndOpensNothingElse) {
  // A picture on disk that an SVG points at: it must not be read.
  QFile secret(Pictures(QStringLiteral("secret.png")));
  ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
  secret.write(QByteArray::fromHex("89504e470d0a1a0a"));
  secret.close();
  const QByteArray svg =
      "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"8\" height=\"8\"><image "
      "xlink:href=\"" +
      Pictures(QStringLiteral("secret.png")).toUtf8() + "\" width=\"8\" height=\"8\"/></svg>\n";
  const QByteArray ilbm = QByteArray::fromHex(
      "464f524d00000040494c424d424d4844000000140008000800000000080000000000010100080008");
  const QByteArray mpeg = QByteArray::fromHex("000001b300800060140000000000000000000001b8");
  const QByteArray postscript = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 8 8\nshowpage\n";
  const std::pair<const char*, QByteArray> contents[] = {
      {"svg", svg}, {"ilbm", ilbm}, {"mpeg", mpeg}, {"postscript", postscript}};
  const char* const extensions[] = {"jpg", "png", "gif", "bmp", "tga", "tif",
                                    "pcx", "svg", "iff", "mpg", "eps", "dat"};
  for (const auto& [kind, bytes] : contents)
    for (const char* extension : extensions) {
      const QString name = QStringLiteral("%1.%2").arg(QLatin1String(kind), extension);
      SCOPED_TRACE(name.toStdString());
      bool refused = false;
      const std::set<std::string> touched = DecodeWatched(name, bytes, refused);
      EXPECT_TRUE(refused);
      EXPECT_TRUE(touched.empty()) << *touched.begin();
      EXPECT_FALSE(QFile::exists(Root->filePath(QStringLiteral("ran"))));
    }
}

// A recognised content is decoded by its own coder, whatever the extension says, and a
// content the extension names wrongly is refused, not handed to another decoder.
TEST_F(CodecSafetyTest, RecognisedContentChoosesTheCoder) {
  // A 2 x 1 binary PNM read under a Targa name.
  const QByteArray pnm("P6\n2 1\n255\n\xff\x00\x00\x00\x00\xff", 17);
  bool refused = true;
  EXPECT_TRUE(DecodeWatched(QStringLiteral("red-blue.tga"), pnm, refused).empty());
  EXPECT_FALSE(refused);
  // Content that nothing recognises goes by the extension only.
  refused = false;
  DecodeWatched(QStringLiteral("noise.tga"), QByteArray(40, '\x7f'), refused);
  EXPECT_TRUE(refused);
}

// Qt's reader, the last resort, allocates a GIF's whole screen although it announces the frame:
// a tiny file claiming a screen wider than the layer allows is refused, a sane one still reads.
// It never gets a file that the decoder its extension names has refused.
TEST_F(CodecSafetyTest, QtFallbackKeepsThePixelLimits) {
  const auto gif = [](int ScreenWidth, int ScreenHeight) {
    QByteArray bytes("GIF89a");
    for (int v : {ScreenWidth, ScreenHeight})
      bytes.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
    bytes.append(
        QByteArray::fromHex("800000"
                            "000000FFFFFF"));  // two-colour table
    bytes.append(
        QByteArray::fromHex("2C0000000001000100"
                            "00"));  // a 1 x 1 frame
    // A code size the image library refuses and Qt's reader lets pass.
    bytes.append(QByteArray::fromHex("0C024C01003B"));
    return bytes;
  };
  const auto decode = [](const char* Name, const QByteArray& Bytes) {
    const QString name = Pictures(QLatin1String(Name));
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
    file.close();
    return Codecs::DecodeByExtension(name);
  };
  // Under an extension no decoder of the list claims, Qt's reader is the last resort.
  EXPECT_THROW(decode("wide.dat", gif(40961, 30)), Codecs::ECodecError);
  EXPECT_THROW(decode("tall.dat", gif(30, 40961)), Codecs::ECodecError);
  EXPECT_EQ(decode("small.dat", gif(5, 3)).size(), QSize(5, 3));
  // A GIF that the GIF decoder refuses stays refused.
  EXPECT_THROW(decode("small.gif", gif(5, 3)), Codecs::ECodecError);
}
