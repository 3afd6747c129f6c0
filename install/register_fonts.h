// The product's four fonts, registered for the user's session on every start.
#pragma once

struct Launcher;

// AddFontResourceA on each font below the Windows folder; the results are not
// examined, as a font that is missing only looks plainer.
void RegisterFonts(Launcher& l);
