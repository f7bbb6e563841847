#include "VersionNote.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace VersionNote {

namespace {

// Note sections larger than this are not ours; a bound keeps a hostile file from costing much.
constexpr std::size_t MaxNoteSection = 1 << 20;
constexpr std::size_t MaxSections = 1 << 16;

class TFile {
 public:
  explicit TFile(const std::string& Name)
      : FHandle(::open(Name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
  ~TFile() {
    if (FHandle >= 0) ::close(FHandle);
  }
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // A regular file only: reading a device or a pipe could block or have effects.
  bool Open() {
    struct stat st {};
    if (FHandle < 0 || ::fstat(FHandle, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    FSize = static_cast<uint64_t>(st.st_size);
    return true;
  }
  uint64_t Size() const { return FSize; }
  // Reads exactly Count bytes at Offset, all inside the file.
  bool ReadAt(uint64_t Offset, void* Buffer, std::size_t Count) const {
    if (Offset > FSize || Count > FSize - Offset) return false;
    auto* out = static_cast<char*>(Buffer);
    while (Count > 0) {
      const ssize_t n = ::pread(FHandle, out, Count, static_cast<off_t>(Offset));
      if (n <= 0) return false;
      out += n;
      Offset += static_cast<uint64_t>(n);
      Count -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int FHandle;
  uint64_t FSize = 0;
};

std::size_t Aligned(std::size_t Value, std::size_t Alignment) {
  return (Value + Alignment - 1) / Alignment * Alignment;
}

// The description of our note: the signature, the fixed version and the string table.
bool ParseDescription(const char* Desc, std::size_t Size, TVersionInfo& Info) {
  if (Size < 12) return false;
  uint32_t words[3];
  std::memcpy(words, Desc, sizeof words);
  if (words[0] != Signature) return false;
  Info = TVersionInfo{};
  Info.VersionMS = words[1];
  Info.VersionLS = words[2];
  std::size_t at = 12;
  auto next = [&](std::string& text) {
    const void* end = std::memchr(Desc + at, '\0', Size - at);
    if (!end) return false;
    text.assign(Desc + at, static_cast<const char*>(end));
    at = static_cast<std::size_t>(static_cast<const char*>(end) - Desc) + 1;
    return true;
  };
  std::string key, value;
  while (at < Size && next(key) && !key.empty() && at < Size && next(value))
    Info.Strings.emplace_back(key, value);
  return true;
}

// Walks the notes of one section.
bool FindInNotes(const std::vector<char>& Data, std::size_t Alignment, TVersionInfo& Info) {
  std::size_t at = 0;
  while (Data.size() - at >= 12) {
    uint32_t head[3];
    std::memcpy(head, Data.data() + at, sizeof head);
    const std::size_t name = at + 12;
    const std::size_t nameSize = Aligned(head[0], Alignment);
    if (nameSize > Data.size() - name) return false;
    const std::size_t desc = name + nameSize;
    const std::size_t descSize = Aligned(head[1], Alignment);
    if (head[1] > Data.size() - desc) return false;
    if (head[2] == NoteType && head[0] == sizeof Owner &&
        std::memcmp(Data.data() + name, Owner, sizeof Owner) == 0 &&
        ParseDescription(Data.data() + desc, head[1], Info))
      return true;
    if (descSize > Data.size() - desc) return false;
    at = desc + descSize;
  }
  return false;
}

template <class Ehdr, class Shdr>
bool ReadSections(const TFile& File, TVersionInfo& Info) {
  Ehdr header;
  if (!File.ReadAt(0, &header, sizeof header)) return false;
  if (header.e_shoff == 0 || header.e_shentsize != sizeof(Shdr)) return false;
  std::size_t count = header.e_shnum;
  if (count == 0) {  // many sections: the real count is in the first section header
    Shdr first;
    if (!File.ReadAt(header.e_shoff, &first, sizeof first)) return false;
    count = static_cast<std::size_t>(first.sh_size);
  }
  if (count > MaxSections) return false;
  std::vector<Shdr> sections(count);
  if (!File.ReadAt(header.e_shoff, sections.data(), count * sizeof(Shdr))) return false;
  for (const Shdr& section : sections) {
    if (section.sh_type != SHT_NOTE || section.sh_size > MaxNoteSection) continue;
    std::vector<char> data(static_cast<std::size_t>(section.sh_size));
    if (!File.ReadAt(section.sh_offset, data.data(), data.size())) continue;
    if (FindInNotes(data, section.sh_addralign == 8 ? 8 : 4, Info)) return true;
  }
  return false;
}

}  // namespace

std::string TVersionInfo::Value(const std::string& Key) const {
  for (const auto& [key, value] : Strings)
    if (key == Key) return value;
  return {};
}

bool Read(const std::string& FileName, TVersionInfo& Info) {
  TFile file(FileName);
  if (!file.Open()) return false;
  unsigned char ident[EI_NIDENT];
  if (!file.ReadAt(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
    return false;
  const unsigned char native =
      __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
  if (ident[EI_DATA] != native) return false;
  if (ident[EI_CLASS] == ELFCLASS64) return ReadSections<Elf64_Ehdr, Elf64_Shdr>(file, Info);
  if (ident[EI_CLASS] == ELFCLASS32) return ReadSections<Elf32_Ehdr, Elf32_Shdr>(file, Info);
  return false;
}

}  // namespace VersionNote
