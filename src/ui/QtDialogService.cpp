#include "ui/QtDialogService.h"

#include <QFileDialog>
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

} // namespace

QStringList QtDialogService::nameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
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
