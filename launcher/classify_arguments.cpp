// Sorts the split arguments into switches and engine commands.
//
// Each argument is a name, optionally followed by a space and a value (the first
// option of the line keeps its value attached). Names are kept in 32 characters and
// values in 260. A longer name or value is cut to what its buffer holds rather than
// refused: a refusal would need a record, and the quiet pass runs before any log
// exists; a cut name matches no switch either way, and a value is only recorded.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "diag/log.h"
#include "launcher/command_line.h"
#include "base/fixed_string.h"
#include "base/launcher.h"
#include "base/text_case.h"

namespace {

using NameBuffer = FixedString<32>;
using ValueBuffer = FixedString<260>;

struct Switch {
  std::string_view name;  // as it stands after splitting, without the dash
  const char* label;
  bool RunState::*flag;  // null for the help switch, which has no flag
};

constexpr Switch kSwitches[] = {
    {"?", "Command Line Help", nullptr},
    {"d100", "Developer Debug Logging", &RunState::DeveloperDebugLogging},
    {"d", "Diagnostic Logging", &RunState::DiagnosticLogging},
    {"kl", "Append Log Files", &RunState::AppendLogFiles},
    {"s", "Silent Mode", &RunState::SilentMode},
    {"i", "Using Instance File", &RunState::UsingInstanceFile},
    {"r", "Repair Mode", &RunState::RepairMode},
    {"el", "Elevate Process Request Indicator", &RunState::ElevateProcessRequestIndicator},
};

constexpr const char* kUnrecognizedLabel = "Unrecognized Parameter";
constexpr const char* kEngineCommandLabel = "Rating Engine Command";

// Removes the quotes around a text of at least two characters that has them.
template <std::size_t N>
void Unquote(FixedString<N>& text) {
  std::string_view v = text.view();
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') text.assign_cut(v.substr(1, v.size() - 2));
}

// The EngineCommands block: one pointer per engine command at its start, the
// upper-cased strings packed one after another behind one pointer per argument.
class EngineCommandTable {
 public:
  explicit EngineCommandTable(RunState& run) : run_(run) {
    if (!HoldsArgumentBlock(run.EngineCommands)) return;
    std::memset(run.EngineCommands, 0, run.ArgumentBlockSize);
    const std::size_t strings_offset = sizeof(char*) * static_cast<std::size_t>(run.ArgumentCount);
    if (strings_offset > run.ArgumentBlockSize) return;
    next_ = reinterpret_cast<char*>(run.EngineCommands) + strings_offset;
    end_ = reinterpret_cast<char*>(run.EngineCommands) + run.ArgumentBlockSize;
  }

  // The table has one slot per argument, and an engine command is one argument's
  // name, so only the string area needs a bound.
  void Add(std::string_view name) {
    if (next_ == nullptr || run_.EngineCommandCount >= run_.ArgumentCount ||
        name.size() >= static_cast<std::size_t>(end_ - next_)) {
      return;
    }
    run_.EngineCommands[run_.EngineCommandCount++] = next_;
    for (char c : name) *next_++ = ToUpperAscii(c);
    *next_++ = '\0';
  }

 private:
  RunState& run_;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

const Switch* FindSwitch(std::string_view name) {
  for (const Switch& s : kSwitches) {
    if (EqualsIgnoreCase(name, s.name)) return &s;
  }
  return nullptr;
}

}  // namespace

void ClassifyArguments(Launcher& l, bool verbose) {
  RunState& run = l.run;
  run.EngineCommandCount = 0;
  run.PreloadMode = false;
  EngineCommandTable engine_commands(run);
  std::optional<LogNestingScope> nesting;
  if (verbose) nesting.emplace(l);

  for (std::int32_t i = 0; i < run.ArgumentCount; ++i) {
    const std::string_view argument = run.ParamsArray[i];
    NameBuffer name;
    ValueBuffer value;
    if (const std::size_t space = argument.find(' '); space != std::string_view::npos) {
      value.assign_cut(argument.substr(space + 1));
      name.assign_cut(argument.substr(0, space));
      Unquote(value);
    } else {
      name.assign_cut(argument);
      Unquote(name);
    }

    const char* label = kEngineCommandLabel;
    if (const Switch* s = FindSwitch(name.view())) {
      if (s->flag == nullptr) ShowCommandLineHelp(l);
      run.*(s->flag) = true;
      label = s->label;
    } else if (name.view().starts_with('-')) {
      label = kUnrecognizedLabel;
    } else {
      engine_commands.Add(name.view());
      if (EqualsIgnoreCase(name.view(), "preload")) run.PreloadMode = true;
    }

    if (verbose) {
      DebugLogLevel(l, kDeveloperLevel, "Arg %d: [%s]\tName=[%s] Value=[%s]\t%s", i,
                    run.ParamsArray[i], name.c_str(), value.c_str(), label);
    }
  }

  if (verbose) {
    DebugLogLevel(l, kDeveloperLevel, "There are %d rating engine commands on the command line.",
                  run.EngineCommandCount);
  }
}
