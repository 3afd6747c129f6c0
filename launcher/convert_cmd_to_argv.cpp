// Splits the command line into arguments with a character state machine.
//
// A leading dash introduces an option and is dropped; a quoted value may stay
// attached to the first option of the line; quotes group words. The machine writes
// at most one character per character of the line plus a final terminator, and
// starts at most one argument per two characters, which is what the block size
// allows for; every write is still checked against the block.
#include <cstddef>
#include <cstdint>

#include "diag/log.h"
#include "launcher/command_line.h"
#include "base/launcher.h"

namespace {

// The pointer table and string area of the ParamsArray block, written with bounds.
class ArgumentWriter {
 public:
  ArgumentWriter(char** table, std::size_t entries, char* area, std::size_t area_size)
      : table_(table), entries_(entries), area_(area), area_size_(area_size) {}

  std::size_t written() const { return written_; }
  std::int32_t count() const { return count_; }

  [[nodiscard]] bool Write(char c) {
    if (written_ >= area_size_) return false;
    area_[written_++] = c;
    return true;
  }

  // Ends the argument (or option value) that the last written character belongs to.
  void TerminateLast() {
    if (written_ > 0) area_[written_ - 1] = '\0';
  }

  // Keeps the last table entry for the null that ends the table.
  [[nodiscard]] bool StartArgument() {
    if (static_cast<std::size_t>(count_) + 1 >= entries_) return false;
    table_[count_++] = area_ + written_;
    return true;
  }

  [[nodiscard]] bool Finish() {
    if (written_ >= area_size_) return false;
    area_[written_] = '\0';
    table_[count_] = nullptr;
    return true;
  }

 private:
  char** table_;
  std::size_t entries_;
  char* area_;
  std::size_t area_size_;
  std::size_t written_ = 0;
  std::int32_t count_ = 0;
};

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool ConvertCmdToArgv(Launcher& l, std::string_view command_line) {
  RunState& run = l.run;
  DebugLogLevel(l, kDeveloperLevel, "ConvertCmdToArgv: argv is assigned to (LPTSTR*) = %p.",
                static_cast<void*>(run.ParamsArray));

  const std::size_t entries = ArgumentTableEntries(command_line.size());
  const std::size_t table_bytes = entries * sizeof(char*);
  if (!HoldsArgumentBlock(run.ParamsArray) || run.ArgumentBlockSize < table_bytes) return false;

  char* area = reinterpret_cast<char*>(run.ParamsArray) + table_bytes;
  ArgumentWriter out(run.ParamsArray, entries, area, run.ArgumentBlockSize - table_bytes);
  run.ParamsArray[0] = area;

  bool in_quotes = false;
  bool quoted_text_started = false;
  bool token_open = false;
  bool dash_mode = false;
  bool at_token_start = true;

  for (char c : command_line) {
    if (in_quotes) {
      if (c == '"') {
        if (dash_mode && !out.Write(c)) return false;
        in_quotes = quoted_text_started = dash_mode = false;
      } else if (c == ' ') {
        if (quoted_text_started && !out.Write(c)) return false;
      } else {
        if (!out.Write(c)) return false;
        quoted_text_started = true;
      }
    } else if (IsSeparator(c)) {
      // In dash mode the separator joins an option to its value.
      if (token_open && !out.Write(dash_mode ? ' ' : '\0')) return false;
      token_open = false;
      at_token_start = true;
    } else if (c == '"') {
      in_quotes = token_open = true;
      if (at_token_start) {
        if (dash_mode) {
          if (!out.Write(c)) return false;
        } else if (!out.StartArgument()) {
          return false;
        }
        at_token_start = false;
      }
    } else if (c == '-') {
      if (at_token_start) {
        if (dash_mode) out.TerminateLast();
        dash_mode = true;
      }
    } else {
      token_open = true;
      if (at_token_start) {
        if (dash_mode && out.written() > 0) {
          out.TerminateLast();
          dash_mode = false;
        }
        if (!out.StartArgument()) return false;
      }
      if (!out.Write(c)) return false;
      at_token_start = false;
    }
  }

  if (!out.Finish()) return false;
  run.ArgumentCount = out.count();
  return true;
}
