#include "ui/MessageBoxKind.h"

#include "ui/ApplicationTitle.h"

QString messageBoxTitle(MessageBoxKind kind) {
    return kind == MessageBoxKind::Error ? QString("Erreur") : QString(ApplicationTitle);
}
