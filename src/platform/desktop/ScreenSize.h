#pragma once

#include <QSize>

// The size and colour depth of the screen windows are placed on.
class ScreenSize {
public:
    virtual ~ScreenSize() = default;
    virtual QSize size() const = 0;
    virtual int colourDepth() const = 0;
};
