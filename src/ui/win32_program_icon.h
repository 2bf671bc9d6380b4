#pragma once

// The resource number of the program's icon in the desktop program's executable, for its
// resource script and for the main dialog, which shows it in its title bar.
#define QUARVEL_PROGRAM_ICON 1
