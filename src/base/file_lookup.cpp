// Finding the files that a model's libraries name as other programs wrote
// them: Windows folder separators, names in another case, folders of the
// machine the model was made on.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_lookup.h"

namespace fs = std::filesystem;

namespace {

bool is_file(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool same_but_case(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The entry of FOLDER named NAME: as it is, else the first in name order that
// differs from it in case only. Empty when there is none.
fs::path entry_in(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return folder / name;
  std::vector<fs::path> matches;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
       it.increment(ec))
    if (same_but_case(it->path().filename().string(), name)) matches.push_back(folder / it->path().filename());
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

// PARTS from FOLDER on, each part matched without regard to case.
fs::path walk_any_case(fs::path folder, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      folder /= "..";
      continue;
    }
    folder = entry_in(folder, part);
    if (folder.empty()) return {};
  }
  return folder;
}

std::vector<std::string> split_path(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
    parts.push_back(path.substr(start, slash - start));
  parts.push_back(path.substr(start));
  return parts;
}

}  // namespace

std::string folder_of(const std::string& path) {
  return fs::path(path).parent_path().string();
}

std::string find_written_file(const std::string& folder, const std::string& written) {
  if (written.empty()) return {};
  const fs::path base(folder);
  if (is_file(base / written)) return (base / written).string();
  std::string slashed = written;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (is_file(base / slashed)) return (base / slashed).string();
  // A drive letter ("C:/...") or a leading slash: a path of another machine,
  // where only the file's name can still be found, next to the library.
  const bool elsewhere = slashed[0] == '/' || (slashed.size() > 1 && slashed[1] == ':');
  std::vector<std::string> parts = split_path(slashed);
  if (!elsewhere) {
    const fs::path found = walk_any_case(base, parts);
    if (!found.empty() && is_file(found)) return found.string();
  }
  const fs::path by_name = walk_any_case(base, {parts.back()});
  return !by_name.empty() && is_file(by_name) ? by_name.string() : std::string();
}
