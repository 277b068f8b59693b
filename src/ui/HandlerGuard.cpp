#include "ui/HandlerGuard.h"

#include "core/EAbort.h"
#include "core/Exception.h"
#include "ui/DialogService.h"

#include <exception>

bool HandlerGuard::run(const std::function<void()>& handler) const noexcept {
    try {
        handler();
        return true;
    } catch (const EAbort&) {
    } catch (const Exception& error) {
        report(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        // Not an error object: there is no text to show, but it is still reported.
        report(QString());
    }
    return false;
}

void HandlerGuard::report(const QString& text) const noexcept {
    try {
        dialogs_.showMessageBox(MessageBoxKind::StandardError, text);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on all the same.
    }
}
