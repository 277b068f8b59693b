// Dropping a picture file on the main window: loaded as if chosen in the open dialog.
#include "main_window/DroppedPicture.h"
#include "main_window/TForm1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!State.Busy && DroppedPicture::file(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const std::optional<QString> file = DroppedPicture::file(event->mimeData());
    if (!file) {
        return;
    }
    event->acceptProposedAction();
    // Loaded once the drop is over, so the program the file came from is not held up by
    // the load, its sound or its error box.
    QTimer::singleShot(0, this, [this, path = *file] { guard_.run([&] { loadFile(path); }); });
}
