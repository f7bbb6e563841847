// The command line: --help and --version end at once with their text, an unknown option ends
// with a message and exit status 2, and Qt's own options pass through to the start.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

TCommandLine Parse(QStringList Arguments) {
  Arguments.prepend(QStringLiteral("/usr/bin/OpglProject"));
  return ParseCommandLine(Arguments, QStringLiteral("1.0.0.0"));
}

}  // namespace

TEST(CommandLine, NoOptionsOrQtsOwnStartTheProgram) {
  for (const QStringList& arguments :
       {QStringList{}, QStringList{"-platform", "offscreen"}, QStringList{"--style", "fusion"},
        QStringList{"-reverse", "-qwindowtitle", "Lab 3"}}) {
    const TCommandLine line = Parse(arguments);
    EXPECT_TRUE(line.Start) << arguments.join(' ').toStdString();
    EXPECT_TRUE(line.Output.isEmpty());
    EXPECT_TRUE(line.Error.isEmpty());
  }
}

TEST(CommandLine, VersionAndHelpPrintAndEnd) {
  for (const char* option : {"--version", "-v"}) {
    const TCommandLine line = Parse({QString::fromLatin1(option)});
    EXPECT_FALSE(line.Start);
    EXPECT_EQ(line.ExitCode, 0);
    EXPECT_EQ(line.Output, "OpglProject 1.0.0.0\n");
    EXPECT_TRUE(line.Error.isEmpty());
  }
  for (const char* option : {"--help", "-h"}) {
    const TCommandLine line = Parse({QString::fromLatin1(option)});
    EXPECT_FALSE(line.Start);
    EXPECT_EQ(line.ExitCode, 0);
    EXPECT_TRUE(line.Output.startsWith("Usage: OpglProject [options]\n"))
        << line.Output.toStdString();
    EXPECT_TRUE(line.Output.contains("-v, --version")) << line.Output.toStdString();
    EXPECT_TRUE(line.Output.contains("-h, --help"));
    // Qt's options are taken but not offered.
    EXPECT_FALSE(line.Output.contains("platform"));
  }
}

TEST(CommandLine, UnknownOptionsAndMissingValuesEndWithStatus2) {
  const TCommandLine unknown = Parse({"--fullscreen"});
  EXPECT_FALSE(unknown.Start);
  EXPECT_EQ(unknown.ExitCode, 2);
  EXPECT_TRUE(unknown.Output.isEmpty());
  EXPECT_EQ(unknown.Error,
            "OpglProject: Unknown option 'fullscreen'.\n"
            "Try 'OpglProject --help' for more information.\n");
  // One dash and a word is one option, not a row of letters that --help would start.
  const TCommandLine word = Parse({"-hv"});
  EXPECT_FALSE(word.Start);
  EXPECT_EQ(word.ExitCode, 2);
  EXPECT_TRUE(word.Error.contains("Unknown option 'hv'")) << word.Error.toStdString();
  // An unknown option wins over --version, so a typo never goes unnoticed.
  EXPECT_EQ(Parse({"--version", "--bogus"}).ExitCode, 2);
  const TCommandLine missing = Parse({"-platform"});
  EXPECT_FALSE(missing.Start);
  EXPECT_EQ(missing.ExitCode, 2);
  EXPECT_TRUE(missing.Error.contains("platform")) << missing.Error.toStdString();
}
