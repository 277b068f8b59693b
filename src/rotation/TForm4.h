#pragma once

#include <QWidget>

// The rotate-and-save window, opened on a picture file whose full path is its caption.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    static constexpr QSize ClientSize{765, 547};
};
