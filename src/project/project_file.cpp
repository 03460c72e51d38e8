#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "project/project.h"
#include "shell/file_error.h"
#include "shell/format.h"
#include "shell/numeric_text.h"

namespace kovaro {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "kovaro-project";

// The shortest decimal text that reads back, through a field's own parsing, to the same value:
// in fixed notation where a field would show it so, in scientific notation otherwise.
std::string ExactText(Real x) {
  char text[64];
  const bool fixed = x == 0 || (std::fabs(x) >= 1e-4L && std::fabs(x) < 1e15L);
  const auto written = fixed ? std::to_chars(text, text + sizeof text, x, std::chars_format::fixed)
                             : std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
  return std::string(text, written.ptr);
}

bool IsField(const ProjectInput& in) {
  return *in.window != '\0' && (in.kind == InputKind::RealValue || in.kind == InputKind::IntValue);
}

// The text a field shows for a value set into it.
std::string GeneratedText(const ProjectInput& in, const InputValue& v) {
  return in.kind == InputKind::RealValue ? GeneralText(v.real) : FormatInt(v.integer);
}

std::vector<std::string> Segments(const std::string& key) {
  std::vector<std::string> segments;
  size_t from = 0;
  for (size_t dot = key.find('.'); dot != std::string::npos; dot = key.find('.', from)) {
    segments.push_back(key.substr(from, dot - from));
    from = dot + 1;
  }
  segments.push_back(key.substr(from));
  return segments;
}

bool SameReal(Real a, Real b) { return a == b && std::signbit(a) == std::signbit(b); }

// Whether a field's typed text stands for its value, as leaving the field makes it: a text
// typed and not yet left is not the field's value. (A value set shows its general text,
// which need not read back.)
bool TextReadsBack(const ProjectInput& in, const InputValue& v) {
  if (in.kind == InputKind::RealValue) {
    const auto value = ParseReal(v.text);
    return value && SameReal(*value, v.real);
  }
  const auto value = ParseInt(v.text);
  return value && *value == v.integer;
}

// A text from a file as a message shows it: control characters written out, so that a NUL
// cannot end the message, and a long text cut.
std::string Shown(const std::string& text) {
  constexpr size_t kMostShown = 100;
  std::string shown;
  for (size_t i = 0; i < text.size() && i < kMostShown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7f) {
      static const char kHex[] = "0123456789abcdef";
      shown += "\\x";
      shown += kHex[c >> 4];
      shown += kHex[c & 15];
    } else {
      shown += text[i];
    }
  }
  if (text.size() > kMostShown) shown += "...";
  return shown;
}

}  // namespace

bool operator==(const InputValue& a, const InputValue& b) {
  return SameReal(a.real, b.real) && a.integer == b.integer && a.text == b.text;
}

bool IsPlainDesignName(std::string_view name) {
  if (name.size() > 100 || (!name.empty() && name.front() == '.')) return false;
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    if (!plain) return false;
  }
  return true;
}

