#include "main_window/TForm1.h"

#include "main_window/MainWindowGlyphs.h"
#include "main_window/PreviewJudge.h"
#include "platform/desktop/ScreenSize.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BackgroundTask.h"
#include "ui/DesignFont.h"
#include "ui/ScreenCentring.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"
#include "windows/FreeMemoryGauge.h"
#include "windows/TForm2.h"
#include "windows/TForm3.h"

#include <QFrame>
#include <QLineEdit>
#include <QShowEvent>
#include <QThreadPool>
#include <QTimer>

namespace {

const QColor Yellow(255, 255, 0);
const QColor Maroon(128, 0, 0);

} // namespace

TForm1::TForm1(Settings& settings, MainWindowServices services, QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services), guard_(services.dialogs) {
    setObjectName("Form1");
    setWindowTitle(Caption);
    setWindowIcon(QIcon(MainWindowGlyphs::windowIcon()));
    setFont(designFont(11));
    resize(ClientSize);
    // Later controls lie above earlier ones: the labels over the panes they caption, and the
    // buttons, slider and bars over any label they share a place with.
    createPanes();
    createLabels();
    createDividers();
    createButtons();
    createSlider();
    createProgressBars();
    createTimers();
    createDialogs();
    setFocusOrder();
    connectHandlers();
    createJudging();
    guard_.run([this] { FormCreate(); });
}

void TForm1::attachWindows(TForm2* form2, TForm3* form3, TForm4* form4) {
    form2_ = form2;
    form3_ = form3;
    form4_ = form4;
    if (form4_) {
        // OK in the rotate-and-save window: the saved file is done with.
        connect(form4_, &TForm4::okClicked, this, [this] { BitBtn4->setEnabled(false); });
    }
}

void TForm1::createPanes() {
    Image1 = new TImage("Image1", this);
    Image1->setGeometry(9, 75, 376, 469);
    Image1->setToolTip("Original picture");
    Image1->setCenter(true);
    Image2 = new TImage("Image2", this);
    Image2->setGeometry(405, 75, 376, 469);
    Image2->setToolTip("Double click for a  full-size picture");
    Image2->setCenter(true);
    // Compression artefacts are judged at their true size.
    Image1->setScreenPixels(true);
    Image2->setScreenPixels(true);
}

TLabel* TForm1::addLabel(const char* name, QPoint position, const char* caption, int pixelSize,
                         bool bold) {
    auto* label = new TLabel(name, this);
    label->move(position);
    label->setFont(designFont(pixelSize, bold));
    label->setCaption(caption);
    return label;
}

void TForm1::createLabels() {
    Label1 = addLabel("Label1", {555, 59}, " Jpeg Quality = 100 % ", 13, true);
    Label2 = addLabel("Label2", {156, 34}, "Jpeg quality adjust", 11, true);
    Label3 = addLabel("Label3", {21, 34}, "0 %", 11, true);
    Label4 = addLabel("Label4", {372, 34}, "100 %", 11, true);
    Label5 = addLabel("Label5", {162, 59}, " Original ", 13, true);
    Label6 = addLabel("Label6", {2, 15}, "Compressing", 13, true);
    Label7 = addLabel("Label7", {141, 545}, "Size original file", 13, true);
    Label8 = addLabel("Label8", {528, 545}, "Size compressed file ", 13, true);
    for (TLabel* readout : {Label1, Label5, Label7, Label8}) {
        readout->setFontColor(Yellow);
        readout->setColor(Qt::black);
    }
    Label6->setFontColor(Qt::white);
    Label6->setColor(Qt::red);
    for (TLabel* hidden : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8}) {
        hidden->hide();
    }
    Label9 = addLabel("Label9", {429, 9}, "Free Memory", 11, false);
    Label9->setAutoSize(false);
    Label9->resize(121, 13);
    Label10 = addLabel("Label10", {9, 546}, "Original file", 11, false);
    Label11 = addLabel("Label11", {405, 546}, "Modified file", 11, false);
    Label10->setFontColor(Maroon);
    Label11->setFontColor(Maroon);
    // Beside the new file's size, its pixel size when it is shrunk to a longest side.
    NewSizeLabel = addLabel("NewSizeLabel", {620, 546}, "", 11, false);
    NewSizeLabel->setFontColor(Maroon);
    NewSizeLabel->hide();
}

void TForm1::createDividers() {
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setGeometry(3, 54, 781, 2);
    Bevel2 = new QFrame(this);
    Bevel2->setObjectName("Bevel2");
    Bevel2->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    Bevel2->setGeometry(393, 54, 2, 508);
}

TBitBtn* TForm1::addButton(const char* name, QRect geometry, const char* caption, const char* hint,
                           const QPixmap& glyph) {
    auto* button = new TBitBtn(name, this);
    button->setGeometry(geometry);
    button->setText(caption);
    button->setToolTip(hint);
    button->setGlyph(glyph);
    return button;
}

