// The settings file store: parses "[Section]" and "Key=Value" lines into memory on first
// access and writes the whole file back atomically when anything was written.
#include "base/KIniFile.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>

#include "base/FileIO.h"
#include "base/IOError.h"

namespace kelvra {

namespace {

// A settings file is a few kilobytes; anything larger than this is not one of ours and is
// neither parsed nor overwritten.
constexpr std::streamoff kMaxFileBytes = 16 << 20;

// Line breaks inside a name or value would split it into two lines of the file.
std::string OneLine(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

// Decimal integer with an optional sign; blanks around it are allowed. False for anything
// else and for values outside T.
template <typename T>
bool ParseDecimal(const std::string& text, T& result) {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return false;
  size_t e = text.find_last_not_of(" \t") + 1;
  const char* first = text.data() + b;
  const char* last = text.data() + e;
  bool plus = *first == '+';  // from_chars takes '-' only
  if (plus) ++first;
  if (first == last || (plus && *first == '-')) return false;
  T v{};
  auto [ptr, ec] = std::from_chars(first, last, v, 10);
  if (ec != std::errc() || ptr != last) return false;
  result = v;
  return true;
}

}  // namespace

TKIniFile::TKIniFile(std::string path) : path_(std::move(path)) {}

TKIniFile::~TKIniFile() {
  if (changed_) Save();
}

void TKIniFile::EnsureLoaded() {
  if (loaded_) return;
  loaded_ = true;
  sections_.clear();
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    // A missing file is an empty one; a file that exists but cannot be read must not be
    // replaced by our defaults.
    if (FileExists(path_)) readFailed_ = true;
    return;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileBytes) {
    readFailed_ = true;
    return;
  }
  in.seekg(0, std::ios::beg);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    readFailed_ = true;
    return;
  }

  Section* current = nullptr;  // keys before the first section belong to none: ignored
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF files
    if (line.empty()) continue;
    if (line[0] == '[') {
      std::string name = line.substr(1);
      if (!name.empty() && name.back() == ']') name.pop_back();
      // A section named twice continues the first one, so every key has one place.
      current = nullptr;
      for (Section& s : sections_) {
        if (s.name == name) current = &s;
      }
      if (!current) {
        sections_.push_back(Section{name, {}});
        current = &sections_.back();
      }
      continue;
    }
    if (!current) continue;
    size_t eq = line.find('=');
    std::string key = eq == std::string::npos ? line : line.substr(0, eq);
    std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    bool known = false;
    for (const auto& kv : current->keys) {
      if (kv.first == key) known = true;  // the first line of a repeated key wins
    }
    if (!known) current->keys.emplace_back(std::move(key), std::move(value));
  }
}

bool TKIniFile::Find(const std::string& section, const std::string& key, std::string& value) {
  EnsureLoaded();
  for (const Section& s : sections_) {
    if (s.name != section) continue;
    for (const auto& kv : s.keys) {
      if (kv.first == key) {
        value = kv.second;
        return true;
      }
    }
    return false;
  }
  return false;
}

void TKIniFile::Put(const std::string& section, const std::string& key, const std::string& value) {
  EnsureLoaded();
  changed_ = true;
  const std::string sec = OneLine(section), k = OneLine(key), v = OneLine(value);
  for (Section& s : sections_) {
    if (s.name != sec) continue;
    for (auto& kv : s.keys) {
      if (kv.first == k) {
        kv.second = v;
        return;
      }
    }
    s.keys.emplace_back(k, v);
    return;
  }
  sections_.push_back(Section{sec, {{k, v}}});
}

bool TKIniFile::Erase(const std::string& section, const std::string& key) {
  EnsureLoaded();
  for (Section& s : sections_) {
    if (s.name != section) continue;
    for (auto it = s.keys.begin(); it != s.keys.end(); ++it) {
      if (it->first == key) {
        s.keys.erase(it);
        changed_ = true;
        return true;
      }
    }
    return false;
  }
  return false;
}

int32_t TKIniFile::Int(const std::string& section, const std::string& key, bool save,
                       int32_t value) {
  if (save) {
    Put(section, key, std::to_string(value));
    return value;
  }
  std::string text;
  int32_t v;
  if (Find(section, key, text) && ParseDecimal(text, v)) return v;
  return value;
}

bool TKIniFile::Bool(const std::string& section, const std::string& key, bool save, bool value) {
  return Int(section, key, save, value ? 1 : 0) != 0;
}

std::string TKIniFile::Str(const std::string& section, const std::string& key, bool save,
                           const std::string& value) {
  if (save) {
    Put(section, key, value);
    return value;
  }
  std::string text;
  return Find(section, key, text) ? text : value;
}

int64_t TKIniFile::Int64(const std::string& section, const std::string& key, bool save,
                         int64_t value) {
  if (save) {
    Put(section, key, std::to_string(value));
    return value;
  }
  std::string text;
  int64_t v;
  if (Find(section, key, text) && ParseDecimal(text, v)) return v;
  return value;
}

bool TKIniFile::Save() {
  saveError_.clear();
  if (!changed_) return true;
  if (readFailed_) {  // never overwrite a file we could not read
    saveError_ = "It could not be read at start, so it was left as it was";
    return false;
  }
  std::string text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) text += '\n';
    text += '[' + sections_[i].name + "]\n";
    for (const auto& kv : sections_[i].keys) text += kv.first + '=' + kv.second + '\n';
  }
  AtomicFileWriter writer;
  writer.Write(text.data(), text.size());
  FileFault fault;
  if (!writer.Commit(path_, fault)) {
    saveError_ = fault.code != 0 ? IOErrorMessage(fault.code) : fault.message;
    return false;
  }
  changed_ = false;
  return true;
}

}  // namespace kelvra
