#include "ui/PicturePreview.h"

#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "recompress/PictureFileKind.h"
#include "ui/BitmapImage.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <new>

namespace {

// Reading a bitmap this large at every click in the list would make the dialog stall.
constexpr qint64 LargestBitmapPreviewed = 128LL << 20;

// A JPEG picture decodes at the smallest scale that still fills the preview.
TJPEGDecodeScale previewScale(int width, int height) {
    const int side = std::max(width, height);
    const int area =
        std::max(PicturePreview::PictureArea.width(), PicturePreview::PictureArea.height());
    if (side >= 8 * area) {
        return TJPEGDecodeScale::Eighth;
    }
    if (side >= 4 * area) {
        return TJPEGDecodeScale::Quarter;
    }
    return side >= 2 * area ? TJPEGDecodeScale::Half : TJPEGDecodeScale::Full;
}

// The picture's pixels and its full size; a null image when it cannot be read.
QImage readPicture(const QString& path, QSize& fullSize) {
    const std::string name = path.toStdString();
    if (PictureFileKind::isJpeg(PictureFileKind::extension(path))) {
        TJPEGImage jpeg;
        jpeg.ReadFromFile(name);
        fullSize = QSize(jpeg.ImageWidth(), jpeg.ImageHeight());
        jpeg.setDecodeScale(previewScale(fullSize.width(), fullSize.height()));
        jpeg.setDecodeDepth(TJPEGDecodeDepth::Depth24);
        return bitmapImage(jpeg.Decode());
    }
    if (QFileInfo(path).size() > LargestBitmapPreviewed) {
        return {};
    }
    TBitmap bitmap;
    bitmap.ReadFromFile(name);
    fullSize = QSize(bitmap.width(), bitmap.height());
    return bitmapImage(bitmap);
}

} // namespace

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent) {
    setObjectName("PicturePreview");
    picture_ = new QLabel(this);
    picture_->setFixedSize(PictureArea);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    size_ = new QLabel(this);
    size_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->addWidget(size_);
    layout->addStretch();
}

void PicturePreview::showFile(const QString& path) {
    QImage image;
    QSize fullSize;
    if (QFileInfo(path).isFile()) {
        try {
            image = readPicture(path, fullSize);
        } catch (const Exception&) {
            image = QImage(); // not a picture the program reads: nothing to show
        } catch (const std::bad_alloc&) {
            image = QImage();
        }
    }
    if (image.isNull()) {
        shown_ = QPixmap();
        size_->clear();
    } else {
        const QSize room = PictureArea - QSize(4, 4);
        shown_ = QPixmap::fromImage(
            image.width() > room.width() || image.height() > room.height()
                ? image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                : image);
        size_->setText(QString("%1 x %2").arg(fullSize.width()).arg(fullSize.height()));
    }
    picture_->setPixmap(shown_);
}