void TForm1::createButtons() {
    ImageList1 = MainWindowGlyphs::imageList();
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(417, 48, 49, 21);
    Edit1->setReadOnly(true);
    Edit1->hide();
    BitBtn1 = addButton("BitBtn1", {574, 3, 104, 24}, "Load image", "Load a BMP or JPG file",
                        MainWindowGlyphs::load());
    BitBtn2 = addButton("BitBtn2", {600, 27, 26, 24}, "", "Top left corner", ImageList1[2]);
    BitBtn3 = addButton("BitBtn3", {574, 27, 26, 24}, "", "Fit to screen", ImageList1[4]);
    BitBtn4 = addButton("BitBtn4", {678, 27, 104, 24}, "Save jpg as",
                        "Rotate and save modified jpg file", MainWindowGlyphs::save());
    BitBtn5 = addButton("BitBtn5", {652, 27, 26, 24}, "", "Help", MainWindowGlyphs::help());
    BitBtn6 = addButton("BitBtn6", {626, 27, 26, 24}, "", "Passer en langue française",
                        MainWindowGlyphs::frenchFlag());
    BitBtn7 = addButton("BitBtn7", {626, 27, 26, 24}, "", "Switch to English language",
                        MainWindowGlyphs::britishFlag());
    BitBtn9 = addButton("BitBtn9", {678, 3, 104, 24}, "Rotate original",
                        "Rotate and save original bmp/jpg  (lossless)", MainWindowGlyphs::rotate());
    for (TBitBtn* disabled : {BitBtn2, BitBtn3, BitBtn4, BitBtn9}) {
        disabled->setEnabled(false);
    }
    BitBtn7->hide();
}

void TForm1::createSlider() {
    TrackBar1 = new TTrackBar("TrackBar1", this);
    TrackBar1->setGeometry(3, 6, 409, 28);
    TrackBar1->setRange(0, 100);
    TrackBar1->setPageStep(10);
    TrackBar1->setSelection(0, 100);
    TrackBar1->setValue(100);
    TrackBar1->setToolTip("Drag cursor to adjust jpg compression");
    TrackBar1->hide();
}

void TForm1::createProgressBars() {
    ProgressBar1 = new TProgressBar("ProgressBar1", this);
    ProgressBar1->setGeometry(30, 9, 346, 17);
    ProgressBar1->hide();
    ProgressBar2 = new TProgressBar("ProgressBar2", this);
    ProgressBar2->setGeometry(429, 27, 121, 10);
    ProgressBar2->setSmooth(true);
    ProgressBar2->setToolTip("Indicates available physical memory in %");
}

void TForm1::createTimers() {
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(1000);
    Timer2->start();
}

void TForm1::createDialogs() {
    OpenPictureDialog1.filter =
        "JPEG + BMP|*.jpg;*.bmp|JPEG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp|*.*|*.*";
    SavePictureDialog1.filter = "JPEG (*.jpg)|*.jpg|*.*|*.*";
    SavePictureDialog1.defaultExtension = "jpg";
    SavePictureDialog1.fileName = "My Jpg";
    SavePictureDialog1.overwritePrompt = true;
}

void TForm1::setFocusOrder() {
    // The progress bars sit between BitBtn3/BitBtn4 and BitBtn4/BitBtn5 in the design's order
    // but never take the focus, so the chain runs over the controls that do.
    const std::vector<QWidget*> order{Edit1,   BitBtn1, BitBtn2, BitBtn3, TrackBar1,
                                      BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn9};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
}

void TForm1::connectHandlers() {
    const auto click = [this](TBitBtn* button, void (TForm1::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                guard_.wrap([this, handler] { (this->*handler)(); }));
    };
    click(BitBtn1, &TForm1::BitBtn1Click);
    click(BitBtn2, &TForm1::BitBtn2Click);
    click(BitBtn3, &TForm1::BitBtn3Click);
    click(BitBtn4, &TForm1::BitBtn4Click);
    click(BitBtn5, &TForm1::BitBtn5Click);
    click(BitBtn6, &TForm1::BitBtn6Click);
    click(BitBtn7, &TForm1::BitBtn7Click);
    click(BitBtn9, &TForm1::BitBtn9Click);
    connect(TrackBar1, &QSlider::valueChanged, this, guard_.wrap([this] { TrackBar1Change(); }));
    connect(Timer1, &QTimer::timeout, this, guard_.wrap([this] { Timer1Timer(); }));
    connect(Timer2, &QTimer::timeout, this, guard_.wrap([this] { Timer2Timer(); }));
    connect(Image2, &TImage::doubleClicked, this, guard_.wrap([this] { Image2DblClick(); }));
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // a restore from the task bar is no new showing
    }
    if (!shownBefore_) {
        shownBefore_ = true;
        centreOnScreen(*this, services_.screen.size());
    }
    guard_.run([this] { FormShow(); });
}

void TForm1::FormCreate() {
    settings_.load();
}

void TForm1::FormShow() {
    showLanguageButtons();
    applyInterfaceTexts();
}

void TForm1::showLanguageButtons() {
    const bool french = settings_.french();
    BitBtn7->setVisible(french);
    BitBtn6->setVisible(!french);
}

void TForm1::applyInterfaceTexts() {
    for (const Texts::InterfaceText& entry : Texts::MainWindow) {
        auto* control = findChild<QWidget*>(entry.control, Qt::FindDirectChildrenOnly);
        const QString text = entry.text.in(settings_.Language);
        if (entry.property == Texts::Property::Hint) {
            control->setToolTip(text);
        } else if (auto* label = qobject_cast<TLabel*>(control)) {
            label->setCaption(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(text);
        }
    }
}

const QString& TForm1::language() const {
    return settings_.Language;
}

void TForm1::switchLanguage(const QString& language) {
    // A key that does not open makes the click do nothing at all.
    if (settings_.storeLanguage(language)) {
        showLanguageButtons();
        applyInterfaceTexts();
        showNewPixelSize();
    }
}

void TForm1::BitBtn6Click() {
    switchLanguage("Français");
}

void TForm1::BitBtn7Click() {
    switchLanguage("English");
}

void TForm1::BitBtn5Click() {
    form3_->setVisible(!form3_->isVisible());
}

void TForm1::Timer2Timer() {
    FreeMemoryGauge(*Label9, *ProgressBar2, services_.memory, settings_).tick();
}
