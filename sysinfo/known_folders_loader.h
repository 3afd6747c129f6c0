// Resolving the known folders once per run.
#pragma once

struct Launcher;

// Fills KnownFoldersList (except CurrDir and the backup folders) and sets FoldersLoaded.
bool LoadKnownFoldersList(Launcher& l);
