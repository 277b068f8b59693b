#pragma once

class DialogService;
class FileOperations;
class ProcessLauncher;
class ScreenSize;

// What the rotate-and-save window asks of the platform.
struct RotateWindowServices {
    DialogService& dialogs;
    ScreenSize& screen;
    ProcessLauncher& processes;
    FileOperations& files;
};
