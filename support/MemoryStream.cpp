#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::Write(const void* Buffer, std::size_t Count) {
  if (Count == 0) return;
  const std::size_t end = FPosition + Count;
  if (end > Size()) FData.resize(static_cast<qsizetype>(end));
  std::memcpy(FData.data() + FPosition, Buffer, Count);
  FPosition = end;
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
  const std::size_t available = FPosition < Size() ? Size() - FPosition : 0;
  const std::size_t n = std::min(Count, available);
  if (n > 0) std::memcpy(Buffer, FData.constData() + FPosition, n);
  FPosition += n;
  return n;
}

void TMemoryStream::ReadBuffer(void* Buffer, std::size_t Count) {
  if (Read(Buffer, Count) != Count) throw EReadError();
}
