// The archive listing of the list mode: filelist.txt in the current folder, with one
// line for the archive and one per file record. Problems are printed on standard
// output, since the mode runs without a window.
#pragma once

struct Launcher;

void CreateFileList(Launcher& l);
