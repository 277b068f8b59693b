#include "ui/QtDialogService.h"

#include "ui/ApplicationTitle.h"
#include "ui/PicturePreview.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <cmath>

namespace {

QString qtPatterns(const QString& patterns) {
    QStringList result;
    for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
        result << (pattern.trimmed() == "*.*" ? QString("*") : pattern.trimmed());
    }
    return result.join(' ');
}

std::optional<QString> runFileDialog(QFileDialog& dialog, const FileDialogOptions& options) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(options.title);
    dialog.setNameFilters(QtDialogService::nameFilters(options.filter));
    dialog.setDefaultSuffix(options.defaultExtension);
    if (!options.fileName.isEmpty()) {
        dialog.selectFile(options.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

// The preview sits to the right of the file list, over the rows of the list and the name.
void addPreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) {
        return;
    }
    auto* preview = new PicturePreview(&dialog);
    grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &PicturePreview::showFile);
    // A name typed in full selects nothing in the list but is previewed all the same.
    if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit")) {
        QObject::connect(name, &QLineEdit::textChanged, preview,
                         [&dialog, preview](const QString& text) {
                             preview->showFile(dialog.directory().absoluteFilePath(text));
                         });
    }
    dialog.resize(dialog.sizeHint().width() + PicturePreview::PictureArea.width(),
                  dialog.sizeHint().height());
}

} // namespace

QWidget* QtDialogService::frontWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible()) {
        return active;
    }
    // None of the program's windows has the focus: one kept on top is in front all the same.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (keptOnTop(*window)) {
            return window;
        }
    }
    return parent_;
}

bool QtDialogService::keptOnTop(const QWidget& window) {
    return window.isVisible() && window.isWindow() &&
           window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
           window.windowType() != Qt::ToolTip && window.windowType() != Qt::Popup;
}

void QtDialogService::placeInFront(QWidget& dialog) {
    // The box is the front window's child, so it opens over it; while a window kept on top
    // is shown, the box is kept on top too, or that window would hide it.
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.begin(), windows.end(), [&dialog](const QWidget* window) {
            return window != &dialog && keptOnTop(*window);
        })) {
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
}

QStringList QtDialogService::nameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    if (parts.size() == 1) {
        return {qtPatterns(filter)}; // a bare pattern such as "*.jpg" is its own description
    }
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        const QString& description = parts[i];
        // "JPEG (*.jpg)" already names its patterns the way Qt reads them.
        filters << (description.endsWith("(" + patterns + ")")
                        ? description
                        : description + " (" + patterns + ")");
    }
    return filters;
}

std::optional<QString> QtDialogService::openPictureFile(const FileDialogOptions& options) {
    QFileDialog dialog(frontWindow());
    placeInFront(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    addPreview(dialog);
    return runFileDialog(dialog, options);
}

std::optional<QString> QtDialogService::savePictureFile(const FileDialogOptions& options) {
    QFileDialog dialog(frontWindow());
    placeInFront(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    return runFileDialog(dialog, options);
}

std::unique_ptr<QMessageBox> QtDialogService::makeMessageBox(MessageBoxKind kind,
                                                             const QString& text, QWidget* parent) {
    const QMessageBox::Icon icon =
        kind == MessageBoxKind::Plain ? QMessageBox::NoIcon : QMessageBox::Critical;
    auto box =
        std::make_unique<QMessageBox>(icon, messageBoxTitle(kind), text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

void QtDialogService::showMessageBox(MessageBoxKind kind, const QString& text) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(kind, text, frontWindow());
    placeInFront(*box);
    box->exec();
}

std::optional<double> QtDialogService::askDecimal(const QString& text, double value, double minimum,
                                                  double maximum, int decimals) {
    QInputDialog dialog(frontWindow());
    placeInFront(dialog);
    dialog.setWindowTitle(ApplicationTitle);
    dialog.setLabelText(text);
    dialog.setDoubleDecimals(decimals);
    dialog.setDoubleRange(minimum, maximum);
    dialog.setDoubleValue(value);
    dialog.setDoubleStep(std::pow(10.0, -decimals));
    return dialog.exec() == QDialog::Accepted ? std::optional<double>(dialog.doubleValue())
                                              : std::nullopt;
}

std::optional<int> QtDialogService::askNumber(const QString& text, int value, int minimum,
                                              int maximum) {
    QInputDialog dialog(frontWindow());
    placeInFront(dialog);
    dialog.setWindowTitle(ApplicationTitle);
    dialog.setLabelText(text);
    dialog.setIntRange(minimum, maximum);
    dialog.setIntValue(value);
    dialog.setIntStep(1);
    return dialog.exec() == QDialog::Accepted ? std::optional<int>(dialog.intValue())
                                              : std::nullopt;
}
