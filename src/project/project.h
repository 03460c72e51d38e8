#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/kovaro_error.h"
#include "shell/real.h"

namespace kovaro {

// What a project keeps of one input: a numeric field's value and shown text, a check box, a
// choice among a list, a plain text.
enum class InputKind : int32_t { RealValue, IntValue, Check, Choice, Text };

// One input of the project: its key in the file (a path of names), the window and control
// that hold it (the window's and the control's object names; no window for the program's
// state: the elements, the design name, whether "Simulate and plot" is enabled), its kind and,
// for a choice, the number of its items.
struct ProjectInput {
  const char* key;
  const char* window;
  const char* control;
  InputKind kind;
  int32_t choices = 0;
};

// Every input a project holds, in the order they are written and applied: in each window the
// choices and check boxes come before the fields, so that a choice that rewrites fields (a
// unit, a swept quantity) is made first.
const std::vector<ProjectInput>& ProjectInputs();

// An input's state: `real` or `integer` is a field's value (a check box and a choice keep
// theirs in `integer`), `text` a field's shown text or the plain text.
struct InputValue {
  Real real = 0;
  int32_t integer = 0;
  std::string text;
};

// Bit for bit: the same value with the same sign, the same text.
bool operator==(const InputValue& a, const InputValue& b);

// The inputs by key.
using Project = std::map<std::string, InputValue>;

inline constexpr int32_t kProjectVersion = 1;
inline constexpr int64_t kMostProjectBytes = 10 * 1024 * 1024;
// Groups and lists inside one another: a project has four, keys it does not know may add some.
inline constexpr int32_t kMostProjectNesting = 16;

// A file that cannot be opened as a project; the message names the file, the key and why.
class ProjectError : public KovaroError {
 public:
  using KovaroError::KovaroError;
};

// The project as its file's UTF-8 JSON text: "format", "version", then the inputs nested by
// their keys. A real is written as the shortest decimal text that reads back to the same
// value; a field's shown text only where it differs from the text its value would give.
std::string ProjectText(const Project& project);

// Reads and checks a whole project's text before anything is applied: JSON, the format, the
// version, every input present with its kind and a value its field accepts (the rules of
// typing it). Keys it does not know are left out and listed in `unknown`. Throws
// ProjectError naming `file`.
Project ReadProject(std::string_view text, const std::string& file, std::vector<std::string>& unknown);

// The same from a file, refused beyond kMostProjectBytes before it is read; what is not a
// regular file (a pipe, a folder, a device) is refused without being opened for long.
Project ReadProjectFile(const std::string& path, std::vector<std::string>& unknown);

// The text to save as `file`, checked by reading it back: a project that its reader would
// refuse is refused here ("Cannot write file: ..."), so that every saved project opens.
std::string SavedProjectText(const Project& project, const std::string& file);

// Where the project's circuit runs with other elements than its element window shows (its
// fields changed and not applied): "kab 0.117 (circuit 2), Rb ..."; empty where they agree or
// there is no circuit yet.
std::string ElementsNotApplied(const Project& project);

// A design name that names files in the working directory only: letters, digits, "-", "_"
// and "." (not first), at most 100 characters; empty before any design.
bool IsPlainDesignName(std::string_view name);

}  // namespace kovaro
