// The registry record of whether the product runs from the local cache, which a
// preload leaves for the tools that start the product without the launcher.
#pragma once

struct Launcher;

// Writes "UsingTCache" (1 or 0) into the launcher's key, creating the key when it is
// missing; false, with its record, when that fails.
bool RecordCacheInUse(Launcher& l, bool cache_in_use);
