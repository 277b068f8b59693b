#pragma once

#include "main_window/TForm1.h"
#include "platform/LocalFileOperations.h"
#include "platform/PosixProcessLauncher.h"
#include "platform/desktop/FakeMemoryStatus.h"
#include "platform/desktop/FakeScreenSize.h"
#include "platform/desktop/RecordingSoundPlayer.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "ui/ScriptedDialogService.h"
#include "windows/TForm2.h"
#include "windows/TForm3.h"

// The program's four windows over a given settings store, with scripted dialogs and a
// screen of a chosen size, created in the program's order.
struct MainWindowProgram {
    explicit MainWindowProgram(SettingsStore& store, QSize screenSize = {1280, 800})
        : settings(store, "/opt/trevano/"), screen(screenSize),
          form1(settings, {dialogs, screen, sound, files, memory}), form2(settings, screen),
          form3(settings, screen, dialogs), form4(settings, {dialogs, screen, processes, files}) {
        form1.attachWindows(&form2, &form3, &form4);
    }

    ScriptedDialogService dialogs;
    Settings settings;
    FakeScreenSize screen;
    RecordingSoundPlayer sound;
    LocalFileOperations files;
    PosixProcessLauncher processes;
    FakeMemoryStatus memory;
    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
};
