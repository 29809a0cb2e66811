// Material libraries (.mtl) of ordinary OBJ files: each "newmtl" starts a
// material, "Kd" gives its colour and "map_Kd" its texture file; everything
// else is read past.
#include <cmath>

#include "obj_reader.h"

namespace {

// A colour channel from 0 to 1 (outside it clamped, NaN as 0) to 0 to 255.
uint32_t channel_255(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 1.0) return 255;
  return uint32_t(std::nearbyint(value * 255.0));
}

// Options of a map statement and how many values follow each.
int option_values(std::string_view option) {
  if (option == "-o" || option == "-s" || option == "-t") return 3;
  if (option == "-mm") return 2;
  return 1;  // -blendu, -blendv, -bm, -boost, -cc, -clamp, -imfchan, -texres
}

// The file name of a "map_Kd" line after its options; names may hold blanks.
std::string map_file(const std::string& line, size_t pos) {
  std::string_view field;
  size_t before = pos;
  while (next_field(line, pos, field) && field.size() > 1 && field[0] == '-' &&
         !(field[1] >= '0' && field[1] <= '9')) {
    // Up to the option's count of values, as long as they are numbers or on/off.
    for (int n = option_values(field); n > 0; --n) {
      const size_t at = pos;
      std::string_view value;
      if (!next_field(line, pos, value)) break;
      const char c = value[0];
      const bool number = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
      if (!number && value != "on" && value != "off") {
        pos = at;
        break;
      }
    }
    before = pos;
  }
  return rest_of_line(line, before);
}

}  // namespace

bool read_material_library(const std::string& path, std::vector<ObjMaterial>& list, std::string& why) {
  TextFile* file = nullptr;
  if (file_open(path.c_str(), file) != 0) {
    // The note names the path and the cause; only the cause is kept.
    const std::string note = failure_note();
    const size_t colon = note.rfind(": ");
    why = colon == std::string::npos ? "cannot be read" : note.substr(colon + 2);
    set_failure_note("");
    return false;
  }
  const std::string folder = folder_of(path);
  std::string line;
  uint64_t number = 0;
  ObjMaterial* material = nullptr;
  while (!file_eof(file) && read_obj_line(file, line, number)) {
    size_t pos = 0;
    std::string_view keyword;
    if (!next_field(line, pos, keyword)) continue;
    if (keyword == "newmtl") {
      list.emplace_back();
      material = &list.back();
      material->name = rest_of_line(line, pos);
    } else if (!material) {
      continue;  // statements before the first material belong to none
    } else if (keyword == "Kd") {
      // One number stands for all three.
      double rgb[3] = {0.0, 0.0, 0.0};
      std::string_view field;
      int given = 0;
      for (double& c : rgb)
        if (next_field(line, pos, field)) c = field_number(line, field), ++given;
      if (given == 1) rgb[1] = rgb[2] = rgb[0];
      material->has_colour = true;
      material->colour = RGB_STRUCT{channel_255(rgb[0]), channel_255(rgb[1]), channel_255(rgb[2])};
    } else if (keyword == "map_Kd") {
      const std::string written = map_file(line, pos);
      if (written.empty()) continue;
      const std::string found = find_written_file(folder, written);
      std::string slashed = written;  // as the warning of a missing texture will name it
      for (char& c : slashed)
        if (c == '\\') c = '/';
      material->texture = !found.empty() ? found : folder.empty() ? slashed : folder + "/" + slashed;
    }
  }
  file_close(file);
  return true;
}
