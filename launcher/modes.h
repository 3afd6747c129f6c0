// The launcher's four modes. Each ends the run through DisposeApp.
#pragma once

struct Launcher;

[[noreturn]] void RunListMode(Launcher& l);
[[noreturn]] void RunReplaceMode(Launcher& l);
[[noreturn]] void RunPreloadMode(Launcher& l);
[[noreturn]] void RunStandardStart(Launcher& l);
