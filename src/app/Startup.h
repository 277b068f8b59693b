#pragma once

// Starts the program: the application object, the settings, the four windows in their order,
// then the message loop until the main window is closed. Returns the exit code.
int runTrevano(int argc, char** argv);
