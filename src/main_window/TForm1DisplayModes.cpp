// The display modes of the two panes: real size or fit, centred or top-left, and the labels
// that follow the picture.
#include "main_window/TForm1.h"
#include "settings/Texts.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "windows/TForm2.h"

#include <algorithm>

namespace {

// The labels are 16 pixels high: they sit right above what they caption.
constexpr int LabelHeight = 16;

// Left edge of a label over a centred picture, kept inside its pane (halves truncated).
int leftOverCentredPicture(const QWidget* pane, int pictureWidth) {
    return std::max(pane->x() + pane->width() / 2 - pictureWidth / 2, pane->x());
}

// Left edge that centres a label over its pane by its own width.
int leftCentredOnPane(const QWidget* pane, const QWidget* label) {
    return pane->x() + pane->width() / 2 - label->width() / 2;
}

} // namespace

void TForm1::setLabelTops(int top) {
    Label1->move(Label1->x(), top);
    Label5->move(Label5->x(), top);
}

void TForm1::setLabelColours(const QColor& background) {
    Label1->setColor(background);
    Label5->setColor(background);
}

QSize TForm1::shownPictureSize() const {
    return Image1->shownSize({State.PictureWidth, State.PictureHeight});
}

void TForm1::setAlignmentButtonState() {
    const QSize picture = shownPictureSize();
    BitBtn2->setEnabled(Image1->width() < picture.width() || Image1->height() < picture.height());
}

void TForm1::placeLabelsOverCentredPicture() {
    const QSize picture = shownPictureSize();
    State.PictureTop = Image1->y() + Image1->height() / 2 - picture.height() / 2;
    Label1->move(leftOverCentredPicture(Image2, picture.width()), Label1->y());
    Label5->move(leftOverCentredPicture(Image1, picture.width()), Label5->y());
    State.QualityLabelLeft = Label1->x();
    State.SourceLabelLeft = Label5->x();
    setLabelTops(std::max(State.PictureTop - LabelHeight, Image1->y() - LabelHeight));
}

void TForm1::BitBtn2Click() {
    if (Image1->center()) {
        Image1->setCenter(false);
        Image2->setCenter(false);
        BitBtn2->setToolTip("Center image");
        BitBtn2->setGlyph(ImageList1[3]);
        setLabelTops(Image1->y() - LabelHeight);
        Label1->move(Image2->x(), Label1->y());
        Label5->move(Image1->x(), Label5->y());
    } else {
        Image1->setCenter(true);
        Image2->setCenter(true);
        BitBtn2->setToolTip("Top left corner");
        BitBtn2->setGlyph(ImageList1[2]);
        setLabelTops(std::max(State.PictureTop - LabelHeight, Image1->y() - LabelHeight));
        Label1->move(leftOverCentredPicture(Image2, shownPictureSize().width()), Label1->y());
        Label5->move(leftOverCentredPicture(Image1, shownPictureSize().width()), Label5->y());
    }
    State.QualityLabelLeft = Label1->x();
    State.SourceLabelLeft = Label5->x();
}

void TForm1::BitBtn3Click() {
    const bool leaveFit = Image1->proportional();
    for (TImage* pane : {Image1, Image2}) {
        pane->setProportional(!leaveFit);
        pane->setStretch(!leaveFit);
    }
    if (leaveFit) {
        setAlignmentButtonState();
        const int top =
            Image1->center() ? State.PictureTop - LabelHeight : Image1->y() - LabelHeight;
        setLabelTops(std::max(top, Image1->y() - LabelHeight));
        Label1->move(State.QualityLabelLeft, Label1->y());
        Label5->move(State.SourceLabelLeft, Label5->y());
        BitBtn3->setToolTip(Texts::FitToScreenHint.in(language()));
        BitBtn3->setGlyph(ImageList1[4]);
        setLabelColours(Qt::black);
    } else {
        BitBtn2->setEnabled(false);
        setLabelTops(Image1->y() - LabelHeight);
        Label1->move(leftCentredOnPane(Image2, Label1), Label1->y());
        Label5->move(leftCentredOnPane(Image1, Label5), Label5->y());
        BitBtn3->setToolTip(Texts::RealSizeHint.in(language()));
        BitBtn3->setGlyph(ImageList1[5]);
        setLabelColours(Qt::red);
    }
}

void TForm1::Image2DblClick() {
    if (form2_) {
        form2_->show();
    }
}
