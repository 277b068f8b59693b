#pragma once

#include <QString>

// One picture of a batch run and the new file made of it.
struct BatchItem {
    QString input;
    QString output;
    // Why no new file may be written for it, found before any work; empty when none.
    QString refusal;
};
