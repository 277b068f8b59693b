#pragma once

// Starts the program as its command line asks: prints the usage or the version, or opens the
// windows (the application object, the settings, the four windows in their order, then the
// message loop until the main window is closed). Returns the exit code.
int runTrevano(int argc, char** argv);