std::string ProjectText(const Project& project) {
  Json file;
  file["format"] = kFormat;
  file["version"] = kProjectVersion;
  for (const ProjectInput& in : ProjectInputs()) {
    const InputValue& v = project.at(in.key);
    Json* node = &file;
    for (const std::string& segment : Segments(in.key)) node = &(*node)[segment];
    switch (in.kind) {
      case InputKind::RealValue:
      case InputKind::IntValue: {
        const Json value = in.kind == InputKind::RealValue ? Json(ExactText(v.real)) : Json(v.integer);
        if (!IsField(in)) {
          *node = value;
          break;
        }
        (*node)["value"] = value;
        if (v.text != GeneratedText(in, v) && TextReadsBack(in, v)) (*node)["text"] = v.text;
        break;
      }
      case InputKind::Check:
        *node = v.integer != 0;
        break;
      case InputKind::Choice:
        *node = v.integer;
        break;
      case InputKind::Text:
        *node = v.text;
        break;
    }
  }
  return file.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

namespace {

class Reader {
 public:
  Reader(const std::string& file) : file_(file) {}

  [[noreturn]] void Fail(const std::string& why) const {
    throw ProjectError("Cannot open " + file_ + ": " + why);
  }

  // The node of a key, each group on its way an object.
  const Json& Node(const Json& root, const std::string& key) const {
    const Json* node = &root;
    std::string path;
    for (const std::string& segment : Segments(key)) {
      if (!node->is_object()) Fail(path + ": a group of inputs is expected, not " + Kind(*node));
      path += (path.empty() ? "" : ".") + segment;
      const auto found = node->find(segment);
      if (found == node->end()) Fail(path + ": missing");
      node = &*found;
    }
    return *node;
  }

  static std::string Kind(const Json& node) {
    if (node.is_object()) return "a group";
    if (node.is_array()) return "a list";
    if (node.is_string()) return "a text";
    if (node.is_boolean()) return "true or false";
    if (node.is_null()) return "null";
    return "a number";
  }

  Real RealOf(const Json& node, const std::string& key) const {
    if (!node.is_string()) Fail(key + ": a number written as a text is expected, not " + Kind(node));
    const std::string text = node.get<std::string>();
    const auto value = ParseReal(text);
    if (!value) Fail(key + ": \"" + Shown(text) + "\" is not a valid number");
    return *value;
  }

  int32_t IntOf(const Json& node, const std::string& key) const {
    const bool fits =
        node.is_number_integer() && node.get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
        node.get<int64_t>() <= std::numeric_limits<int32_t>::max() &&
        !(node.is_number_unsigned() && node.get<uint64_t>() > std::numeric_limits<int32_t>::max());
    if (!fits) Fail(key + ": a whole number from -2147483648 to 2147483647 is expected");
    return static_cast<int32_t>(node.get<int64_t>());
  }

  InputValue Read(const Json& root, const ProjectInput& in, std::vector<std::string>& unknown) const {
    const Json& node = Node(root, in.key);
    const std::string key = in.key;
    InputValue v;
    switch (in.kind) {
      case InputKind::RealValue:
      case InputKind::IntValue: {
        if (!IsField(in)) {
          v.real = RealOf(node, key);
          break;
        }
        if (!node.is_object())
          Fail(key + ": a group of \"value\" and \"text\" is expected, not " + Kind(node));
        const auto value = node.find("value");
        if (value == node.end()) Fail(key + ".value: missing");
        if (in.kind == InputKind::RealValue) {
          v.real = RealOf(*value, key + ".value");
        } else {
          v.integer = IntOf(*value, key + ".value");
        }
        const auto text = node.find("text");
        if (text != node.end() && !text->is_string())
          Fail(key + ".text: a text is expected, not " + Kind(*text));
        v.text = text != node.end() ? text->get<std::string>() : GeneratedText(in, v);
        if (v.text != GeneratedText(in, v) && !TextReadsBack(in, v))
          Fail(key + ".text: \"" + Shown(v.text) + "\" does not read as the value " +
               (in.kind == InputKind::RealValue ? ExactText(v.real) : FormatInt(v.integer)));
        for (const auto& [name, item] : node.items())
          if (name != "value" && name != "text") unknown.push_back(key + "." + name);
        break;
      }
      case InputKind::Check:
        if (!node.is_boolean()) Fail(key + ": true or false is expected, not " + Kind(node));
        v.integer = node.get<bool>() ? 1 : 0;
        break;
      case InputKind::Choice:
        if (!node.is_number_integer() || node.get<int64_t>() < 0 || node.get<int64_t>() >= in.choices)
          Fail(key + ": one of the choices 0 to " + FormatInt(in.choices - 1) + " is expected");
        v.integer = node.get<int32_t>();
        break;
      case InputKind::Text:
        if (!node.is_string()) Fail(key + ": a text is expected, not " + Kind(node));
        v.text = node.get<std::string>();
        if (!IsPlainDesignName(v.text))
          Fail(key + ": \"" + Shown(v.text) +
               "\" cannot name files in the working directory (letters, digits, \"-\", \"_\" and \".\" are "
               "allowed, not first, at most 100)");
        break;
    }
    return v;
  }

 private:
  std::string file_;
};

// The keys of `node` that no input or group of inputs has, each at its top: a group of inputs
// is entered, nothing else is.
void Unknown(const Json& node, const std::string& prefix, const std::set<std::string>& inputs,
             const std::set<std::string>& groups, std::vector<std::string>& unknown) {
  for (const auto& [name, item] : node.items()) {
    const std::string key = prefix.empty() ? name : prefix + "." + name;
    if (inputs.count(key) != 0) continue;
    if (groups.count(key) != 0 && item.is_object()) {
      Unknown(item, key, inputs, groups, unknown);
    } else if (groups.count(key) == 0) {
      unknown.push_back(key);
    }
  }
}

// A file open for reading, closed at the end of its scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

Project ReadProject(std::string_view text, const std::string& file, std::vector<std::string>& unknown) {
  const Reader reader(file);
  if (text.empty()) reader.Fail("the file is empty");
  // Nesting is counted as the text is parsed: a tree deeper than a project's is never built,
  // whose copy and destruction would recurse once a level.
  const Json::parser_callback_t depth = [&reader](int level, Json::parse_event_t event, Json&) {
    if ((event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start) &&
        level >= kMostProjectNesting)
      reader.Fail("groups and lists nested deeper than a project's (at most " +
                  std::to_string(kMostProjectNesting) + " levels)");
    return true;
  };
  Json root;
  try {
    root = Json::parse(text, depth);
  } catch (const Json::parse_error& e) {
    reader.Fail("not a JSON text (it breaks off or goes wrong at byte " + std::to_string(e.byte) + ")");
  } catch (const Json::exception&) {
    reader.Fail("a number in it is beyond the range of numbers a JSON text may hold");
  }
  if (!root.is_object())
    reader.Fail("not a Kovaro project: its JSON is " + Reader::Kind(root) + ", not a group");
  const auto format = root.find("format");
  if (format == root.end()) reader.Fail("format: missing, so not a Kovaro project");
  if (!format->is_string() || format->get<std::string>() != kFormat)
    reader.Fail("format: not a Kovaro project (\"" + std::string(kFormat) + "\" is expected)");
  const auto version = root.find("version");
  if (version == root.end()) reader.Fail("version: missing");
  if (!version->is_number_integer() || version->get<int64_t>() < 1)
    reader.Fail("version: a version number from 1 is expected");
  if (version->get<int64_t>() > kProjectVersion)
    reader.Fail("version: the project is of version " + std::to_string(version->get<int64_t>()) +
                ", newer than this Kovaro reads (version " + std::to_string(kProjectVersion) + ")");

  Project project;
  std::set<std::string> inputs{"format", "version"};
  std::set<std::string> groups;
  unknown.clear();
  for (const ProjectInput& in : ProjectInputs()) {
    project[in.key] = reader.Read(root, in, unknown);
    inputs.insert(in.key);
    const std::string key = in.key;
    for (size_t dot = key.find('.'); dot != std::string::npos; dot = key.find('.', dot + 1))
      groups.insert(key.substr(0, dot));
  }
  Unknown(root, "", inputs, groups, unknown);
  return project;
}

Project ReadProjectFile(const std::string& path, std::vector<std::string>& unknown) {
  if (path.empty()) throw ProjectError("Cannot open a project: the file name is empty");
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const Reader reader(Shown(name));
  // Only a regular file is read: a pipe or a device could block the program for good, or
  // never end. Opened without waiting, and checked again once open.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) reader.Fail(FileErrorText(errno));
  if (!S_ISREG(st.st_mode)) reader.Fail("not a regular file");
  const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  const int fd = file.fd;
  if (fd < 0) reader.Fail(FileErrorText(errno));
  if (::fstat(fd, &st) != 0) reader.Fail(FileErrorText(errno));
  if (!S_ISREG(st.st_mode)) reader.Fail("not a regular file");
  const auto too_large = [&](int64_t bytes) {
    reader.Fail(std::to_string(bytes) + " bytes, larger than a project can be (at most " +
                std::to_string(kMostProjectBytes) + ")");
  };
  if (st.st_size > kMostProjectBytes) too_large(st.st_size);
  // Read to its end, whatever size it gave: a file of the system's may say 0 and hold more.
  std::string text;
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) reader.Fail(FileErrorText(errno));
    if (got == 0) break;
    text.append(chunk, static_cast<size_t>(got));
    if (static_cast<int64_t>(text.size()) > kMostProjectBytes) too_large(static_cast<int64_t>(text.size()));
  }
  return ReadProject(text, name, unknown);
}

std::string SavedProjectText(const Project& project, const std::string& file) {
  std::string text = ProjectText(project);
  std::vector<std::string> unknown;
  try {
    ReadProject(text, file, unknown);
  } catch (const ProjectError& e) {
    // What the reader would refuse is not written: the message is the reader's, for saving.
    const std::string why = e.what();
    const std::string opening = "Cannot open " + file + ": ";
    throw ProjectError("Cannot write " + file + ": " +
                       (why.rfind(opening, 0) == 0 ? why.substr(opening.size()) : why));
  }
  return text;
}

}  // namespace kovaro
