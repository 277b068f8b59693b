#pragma once

#include <QWidget>

// The full-size viewer: the recompressed picture pixel for pixel, panned by dragging.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    static constexpr QSize DesignClientSize{793, 565};
};
