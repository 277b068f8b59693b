#pragma once

#include "platform/desktop/ScreenSize.h"

// The primary screen as Qt reports it.
class QtScreenSize : public ScreenSize {
public:
    QSize size() const override;
    int colourDepth() const override;
};
