// Face corners of ordinary OBJ files: "v", "v/vt", "v//vn" and "v/vt/vn".
#include "obj_reader.h"

namespace {

// An integer with an optional sign that fills TEXT; more than 18 digits is
// more than any file can count, so it is refused rather than overflowed.
bool parse_integer(std::string_view text, int64_t& value) {
  size_t p = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) p = 1;
  if (p == text.size() || text.size() - p > 18) return false;
  int64_t n = 0;
  for (; p < text.size(); ++p) {
    if (text[p] < '0' || text[p] > '9') return false;
    n = n * 10 + (text[p] - '0');
  }
  value = negative ? -n : n;
  return true;
}

}  // namespace

bool parse_corner(std::string_view text, Corner& corner) {
  corner = Corner{};
  const size_t slash = text.find('/');
  if (!parse_integer(text.substr(0, slash), corner.vertex)) return false;
  if (slash == std::string_view::npos) return true;
  const std::string_view rest = text.substr(slash + 1);
  const size_t slash2 = rest.find('/');
  const std::string_view texture = rest.substr(0, slash2);
  corner.has_texture = !texture.empty();
  if (corner.has_texture && !parse_integer(texture, corner.texture)) return false;
  // "v/vt"; anything else has a third part, and only "v//vn" may leave vt out.
  if (slash2 == std::string_view::npos) return corner.has_texture;
  int64_t normal;  // read past, but it must be a number
  return parse_integer(rest.substr(slash2 + 1), normal);
}

int64_t resolve_index(int64_t written, uint64_t seen, uint64_t total) {
  if (written > 0) return uint64_t(written) <= total ? written - 1 : -1;
  if (written < 0) return uint64_t(-written) <= seen ? int64_t(seen) + written : -1;
  return -1;
}
