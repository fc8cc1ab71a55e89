#pragma once
#include <QFont>

// A font the machine really draws with fixed pitch, for the status text and the address fields.
// The system's fixed font is not always one: with some font sets fontconfig answers it with a
// family whose glyphs Qt does not report as fixed pitch. Then the "monospace" style hint and a few
// known families are tried; the system's fixed font is the last resort.
QFont fixedPitchFont();
