#pragma once

#include "ui/DialogService.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class QMessageBox;

// The dialogs and boxes as Qt's own widgets (not the desktop's native dialogs, so they look
// and behave the same everywhere), each opened over the program's window in front, so no
// window kept on top can hide one that waits for an answer.
class QtDialogService : public DialogService {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    std::optional<QString> openPictureFile(const FileDialogOptions& options) override;
    std::optional<QString> savePictureFile(const FileDialogOptions& options) override;
    void showMessageBox(MessageBoxKind kind, const QString& text) override;
    std::optional<int> askNumber(const QString& text, int value, int minimum, int maximum) override;
    std::optional<double> askDecimal(const QString& text, double value, double minimum,
                                     double maximum, int decimals) override;

    // "JPEG (*.jpg)|*.jpg|*.*|*.*" as Qt's name filters; "*.*" means every file.
    static QStringList nameFilters(const QString& filter);
    static std::unique_ptr<QMessageBox> makeMessageBox(MessageBoxKind kind, const QString& text,
                                                       QWidget* parent = nullptr);

    // The program's window the next dialog or box opens over: the modal dialog open now,
    // else the active window, else a window kept on top, else the main window.
    QWidget* frontWindow() const;

private:
    static bool keptOnTop(const QWidget& window);
    static void placeInFront(QWidget& dialog);

    QPointer<QWidget> parent_;
};
