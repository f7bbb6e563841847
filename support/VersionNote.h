#pragma once
// The program's version travels inside its executable file as an ELF note (owner
// "OpglProject", type NT_VERSION), so that the file utilities read it from the file itself and
// any other file has none. The description holds a fixed version (major and minor in the most
// significant word, release and build in the least significant) and an optional string table
// of NUL-terminated key/value pairs, such as "StringFileInfo\040704E4\FileVersion".
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace VersionNote {

constexpr uint32_t NoteType = 1;  // NT_VERSION
constexpr uint32_t Signature = 0xFEEF04BD;
constexpr char Owner[12] = "OpglProject";

// The note as it lies in the file; Strings is padded to whole 32-bit words.
template <std::size_t StringBytes>
struct TNote {
  uint32_t NameSize;
  uint32_t DescSize;
  uint32_t Type;
  char Name[sizeof Owner];
  uint32_t Signature;
  uint32_t VersionMS;
  uint32_t VersionLS;
  char Strings[(StringBytes + 3) / 4 * 4];
};

// What a file's note holds.
struct TVersionInfo {
  uint32_t VersionMS = 0;
  uint32_t VersionLS = 0;
  std::vector<std::pair<std::string, std::string>> Strings;
  // The value of Key in the string table; empty when absent.
  std::string Value(const std::string& Key) const;
};

// Reads the note from an ELF file; false for a missing file, another format or no note.
bool Read(const std::string& FileName, TVersionInfo& Info);

}  // namespace VersionNote

// Places the note in the object file that uses it. Texts is a literal of key "\0" value
// pairs ("" for none); keep the "\0" a literal of its own so that digits after it stay text.
#define OPGL_VERSION_NOTE(Major, Minor, Release, Build, Texts)                    \
  [[gnu::used, gnu::section(".note.opgl.version"),                                \
    gnu::aligned(4)]] static const VersionNote::TNote<sizeof(Texts)>              \
      OpglVersionNote = {sizeof VersionNote::Owner,                               \
                         12 + sizeof(VersionNote::TNote<sizeof(Texts)>::Strings), \
                         VersionNote::NoteType,                                   \
                         "OpglProject",                                           \
                         VersionNote::Signature,                                  \
                         (uint32_t{Major} << 16) | uint32_t{Minor},               \
                         (uint32_t{Release} << 16) | uint32_t{Build},             \
                         Texts}
