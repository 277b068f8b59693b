#include "ui/MessagePump.h"

#include <QCoreApplication>

void MessagePump::processMessages() {
    QCoreApplication::processEvents();
}
