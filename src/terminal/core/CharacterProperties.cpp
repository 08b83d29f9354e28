#include "terminal/core/CharacterProperties.h"

// Written at build time by orva-generate-character-table.
#include "CharacterTable.inc"
