#pragma once

class DialogService;
class FileOperations;
class MemoryStatus;
class ScreenSize;
class SoundPlayer;

// What the main window asks of the platform, handed in so tests can put fakes in its place.
struct MainWindowServices {
    DialogService& dialogs;
    ScreenSize& screen;
    SoundPlayer& sound;
    FileOperations& files;
    MemoryStatus& memory;
};
