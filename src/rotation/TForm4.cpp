#include "rotation/TForm4.h"

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "platform/desktop/ScreenSize.h"
#include "recompress/PictureFileKind.h"
#include "rotation/RotateWindowGlyphs.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/ApplicationTitle.h"
#include "ui/DesignFont.h"
#include "ui/ScreenCentring.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TProgressBar.h"

#include <QCheckBox>
#include <QFrame>
#include <QShowEvent>

TForm4::TForm4(Settings& settings, RotateWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), settings_(settings),
      services_(services), guard_(services.dialogs) {
    setObjectName("Form4");
    setWindowTitle(ApplicationTitle);
    setFont(designFont(11));
    resize(ClientSize);
    setAttribute(Qt::WA_QuitOnClose, false);
    createControls();
    connect(BitBtn1, &QPushButton::clicked, this, guard_.wrap([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, guard_.wrap([this] { BitBtn2Click(); }));
}

void TForm4::createControls() {
    Image3 = new TImage("Image3", this);
    Image3->setGeometry(6, 6, 658, 535);
    Image3->setStretch(true);
    Image3->setProportional(true);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    Bevel1->setGeometry(672, 6, 2, 535);
    ProgressBar1 = new TProgressBar("ProgressBar1", this);
    ProgressBar1->setOrientation(Qt::Vertical);
    ProgressBar1->setSmooth(true);
    ProgressBar1->setGeometry(684, 6, 67, 451);
    ProgressBar1->hide();
    CheckBox1 = new QCheckBox("Trim jpeg", this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(684, 463, 70, 17);
    BitBtn1 = new TBitBtn("BitBtn1", this);
    BitBtn1->setGeometry(684, 486, 70, 25);
    BitBtn1->setText("0");
    BitBtn1->setGlyph(RotateWindowGlyphs::rotate());
    BitBtn2 = new TBitBtn("BitBtn2", this);
    BitBtn2->setGeometry(684, 516, 73, 25);
    BitBtn2->setText("OK");
    BitBtn2->setGlyph(RotateWindowGlyphs::ok());
    setTabOrder(BitBtn1, BitBtn2);
}

void TForm4::open(const QString& pictureFile) {
    setWindowTitle(pictureFile);
    show();
    raise();
}

void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // a restore by the window manager is no new showing
    }
    centreOnScreen(*this, services_.screen.size());
    guard_.run([this] { FormShow(); });
}

void TForm4::FormShow() {
    angle_ = 0;
    BitBtn1->setText("0");
    CheckBox1->setToolTip(Texts::TrimHint.in(settings_.Language));
    BitBtn1->setToolTip(Texts::RotateHint.in(settings_.Language));
    BitBtn2->setToolTip(Texts::SaveCurrentHint.in(settings_.Language));
    const bool jpeg = PictureFileKind::isJpeg(PictureFileKind::extension(pictureFile()));
    CheckBox1->setVisible(jpeg);
    CheckBox1->setChecked(false);
    showPictureFile();
}

void TForm4::showPictureFile() {
    if (PictureFileKind::isJpeg(PictureFileKind::extension(pictureFile()))) {
        TJPEGImage picture;
        picture.ReadFromFile(pictureFile().toStdString());
        Image3->setGraphic(&picture);
    } else {
        TBitmap picture;
        picture.ReadFromFile(pictureFile().toStdString());
        Image3->setGraphic(&picture);
    }
}

void TForm4::BitBtn2Click() {
    if (rotating_) {
        return; // the file is being replaced: it is saved once the turn ends
    }
    emit okClicked();
    hide();
}
