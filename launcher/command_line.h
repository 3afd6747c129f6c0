// The launcher's command line: its copy, the split into arguments, their
// classification into switches and engine commands, and the help box.
//
// Both argument blocks come from the process heap and have the same size. Each
// begins with a table of pointers into its own string area: the arguments' table is
// ended by a null entry; the engine commands' strings begin right after one pointer
// per argument.
#pragma once

#include <cstddef>
#include <string_view>

#include "diag/heap_helpers.h"

struct Launcher;

// Entries in the arguments' pointer table for a command line of `length`
// characters: room for every argument the splitter can start, plus the null entry.
constexpr std::size_t ArgumentTableEntries(std::size_t length) { return (length + 2) / 2 + 1; }

// Bytes of each argument block: the pointer table followed by a string area of
// length + 2 bytes. With 4-byte pointers this is length + 4 * ((length + 2) / 2) + 6;
// it is written with the real pointer size so that a 64-bit build's table fits too.
constexpr std::size_t ArgumentBlockBytes(std::size_t length) {
  return length + sizeof(char*) * ArgumentTableEntries(length) + 2;
}

// True while the pointer holds a block: it is neither null (never allocated) nor the
// released mark.
inline bool HoldsArgumentBlock(const void* block) {
  return block != nullptr && block != ReleasedPointer();
}

// Keeps the command line, allocates both blocks, splits and quietly classifies the
// line. Ends the run (DisposeApp) on a critical failure, and after the help box.
void InitParams(Launcher& l, std::string_view command_line);

// Splits the line into ParamsArray and ArgumentCount. False only when a write would
// leave the block, which the block size rules out.
bool ConvertCmdToArgv(Launcher& l, std::string_view command_line);

// Sets the switch flags and rebuilds EngineCommands from the arguments; records
// each argument when `verbose`.
void ClassifyArguments(Launcher& l, bool verbose);

// The command line help; ends the run with exit code 0 once the user closes it.
[[noreturn]] void ShowCommandLineHelp(Launcher& l);

// True when an engine command equals `word`, ignoring case.
bool HasEngineCommand(Launcher& l, std::string_view word);

// Releases both argument blocks, if allocated, and forgets their contents.
void ReleaseArgumentBlocks(Launcher& l);
