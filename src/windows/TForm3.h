#pragma once

#include <QWidget>

// The help window: a borderless oval panel with the points of help.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    static constexpr QSize ClientSize{640, 480};
};
