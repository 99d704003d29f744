#include "ZipWriter.h"

#include <array>

namespace lyricserver {

namespace {

uint32_t CrcTableEntry(uint32_t n) {
  uint32_t c = n;
  for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  return c;
}

uint32_t CrcByte(uint32_t crc, uint8_t b) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) t[i] = CrcTableEntry(i);
    return t;
  }();
  return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The traditional zip cipher.
class ZipCipher {
 public:
  explicit ZipCipher(const std::string& password) {
    for (char c : password) Update(static_cast<uint8_t>(c));
  }
  uint8_t Encrypt(uint8_t plain) {
    const uint32_t t = (k2_ | 2) & 0xFFFF;
    const uint8_t mask = static_cast<uint8_t>((t * (t ^ 1)) >> 8);
    Update(plain);
    return plain ^ mask;
  }

 private:
  void Update(uint8_t c) {
    k0_ = CrcByte(k0_, c);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = CrcByte(k2_, static_cast<uint8_t>(k1_ >> 24));
  }
  uint32_t k0_ = 0x12345678u, k1_ = 0x23456789u, k2_ = 0x34567890u;
};

}  // namespace

uint32_t Crc32(const std::string& bytes, uint32_t crc) {
  crc = ~crc;
  for (char c : bytes) crc = CrcByte(crc, static_cast<uint8_t>(c));
  return ~crc;
}

std::string BuildZip(const std::vector<ZipEntry>& entries, const std::string& password, uint32_t salt) {
  const uint32_t kTime = (12u << 11) | (0u << 5);          // 12:00:00
  const uint32_t kDate = ((2006u - 1980u) << 9) | (7u << 5) | 29u;  // 2006-07-29
  const bool encrypt = !password.empty();
  std::string out, central;
  for (const ZipEntry& e : entries) {
    const uint32_t crc = Crc32(e.data);
    std::string stored = e.data;
    if (encrypt) {
      ZipCipher cipher(password);
      std::string head;
      for (int i = 0; i < 11; ++i) {
        salt = salt * 1103515245u + 12345u;
        head += static_cast<char>(salt >> 16);
      }
      head += static_cast<char>(crc >> 24);  // lets a reader check the password
      stored = head + e.data;
      for (char& c : stored) c = static_cast<char>(cipher.Encrypt(static_cast<uint8_t>(c)));
    }
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const uint32_t flags = (encrypt ? 1u : 0u) | (e.utf8Name ? 0x800u : 0u);
    Put32(out, 0x04034b50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, 0);  // stored
    Put16(out, kTime);
    Put16(out, kDate);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(stored.size()));
    Put32(out, static_cast<uint32_t>(e.data.size()));
    Put16(out, static_cast<uint32_t>(e.name.size()));
    Put16(out, 0);
    out += e.name;
    out += stored;

    Put32(central, 0x02014b50);
    Put16(central, 20);
    Put16(central, 20);
    Put16(central, flags);
    Put16(central, 0);
    Put16(central, kTime);
    Put16(central, kDate);
    Put32(central, crc);
    Put32(central, static_cast<uint32_t>(stored.size()));
    Put32(central, static_cast<uint32_t>(e.data.size()));
    Put16(central, static_cast<uint32_t>(e.name.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0);
    Put32(central, offset);
    central += e.name;
  }
  const uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out += central;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put16(out, static_cast<uint32_t>(entries.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

}  // namespace lyricserver
