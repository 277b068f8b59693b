#pragma once

#include "ui/DialogService.h"

#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: file dialogs answer from a script, boxes are recorded instead of shown.
class ScriptedDialogService : public DialogService {
public:
    struct ShownBox {
        MessageBoxKind kind;
        QString title;
        QString text;
    };

    // Answers, taken in order; an empty script answers "cancelled".
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<int>> numberAnswers;
    std::vector<QString> numberRequests;
    std::deque<std::optional<double>> decimalAnswers;
    std::vector<QString> decimalRequests;
    std::vector<FileDialogOptions> openRequests;
    std::vector<FileDialogOptions> saveRequests;
    std::vector<ShownBox> boxes;
    // Runs while a box is "open", as the user's clicks would inside its message loop.
    std::function<void()> whileBoxIsShown;

    std::optional<QString> openPictureFile(const FileDialogOptions& options) override;
    std::optional<QString> savePictureFile(const FileDialogOptions& options) override;
    void showMessageBox(MessageBoxKind kind, const QString& text) override;
    std::optional<int> askNumber(const QString& text, int value, int minimum, int maximum) override;
    std::optional<double> askDecimal(const QString& text, double value, double minimum,
                                     double maximum, int decimals) override;
};
