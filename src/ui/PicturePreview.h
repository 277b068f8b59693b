#pragma once

#include <QLabel>

// The small picture beside the open dialog's file list: the selected file read the way the
// program will read it, scaled down to fit, with its size in pixels below. A file that is
// not a picture the program can read shows nothing.
class PicturePreview : public QWidget {
    Q_OBJECT

public:
    explicit PicturePreview(QWidget* parent = nullptr);

    static constexpr QSize PictureArea{220, 220};

    void showFile(const QString& path);
    QString sizeText() const { return size_->text(); }
    const QPixmap& picture() const { return shown_; }

private:
    QLabel* picture_;
    QLabel* size_;
    QPixmap shown_;
};
