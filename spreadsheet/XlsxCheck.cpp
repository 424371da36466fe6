#include "spreadsheet/XlsxCheck.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using TFile = std::unique_ptr<FILE, int (*)(FILE*)>;

uint32_t Le16(const unsigned char* P) { return P[0] | P[1] << 8; }
uint32_t Le32(const unsigned char* P) {
  return P[0] | P[1] << 8 | P[2] << 16 | static_cast<uint32_t>(P[3]) << 24;
}

bool ReadAt(FILE* F, long Offset, void* Buffer, size_t Size) {
  return std::fseek(F, Offset, SEEK_SET) == 0 && std::fread(Buffer, 1, Size, F) == Size;
}

// How a part must end: the root element's closing tag ("</worksheet>"), or
// its own start tag when that closes itself ("<Relationships/>").
std::string RequiredEnd(const std::string& Head) {
  size_t p = 0;
  if (Head.compare(0, 2, "<?") == 0) p = Head.find("?>") + 2;
  p = Head.find('<', p);
  if (p == std::string::npos) return {};
  const size_t name_end = Head.find_first_of(" \t\r\n/>", p + 1);
  const size_t tag_end = Head.find('>', p);
  if (name_end == std::string::npos || tag_end == std::string::npos) return {};
  if (Head[tag_end - 1] == '/') return Head.substr(p, tag_end + 1 - p);
  return "</" + Head.substr(p + 1, name_end - p - 1) + ">";
}

// Inflates one part, keeping its head and its tail.
bool PartComplete(FILE* F, long DataOffset, uint32_t Method, uint32_t Packed, uint32_t Size,
                  uint64_t MinSize, std::string& Problem, const std::string& Name) {
  if (Method != 0 && Method != Z_DEFLATED) return true;  // nothing we write
  if (std::fseek(F, DataOffset, SEEK_SET) != 0) return false;
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  std::vector<unsigned char> in(1 << 16), out(1 << 16);
  std::string head, tail;
  uint64_t total = 0;
  uint32_t left = Packed;
  int rc = Z_OK;
  const auto take = [&](const unsigned char* Data, size_t N) {
    if (head.size() < 512)
      head.append(reinterpret_cast<const char*>(Data), std::min<size_t>(N, 512));
    tail.append(reinterpret_cast<const char*>(Data), N);
    if (tail.size() > 64) tail.erase(0, tail.size() - 64);
    total += N;
  };
  while (left > 0 && rc != Z_STREAM_END) {
    const size_t n = std::fread(in.data(), 1, std::min<size_t>(in.size(), left), F);
    if (n == 0) break;
    left -= static_cast<uint32_t>(n);
    if (Method == 0) {
      take(in.data(), n);
      continue;
    }
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(n);
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      rc = inflate(&z, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END) break;
      take(out.data(), out.size() - z.avail_out);
    } while (z.avail_out == 0 && rc == Z_OK);
    if (rc != Z_OK && rc != Z_STREAM_END) break;
  }
  inflateEnd(&z);
  if ((Method != 0 && rc != Z_STREAM_END) || total != Size) {
    Problem = Name + " is damaged";
    return false;
  }
  if (total < MinSize) {
    Problem = Name + " is incomplete";
    return false;
  }
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' '))
    tail.pop_back();
  const std::string closing = RequiredEnd(head);
  const bool closed = !closing.empty() && tail.size() >= closing.size() &&
                      tail.compare(tail.size() - closing.size(), closing.size(), closing) == 0;
  if (!closed) {
    Problem = Name + " is cut off";
    return false;
  }
  return true;
}

bool EndsWith(const std::string& S, const char* Suffix) {
  const std::string s(Suffix);
  return S.size() >= s.size() && S.compare(S.size() - s.size(), s.size(), s) == 0;
}

}  // namespace

bool XlsxComplete(const std::string& Path, uint64_t SheetDataBytes, std::string& Problem) {
  Problem = "the archive is damaged";
  TFile file(std::fopen(Path.c_str(), "rb"), std::fclose);
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
  const long tail_size = std::min<long>(size, 22 + 65535);
  std::vector<unsigned char> tail(tail_size);
  if (tail_size < 22 || !ReadAt(file.get(), size - tail_size, tail.data(), tail.size()))
    return false;
  long end = tail_size - 22;
  while (end >= 0 && Le32(&tail[end]) != 0x06054b50) --end;
  if (end < 0) return false;
  const uint32_t entries = Le16(&tail[end + 10]);
  long central = Le32(&tail[end + 16]);

  for (uint32_t i = 0; i < entries; ++i) {
    unsigned char h[46];
    if (!ReadAt(file.get(), central, h, sizeof h) || Le32(h) != 0x02014b50) return false;
    const uint32_t name_len = Le16(h + 28);
    std::string name(name_len, '\0');
    if (!ReadAt(file.get(), central + 46, name.data(), name_len)) return false;
    const long next = central + 46 + name_len + Le16(h + 30) + Le16(h + 32);
    if (EndsWith(name, ".xml") || EndsWith(name, ".rels")) {
      unsigned char local[30];
      const long at = Le32(h + 42);
      if (!ReadAt(file.get(), at, local, sizeof local) || Le32(local) != 0x04034b50) return false;
      const long data = at + 30 + Le16(local + 26) + Le16(local + 28);
      const uint64_t min_size = name == "xl/worksheets/sheet1.xml" ? SheetDataBytes : 0;
      if (!PartComplete(file.get(), data, Le16(h + 10), Le32(h + 20), Le32(h + 24), min_size,
                        Problem, name))
        return false;
    }
    central = next;
  }
  Problem.clear();
  return true;
}
