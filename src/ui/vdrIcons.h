#pragma once

// Makes the program's icons (":/icons/...") available; the resource lives in
// a static library, which Qt does not register by itself. Safe to call more
// than once.
void InitIcons();
