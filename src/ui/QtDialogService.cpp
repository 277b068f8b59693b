#include "ui/QtDialogService.h"

#include "ui/ApplicationTitle.h"
#include "ui/PicturePreview.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

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
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    addPreview(dialog);
    return runFileDialog(dialog, options);
}

std::optional<QString> QtDialogService::savePictureFile(const FileDialogOptions& options) {
    QFileDialog dialog(parent_);
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
    makeMessageBox(kind, text, parent_)->exec();
}

std::optional<int> QtDialogService::askNumber(const QString& text, int value, int minimum,
                                              int maximum) {
    bool accepted = false;
    const int number = QInputDialog::getInt(parent_, ApplicationTitle, text, value, minimum,
                                            maximum, 1, &accepted);
    return accepted ? std::optional<int>(number) : std::nullopt;
}
