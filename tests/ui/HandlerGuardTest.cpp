#include "ui/HandlerGuard.h"

#include "QStringPrinter.h"
#include "core/EAbort.h"
#include "core/Exception.h"
#include "ui/QtDialogService.h"
#include "ui/ScriptedDialogService.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(HandlerGuard, ShowsWhatEscapesAHandlerInTheStandardErrorBoxAndGoesOn) {
    ScriptedDialogService dialogs;
    const HandlerGuard guard(dialogs);
    int after = 0;
    EXPECT_FALSE(guard.run([] { throw Exception("Impossible d'ouvrir le fichier x.bmp"); }));
    EXPECT_FALSE(guard.run([] { throw std::runtime_error("disk on fire"); }));
    EXPECT_FALSE(guard.run([] { throw 42; }));
    EXPECT_TRUE(guard.run([&] { ++after; }));

    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[0].kind, MessageBoxKind::StandardError);
    EXPECT_EQ(dialogs.boxes[0].title, "Trevano");
    EXPECT_EQ(dialogs.boxes[0].text, QString::fromUtf8("Impossible d'ouvrir le fichier x.bmp"));
    EXPECT_EQ(dialogs.boxes[1].text, "disk on fire");
    EXPECT_EQ(dialogs.boxes[2].text, ""); // not an error object: reported without a text
    EXPECT_EQ(after, 1);
}

TEST(HandlerGuard, TheSilentCancellationShowsNothing) {
    ScriptedDialogService dialogs;
    const HandlerGuard guard(dialogs);
    EXPECT_FALSE(guard.run([] { throw EAbort(); }));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(HandlerGuard, WrappedHandlersRunInsideTheGuard) {
    ScriptedDialogService dialogs;
    const HandlerGuard guard(dialogs);
    const auto slot = guard.wrap([] { throw Exception("boom"); });
    slot();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "boom");
}

TEST(MessageBoxes, PlainErrorAndStandardErrorBoxes) {
    const auto plain = QtDialogService::makeMessageBox(MessageBoxKind::Plain, "Copy error");
    EXPECT_EQ(plain->windowTitle(), "Trevano");
    EXPECT_EQ(plain->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(plain->text(), "Copy error");
    EXPECT_EQ(plain->buttons().size(), 1);
    EXPECT_EQ(plain->standardButtons(), QMessageBox::Ok);

    const auto error = QtDialogService::makeMessageBox(MessageBoxKind::Error, "Rotation fail");
    EXPECT_EQ(error->windowTitle(), "Erreur");
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(error->standardButtons(), QMessageBox::Ok);

    const auto standard =
        QtDialogService::makeMessageBox(MessageBoxKind::StandardError, "<b>x</b>");
    EXPECT_EQ(standard->windowTitle(), "Trevano");
    EXPECT_EQ(standard->icon(), QMessageBox::Critical);
    EXPECT_EQ(standard->textFormat(), Qt::PlainText); // file names are shown as they are
}

TEST(FileDialogs, PipeFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtDialogService::nameFilters(
                  "JPEG + BMP|*.jpg;*.bmp|JPEG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp|*.*|*.*"),
              QStringList({"JPEG + BMP (*.jpg *.bmp)", "JPEG (*.jpg)", "BMP (*.bmp)", "*.* (*)"}));
}

TEST(FileDialogs, TheScriptAnswersInOrderThenCancels) {
    ScriptedDialogService dialogs;
    dialogs.openAnswers = {QString("/tmp/a.jpg"), std::nullopt};
    const FileDialogOptions options{"Choose the Jpg or Bmp file", "*.*|*.*", "", "", false};
    EXPECT_EQ(dialogs.openPictureFile(options), QString("/tmp/a.jpg"));
    EXPECT_EQ(dialogs.openPictureFile(options), std::nullopt);
    EXPECT_EQ(dialogs.openPictureFile(options), std::nullopt);
    ASSERT_EQ(dialogs.openRequests.size(), 3u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Choose the Jpg or Bmp file");
}

namespace {

struct OpenedBox {
    QWidget* parent = nullptr;
    bool keptOnTop = false;
};

// Shows an error box through `dialogs` and closes it as soon as it is up, telling what it
// was opened over.
OpenedBox openedBox(QtDialogService& dialogs) {
    OpenedBox seen;
    QTimer::singleShot(0, [&seen] {
        QWidget* box = QApplication::activeModalWidget();
        if (box) {
            seen = {box->parentWidget(), box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
            box->close();
        }
    });
    dialogs.showError("Rotation fail");
    return seen;
}

} // namespace

TEST(MessageBoxes, ABoxOpensOverTheWindowInFrontAndAboveWindowsKeptOnTop) {
    QWidget main;
    QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    QtDialogService dialogs;
    dialogs.setParentWindow(&main);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    OpenedBox box = openedBox(dialogs);
    EXPECT_EQ(box.parent, &main);
    EXPECT_FALSE(box.keptOnTop);

    // The rotate-and-save window in front: the box is its child.
    onTop.show();
    onTop.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&onTop));
    box = openedBox(dialogs);
    EXPECT_EQ(box.parent, &onTop);
    EXPECT_TRUE(box.keptOnTop);

    // The main window in front, with a window kept on top over it: the box goes above both.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    box = openedBox(dialogs);
    EXPECT_EQ(box.parent, &main);
    EXPECT_TRUE(box.keptOnTop);
}
