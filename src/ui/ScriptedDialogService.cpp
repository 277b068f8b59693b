#include "ui/ScriptedDialogService.h"

namespace {

std::optional<QString> nextAnswer(std::deque<std::optional<QString>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    const bool chosen = answers.front().has_value();
    const QString fileName = answers.front().value_or(QString());
    answers.pop_front();
    return chosen ? std::optional<QString>(fileName) : std::nullopt;
}

} // namespace

std::optional<QString> ScriptedDialogService::openPictureFile(const FileDialogOptions& options) {
    openRequests.push_back(options);
    return nextAnswer(openAnswers);
}

std::optional<QString> ScriptedDialogService::savePictureFile(const FileDialogOptions& options) {
    saveRequests.push_back(options);
    return nextAnswer(saveAnswers);
}

void ScriptedDialogService::showMessageBox(MessageBoxKind kind, const QString& text) {
    boxes.push_back({kind, messageBoxTitle(kind), text});
    if (whileBoxIsShown) {
        whileBoxIsShown();
    }
}

std::optional<double> ScriptedDialogService::askDecimal(const QString& text, double, double, double,
                                                        int) {
    decimalRequests.push_back(text);
    if (decimalAnswers.empty()) {
        return std::nullopt;
    }
    const std::optional<double> answer = decimalAnswers.front();
    decimalAnswers.pop_front();
    return answer;
}

std::optional<int> ScriptedDialogService::askNumber(const QString& text, int, int, int) {
    numberRequests.push_back(text);
    if (numberAnswers.empty()) {
        return std::nullopt;
    }
    const std::optional<int> answer = numberAnswers.front();
    numberAnswers.pop_front();
    return answer;
}
