// The program's main body: one run from start to end, top to bottom.
#pragma once

// Refuses Windows 3.x, closes the target window, reads the setting, asks
// whether to flip it and does so on Yes, then reports and offers a restart.
// Returns the exit status, always 0.
int RunToggle();
