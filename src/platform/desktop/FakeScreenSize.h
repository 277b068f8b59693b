#pragma once

#include "platform/desktop/ScreenSize.h"

// A screen of any size for tests.
class FakeScreenSize : public ScreenSize {
public:
    explicit FakeScreenSize(QSize size = {1280, 800}, int depth = 24)
        : size_(size), depth_(depth) {}

    QSize size() const override { return size_; }
    int colourDepth() const override { return depth_; }
    void setSize(QSize size) { size_ = size; }

private:
    QSize size_;
    int depth_;
};
