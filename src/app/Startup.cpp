#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/DisplayProbe.h"
#include "app/SessionPlatform.h"
#include "batch/BatchCommandLine.h"
#include "batch/BatchRunner.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGDefaults.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/TForm1.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileOperations.h"
#include "platform/PosixProcessLauncher.h"
#include "platform/ProcessMemory.h"
#include "platform/desktop/AlsaSoundPlayer.h"
#include "platform/desktop/ProcMemoryStatus.h"
#include "platform/desktop/QtScreenSize.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "ui/ApplicationTitle.h"
#include "ui/HandlerGuard.h"
#include "ui/QtDialogService.h"
#include "windows/TForm2.h"
#include "windows/TForm3.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

namespace {

// Before any window: JPEG pictures decode at the screen's depth, and both picture types are
// known to the open and save dialogs.
void prepareImaging() {
    TJPEGDefaults::takeDecodeDepthFromScreen(QtScreenSize().colourDepth());
    registerBitmapFormat();
    registerJpegFormat();
}

// A picture named on the command line is loaded once the main window is up, as if chosen in
// its open dialog; a file that cannot be loaded gets that load's error box.
void loadNamedPicture(TForm1& form1, const std::optional<QString>& picture) {
    if (picture) {
        QTimer::singleShot(0, &form1, [&form1, file = *picture] {
            form1.guard().run([&form1, &file] { form1.loadFile(file); });
        });
    }
}

int runWindows(QApplication& application, QtDialogService& dialogs,
               const std::optional<QString>& picture) {
    IniSettingsStore store(IniSettingsStore::defaultFileName());
    // The companion files live beside the program file.
    Settings settings(store, QCoreApplication::applicationDirPath() + "/");
    QtScreenSize screen;
    AlsaSoundPlayer sound;
    LocalFileOperations files;
    ProcMemoryStatus memory;
    TForm1 form1(settings, {dialogs, screen, sound, files, memory});
    dialogs.setParentWindow(&form1);
    TForm2 form2(settings, screen);
    TForm3 form3(settings, screen, dialogs);
    PosixProcessLauncher processes;
    TForm4 form4(settings, {dialogs, screen, processes, files});
    form1.attachWindows(&form2, &form3, &form4);
    form1.show();
    loadNamedPicture(form1, picture);
    return application.exec();
}

int openWindow(int argc, char** argv, const std::optional<QString>& picture) {
    QApplication application(argc, argv);
    prepareImaging();
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QCoreApplication::setApplicationName(ApplicationTitle);
    QtDialogService dialogs;
    const HandlerGuard guard(dialogs);
    int exitCode = 1;
    // An error escaping the start-up itself is shown like any other, then the program ends.
    guard.run([&] { exitCode = runWindows(application, dialogs, picture); });
    return exitCode;
}

int print(std::FILE* stream, const QString& text, int exitCode) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return exitCode;
}

// The batch mode: no window, no display; the run's report on the standard streams.
int runBatch(int argc, char** argv, const QCommandLineParser& parser) {
    const QCoreApplication application(argc, argv);
    const std::variant<BatchOptions, QString> options = BatchCommandLine::read(parser);
    if (const QString* mistake = std::get_if<QString>(&options)) {
        return print(stderr, BatchCommandLine::mistakeText(*mistake), BatchRunner::UsageMistake);
    }
    LocalFileOperations files;
    return BatchRunner::run(std::get<BatchOptions>(options), files, stdout, stderr);
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

int runTrevano(int argc, char** argv) {
    ProcessMemory::returnLargeBlocksWhenFreed();
    // Read before any application object, which would need a display: the usage and the
    // version are printed on a terminal without one.
    const CommandLine commandLine(argumentsOf(argc, argv));
    switch (commandLine.request()) {
    case CommandLine::Request::ShowHelp:
        return print(stdout, commandLine.helpText(), 0);
    case CommandLine::Request::ShowVersion:
        return print(stdout, CommandLine::versionText(), 0);
    case CommandLine::Request::Mistake:
        return print(stderr, commandLine.mistakeText(), BatchRunner::UsageMistake);
    case CommandLine::Request::RunBatch:
        return runBatch(argc, argv, commandLine.parser());
    case CommandLine::Request::OpenWindow:
        break;
    }
    // Asked of the session as the user started it, before the platform is chosen for them.
    if (!DisplayProbe::windowCanOpen(commandLine.platformChosen())) {
        return print(stderr, DisplayProbe::missingText(), 1);
    }
    SessionPlatform::apply(commandLine.platformChosen());
    return openWindow(argc, argv, commandLine.pictureFile());
}
