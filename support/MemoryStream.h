#pragma once
// A growable block of bytes with a position: how raw records travel to and from the
// settings file.
#include <QByteArray>
#include <cstddef>
#include <stdexcept>

// Raised when fewer bytes are left than a read demands.
class EReadError : public std::runtime_error {
 public:
  EReadError() : std::runtime_error("Stream read error") {}
};

class TMemoryStream {
 public:
  std::size_t Size() const { return static_cast<std::size_t>(FData.size()); }
  std::size_t Position() const { return FPosition; }
  void SetPosition(std::size_t Position) { FPosition = Position; }
  const QByteArray& Bytes() const { return FData; }

  // Writes at the position, growing the stream as needed.
  void Write(const void* Buffer, std::size_t Count);
  // Reads up to Count bytes from the position; returns how many were read.
  std::size_t Read(void* Buffer, std::size_t Count);
  // Reads exactly Count bytes or raises EReadError.
  void ReadBuffer(void* Buffer, std::size_t Count);

 private:
  QByteArray FData;
  std::size_t FPosition = 0;
};
