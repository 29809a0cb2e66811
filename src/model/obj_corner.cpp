// Face corners of ordinary OBJ files: "v", "v/vt", "v//vn" and "v/vt/vn".
#include "obj_reader.h"

namespace {

// The integer with an optional sign from P up to the next slash or END, P left
// there; false when that text is not one. More than 18 digits is more than any
// file can count, so it is refused rather than overflowed.
bool integer_part(const char*& p, const char* end, int64_t& value) {
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  const char* digits = p;
  int64_t n = 0;
  for (; p < end && *p != '/'; ++p) {
    if (*p < '0' || *p > '9' || p - digits == 18) return false;
    n = n * 10 + (*p - '0');
  }
  if (p == digits) return false;
  value = negative ? -n : n;
  return true;
}

}  // namespace

bool parse_corner(std::string_view text, Corner& corner) {
  corner = Corner{};
  const char* p = text.data();
  const char* const end = p + text.size();
  if (!integer_part(p, end, corner.vertex)) return false;
  if (p == end) return true;
  ++p;  // the first slash
  corner.has_texture = p < end && *p != '/';
  if (corner.has_texture && !integer_part(p, end, corner.texture)) return false;
  // "v/vt"; anything else has a third part, and only "v//vn" may leave vt out.
  if (p == end) return corner.has_texture;
  ++p;  // the second slash
  int64_t normal;  // read past, but it must be a number
  return integer_part(p, end, normal) && p == end;
}

int64_t resolve_index(int64_t written, uint64_t seen, uint64_t total) {
  if (written > 0) return uint64_t(written) <= total ? written - 1 : -1;
  if (written < 0) return uint64_t(-written) <= seen ? int64_t(seen) + written : -1;
  return -1;
}
