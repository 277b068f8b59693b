#pragma once

#include "ui/FileDialogOptions.h"
#include "ui/MessageBoxKind.h"

#include <optional>

// Every dialog and message box the windows open goes through here, so tests can script the
// answers and read what was shown.
class DialogService {
public:
    virtual ~DialogService() = default;

    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<QString> openPictureFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> savePictureFile(const FileDialogOptions& options) = 0;
    // A modal box with a single OK button; returns when the user closes it.
    virtual void showMessageBox(MessageBoxKind kind, const QString& text) = 0;
    // A whole number typed by the user, from `minimum` to `maximum`, the box opening on
    // `value`; nothing when the user cancels.
    virtual std::optional<int> askNumber(const QString& text, int value, int minimum,
                                         int maximum) = 0;
    // The same for a number with `decimals` digits after the decimal separator.
    virtual std::optional<double> askDecimal(const QString& text, double value, double minimum,
                                             double maximum, int decimals) = 0;

    void showMessage(const QString& text) { showMessageBox(MessageBoxKind::Plain, text); }
    void showError(const QString& text) { showMessageBox(MessageBoxKind::Error, text); }
};
