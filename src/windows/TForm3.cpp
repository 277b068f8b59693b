#include "windows/TForm3.h"

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/desktop/ScreenSize.h"
#include "settings/LanguageText.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/DesignFont.h"
#include "ui/TImage.h"

#include <QFile>
#include <QRegion>
#include <QShowEvent>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <algorithm>
#include <vector>

namespace {

// The picture built into the program: what the window shows until a background file is read.
void readBuiltInPicture(TBitmap& picture) {
    QFile resource(QString(":/") + TForm3::BackgroundFile);
    if (!resource.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = resource.readAll();
    TMemoryStream stream;
    stream.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    stream.setPosition(0);
    picture.ReadFromStream(stream);
}

// The places of `image` that are not of colour `key`: the widest runs along each row, in the
// order a region is made of.
QRegion regionWithout(const QImage& image, QRgb key) {
    const auto notKey = [key](QRgb colour) { return colour != key; };
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const QRgb* end = row + image.width();
        for (const QRgb* run = std::find_if(row, end, notKey); run != end;) {
            const QRgb* runEnd = std::find(run, end, key);
            runs.emplace_back(static_cast<int>(run - row), y, static_cast<int>(runEnd - run), 1);
            run = std::find_if(runEnd, end, notKey);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

} // namespace

TForm3::TForm3(Settings& settings, ScreenSize& screen, DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      settings_(settings), screen_(screen), guard_(dialogs) {
    setObjectName("Form3");
    setFont(designFont(11));
    resize(ClientSize);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(KeyColour));
    setPalette(colours);
    setAutoFillBackground(true);
    // Closing the help only hides it; the main window alone ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    createPicture();
    createText();
}

void TForm3::createPicture() {
    Image1 = new TImage("Image1", this);
    Image1->setGeometry(QRect(QPoint(0, 0), ClientSize));
    Image1->setTransparent(true);
    TBitmap builtIn;
    readBuiltInPicture(builtIn);
    Image1->setGraphic(&builtIn);
    connect(Image1, &TImage::clicked, this, [this] { Image1Click(); });
}

void TForm3::createText() {
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setGeometry(48, 123, 544, 235);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    // The picture's white oval is the page: the text box draws no background of its own, so
    // the oval's rim stays whole where the box reaches it.
    QPalette colours = RichEdit1->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    RichEdit1->setPalette(colours);
    RichEdit1->viewport()->setAutoFillBackground(false);
    // Narrow margins and bullets, as a plain text box has: the whole help fits without scrolling.
    RichEdit1->document()->setDocumentMargin(1);
    RichEdit1->document()->setIndentWidth(16);
    RichEdit1->setPlainText(DesignText);
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // a restore by the window manager is no new showing
    }
    centreOnScreen();
    // A background that cannot be read is reported, and the window shows all the same with
    // what it showed before.
    guard_.run([this] { FormShow(); });
    cutOutKeyColour();
}

void TForm3::centreOnScreen() {
    const QSize screen = screen_.size();
    const QSize outer = frameGeometry().size();
    move((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2);
}

void TForm3::FormShow() {
    loadBackground();
    fillText();
}

void TForm3::loadBackground() {
    // No separator is added: the folder text carries its own.
    TBitmap background;
    background.ReadFromFile((settings_.Path + BackgroundFile).toStdString());
    Image1->setGraphic(&background);
}

void TForm3::fillText() {
    const QString& language = settings_.Language;
    RichEdit1->clear(); // also takes the alignment back to the left
    QTextCursor cursor(RichEdit1->document());
    // The cleared text is one empty paragraph: the first line of the help.
    QTextList* bullets = nullptr;
    for (const LanguageText& paragraph : Texts::HelpParagraphs) {
        cursor.insertBlock(QTextBlockFormat());
        if (bullets) {
            bullets->add(cursor.block());
        } else {
            bullets = cursor.createList(QTextListFormat::ListDisc);
        }
        cursor.insertText(paragraph.in(language));
    }
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    const int emptyLines = isFrench(language) ? 1 : 2;
    for (int i = 0; i < emptyLines; ++i) {
        cursor.insertBlock(centred);
    }
    cursor.insertBlock(centred);
    cursor.insertText(Texts::HelpClosingLine.in(language));
}

void TForm3::Image1Click() {
    hide();
}

void TForm3::cutOutKeyColour() {
    QImage shown(size(), QImage::Format_RGB32);
    render(&shown, QPoint(), QRegion(), DrawWindowBackground | DrawChildren | IgnoreMask);
    setMask(regionWithout(shown, KeyColour));
}
