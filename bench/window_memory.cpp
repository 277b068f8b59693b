// The most memory the window holds (its peak resident size) through each step a user takes
// with a large picture, against the picture's own size (width x height x 3 bytes): the real
// main window and viewer, offscreen, with scripted dialogs. The peak is set back to the
// resident size before each step (/proc/self/clear_refs), so each line is that step's own.
//   window_memory PICTURE [LONGEST_SIDE]
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/TForm1.h"
#include "platform/FakeSettingsStore.h"
#include "platform/LocalFileOperations.h"
#include "platform/PosixProcessLauncher.h"
#include "platform/ProcessMemory.h"
#include "platform/desktop/FakeMemoryStatus.h"
#include "platform/desktop/FakeScreenSize.h"
#include "platform/desktop/RecordingSoundPlayer.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "ui/ScriptedDialogService.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"
#include "windows/TForm2.h"
#include "windows/TForm3.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void waitUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 120000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
}

struct Window {
    FakeSettingsStore store;
    Settings settings{store, "/opt/trevano/"};
    ScriptedDialogService dialogs;
    FakeScreenSize screen{{1280, 800}};
    RecordingSoundPlayer sound;
    LocalFileOperations files;
    PosixProcessLauncher processes;
    FakeMemoryStatus memory;
    TForm1 form1{settings, {dialogs, screen, sound, files, memory}};
    TForm2 form2{settings, screen};
    TForm3 form3{settings, screen, dialogs};
    TForm4 form4{settings, {dialogs, screen, processes, files}};

    Window() {
        form1.attachWindows(&form2, &form3, &form4);
        form1.show();
    }

    void scored() {
        waitUntil([this] { return !form1.Label8->toolTip().isEmpty(); });
    }
    void tick(int quality) {
        form1.TrackBar1->setValue(quality);
        form1.guard().run([this] { form1.Timer1Timer(); });
        scored();
    }
    // A search's answer moves the slider; its tick and score follow as after any move.
    void searched() {
        waitUntil([this] { return !form1.State.Busy; });
        form1.guard().run([this] { form1.Timer1Timer(); });
        scored();
    }
};

} // namespace

int main(int argc, char** argv) {
    ProcessMemory::returnLargeBlocksWhenFreed(); // as the program starts
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_memory PICTURE [LONGEST_SIDE]\n");
        return 2;
    }
    const QString picture = QString::fromLocal8Bit(argv[1]);
    const int side = argc > 2 ? std::atoi(argv[2]) : 0;
    QTemporaryDir folder;
    Window window;
    TForm1& form = window.form1;
    form.LongestSideClick(side);
    double pictureKb = 0;
    bool missed = false;
    const auto step = [&](const char* name, const std::function<void()>& work) {
        resetPeak();
        const long before = statusKb("VmRSS:");
        work();
        const long peak = statusKb("VmHWM:");
        pictureKb = form.State.PictureWidth * 3.0 * form.State.PictureHeight / 1024;
        const double ratio = peak / pictureKb;
        missed = missed || ratio > 4;
        std::printf("| %-46s | held before %5ld MB | peak %5ld MB | %5.2f x the picture | %s\n",
                    name, before / 1024, peak / 1024, ratio,
                    ratio <= 4 ? "goal <= 4" : "MISSED goal <= 4");
        std::fflush(stdout);
    };
    step("load, with its score", [&] {
        window.dialogs.openAnswers.push_back(picture);
        form.BitBtn1->click();
        window.scored();
    });
    step("three ticks, each with its score", [&] {
        for (const int quality : {70, 40, 85}) {
            window.tick(quality);
        }
    });
    step("highest quality under a size", [&] {
        window.dialogs.numberAnswers.push_back(static_cast<int>(form.previewBytes() / 2048) + 1);
        form.guard().run([&form] { form.SizeSearchClick(); });
        window.searched();
    });
    step("smallest file above a similarity", [&] {
        window.dialogs.decimalAnswers.push_back(0.95);
        form.guard().run([&form] { form.SimilaritySearchClick(); });
        window.searched();
    });
    step("viewer: original (space) and difference (D)", [&] {
        form.guard().run([&form] { form.Image2DblClick(); });
        if (!QTest::qWaitForWindowExposed(&window.form2)) {
            std::fprintf(stderr, "the viewer did not show\n");
        }
        QTest::keyPress(&window.form2, Qt::Key_Space);
        QCoreApplication::processEvents();
        QTest::keyRelease(&window.form2, Qt::Key_Space);
        QTest::keyClick(&window.form2, Qt::Key_D);
        window.form2.grab();
        QTest::keyClick(&window.form2, Qt::Key_D);
        window.form2.hide();
    });
    step("save", [&] {
        window.dialogs.saveAnswers.push_back(folder.filePath("saved.jpg"));
        form.BitBtn4->click();
        window.form4.hide();
    });
    std::printf("| %-52s |\n", missed ? "a step MISSED its goal" : "every step within its goal");
    return 0;
}
