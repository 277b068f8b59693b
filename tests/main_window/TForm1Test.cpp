#include "MainWindowProgram.h"
#include "QStringPrinter.h"
#include "platform/FakeSettingsStore.h"
#include "platform/IniSettingsStore.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString French = QString::fromUtf8("Français");

class MainWindow : public ::testing::Test {
protected:
    QString settingsFile() const { return folder_.filePath("Trevano_V2.0.ini"); }

    void storeLanguage(const QByteArray& line) {
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\n" + line + "\nPath=/opt/trevano/\n");
    }

    QString storedLanguage() const {
        IniSettingsStore store(settingsFile());
        return store.open() ? store.readText("Language") : QString("(no file)");
    }

    // Creates the windows and shows the main one, as the start of the program does.
    MainWindowProgram& start() {
        program_ = std::make_unique<MainWindowProgram>(store_);
        program_->form1.show();
        return *program_;
    }

    QTemporaryDir folder_;
    IniSettingsStore store_{settingsFile()};
    std::unique_ptr<MainWindowProgram> program_;
};

// The sixteen language-dependent texts, in the order the window sets them.
QStringList interfaceTexts(const TForm1& form) {
    return {form.Label10->caption(),   form.Label11->caption(),      form.Label2->caption(),
            form.TrackBar1->toolTip(), form.ProgressBar2->toolTip(), form.BitBtn1->toolTip(),
            form.BitBtn2->toolTip(),   form.BitBtn3->toolTip(),      form.BitBtn4->toolTip(),
            form.BitBtn5->toolTip(),   form.BitBtn9->toolTip(),      form.BitBtn1->text(),
            form.BitBtn4->text(),      form.BitBtn9->text(),         form.Image1->toolTip(),
            form.Image2->toolTip()};
}

const QStringList EnglishTexts{"Original file",
                               "Modified file",
                               "Jpeg quality adjust",
                               "Drag cursor to adjust jpg compression",
                               "Indicates available physical memory",
                               "Load a BMP or JPG file",
                               "Top left corner",
                               "Fit to screen",
                               "Rotate and save modified jpg file",
                               "Help",
                               "Rotate and save original bmp/jpg  (lossless)",
                               "Load file",
                               "Save jpg as",
                               "Rotate original",
                               "Original picture",
                               "Double click for a  full-size picture"};

const QStringList FrenchTexts{
    QString::fromUtf8("Fichier original"),
    QString::fromUtf8("Fichier modifié"),
    QString::fromUtf8("Choix qualité jpeg"),
    QString::fromUtf8("Déplacez le curseur pour modifier le taux de compression jpg"),
    QString::fromUtf8("Indique la quantité de mémoire physique disponible"),
    QString::fromUtf8("Charger un fichier BMP ou JPG"),
    QString::fromUtf8("Coin supérieur gauche"),
    QString::fromUtf8("Adaptation à la taille écran"),
    QString::fromUtf8("Rotation et sauvegarde du fichier jpg modifié"),
    QString::fromUtf8("Aide"),
    QString::fromUtf8(
        "Rotation et sauvegarde sans perte \nde qualité du fichier bmp/jpg d'origine"),
    QString::fromUtf8("Charger fichier"),
    QString::fromUtf8("Sauvegarder jpg"),
    QString::fromUtf8("Rotation original"),
    QString::fromUtf8("Image d'origine"),
    QString::fromUtf8("Double-cliquez pour une image taille réelle")};

void expectAutoSizedAt(const TLabel* label, QPoint position, const char* caption) {
    SCOPED_TRACE(label->objectName().toStdString());
    const QFontMetrics metrics(label->font());
    EXPECT_EQ(label->caption(), QString::fromUtf8(caption));
    const int height = label->font().pixelSize() == 13 ? 16 : 13;
    EXPECT_EQ(label->geometry(),
              QRect(position, QSize(metrics.horizontalAdvance(label->caption()), height)));
}

void expectFont(const QWidget* control, int pixelSize, bool bold) {
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_EQ(control->font().pixelSize(), pixelSize);
    EXPECT_EQ(control->font().bold(), bold);
}

void expectColours(const TLabel* label, QColor text, QColor background) {
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_EQ(label->fontColor(), text);
    EXPECT_EQ(label->color(), background);
    EXPECT_TRUE(label->autoFillBackground());
}

QList<QWidget*> allControls(TForm1& form) {
    return form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

TEST_F(MainWindow, EveryControlAtItsPlaceWithItsSizeVisibilityAndState) {
    TForm1& form = start().form1;
    EXPECT_EQ(form.windowTitle(), "Trevano  V2.0 b");
    EXPECT_EQ(form.size(), QSize(786, 564));
    struct Placed {
        QWidget* control;
        QRect geometry;
        bool visible;
        bool enabled;
    };
    const std::vector<Placed> controls{
        {form.Image1, {9, 75, 376, 469}, true, true},
        {form.Image2, {405, 75, 376, 469}, true, true},
        {form.Label9, {429, 9, 121, 13}, true, true},
        {form.Bevel1, {3, 54, 781, 2}, true, true},
        {form.Bevel2, {393, 54, 2, 508}, true, true},
        {form.Edit1, {417, 48, 49, 21}, false, true},
        {form.BitBtn1, {574, 3, 104, 24}, true, true},
        {form.BitBtn2, {600, 27, 26, 24}, true, false},
        {form.BitBtn3, {574, 27, 26, 24}, true, false},
        {form.BitBtn4, {678, 27, 104, 24}, true, false},
        {form.BitBtn5, {652, 27, 26, 24}, true, true},
        {form.BitBtn6, {626, 27, 26, 24}, true, true},
        {form.BitBtn7, {626, 27, 26, 24}, false, true},
        {form.BitBtn9, {678, 3, 104, 24}, true, false},
        {form.TrackBar1, {3, 6, 409, 28}, false, true},
        {form.ProgressBar1, {30, 9, 346, 17}, false, true},
        {form.ProgressBar2, {429, 27, 121, 10}, true, true},
    };
    for (const Placed& placed : controls) {
        SCOPED_TRACE(placed.control->objectName().toStdString());
        EXPECT_EQ(placed.control->geometry(), placed.geometry);
        EXPECT_EQ(placed.control->isVisible(), placed.visible);
        EXPECT_EQ(placed.control->isEnabled(), placed.enabled);
    }
    expectAutoSizedAt(form.Label1, {555, 59}, " Jpeg Quality = 100 % ");
    expectAutoSizedAt(form.Label2, {156, 34}, "Jpeg quality adjust");
    expectAutoSizedAt(form.Label3, {21, 34}, "0 %");
    expectAutoSizedAt(form.Label4, {372, 34}, "100 %");
    expectAutoSizedAt(form.Label5, {162, 59}, " Original ");
    expectAutoSizedAt(form.Label6, {2, 15}, "Compressing");
    expectAutoSizedAt(form.Label7, {141, 545}, "Size original file");
    expectAutoSizedAt(form.Label8, {528, 545}, "Size compressed file ");
    expectAutoSizedAt(form.Label10, {9, 546}, "Original file");
    expectAutoSizedAt(form.Label11, {405, 546}, "Modified file");
    for (const TLabel* hidden : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5,
                                 form.Label6, form.Label7, form.Label8}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(form.Label9->caption(), "Free Memory");
    EXPECT_TRUE(form.Image1->center());
    EXPECT_TRUE(form.Image2->center());
    EXPECT_TRUE(form.Edit1->isReadOnly());
    EXPECT_EQ(form.Edit1->text(), "");
}

TEST_F(MainWindow, FontsAndColoursOfTheLabels) {
    TForm1& form = start().form1;
    expectFont(&form, 11, false);
    for (const TLabel* large : {form.Label1, form.Label5, form.Label6, form.Label7, form.Label8}) {
        expectFont(large, 13, true);
    }
    for (const TLabel* small : {form.Label2, form.Label3, form.Label4}) {
        expectFont(small, 11, true);
    }
    for (const TLabel* plain : {form.Label9, form.Label10, form.Label11}) {
        expectFont(plain, 11, false);
    }
    for (const TLabel* readout : {form.Label1, form.Label5, form.Label7, form.Label8}) {
        expectColours(readout, QColor(255, 255, 0), Qt::black);
    }
    expectColours(form.Label6, Qt::white, QColor(255, 0, 0));
    EXPECT_EQ(form.Label10->fontColor(), QColor(128, 0, 0));
    EXPECT_EQ(form.Label11->fontColor(), QColor(128, 0, 0));
    EXPECT_FALSE(form.Label10->autoFillBackground());
}

TEST_F(MainWindow, SliderProgressBarsTimersAndDialogsAsDesigned) {
    TForm1& form = start().form1;
    EXPECT_EQ(form.TrackBar1->minimum(), 0);
    EXPECT_EQ(form.TrackBar1->maximum(), 100);
    EXPECT_EQ(form.TrackBar1->value(), 100);
    EXPECT_EQ(form.TrackBar1->pageStep(), 10);
    EXPECT_EQ(form.TrackBar1->selStart(), 0);
    EXPECT_EQ(form.TrackBar1->selEnd(), 100);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
    EXPECT_TRUE(form.ProgressBar2->smooth());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.Timer2->interval(), 1000);
    EXPECT_EQ(form.ImageList1.size(), 7u);
    for (const QPixmap& glyph : form.ImageList1) {
        EXPECT_EQ(glyph.size(), QSize(18, 18));
    }
    EXPECT_EQ(form.BitBtn6->glyph().size(), QSize(15, 12));
    EXPECT_EQ(form.BitBtn7->glyph().size(), QSize(18, 12));
    EXPECT_EQ(form.BitBtn6->toolTip(), QString::fromUtf8("Passer en langue française"));
    EXPECT_EQ(form.BitBtn7->toolTip(), "Switch to English language");
    EXPECT_EQ(form.OpenPictureDialog1.filter,
              "JPEG + BMP|*.jpg;*.bmp|JPEG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp|*.*|*.*");
    EXPECT_EQ(form.SavePictureDialog1.filter, "JPEG (*.jpg)|*.jpg|*.*|*.*");
    EXPECT_EQ(form.SavePictureDialog1.defaultExtension, "jpg");
    EXPECT_EQ(form.SavePictureDialog1.fileName, "My Jpg");
    EXPECT_TRUE(form.SavePictureDialog1.overwritePrompt);
}

TEST_F(MainWindow, FocusGoesThroughTheControlsInTheirDesignOrder) {
    TForm1& form = start().form1;
    form.Edit1->show(); // hidden at start; shown here so the whole chain can be walked
    const QStringList expected{"Edit1",   "BitBtn1", "BitBtn2", "BitBtn3", "TrackBar1",
                               "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7", "BitBtn9"};
    QStringList order;
    QWidget* widget = form.Edit1;
    do {
        if (expected.contains(widget->objectName())) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != form.Edit1);
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindow, FirstRunStartsInEnglishAndCreatesTheSettingsFile) {
    TForm1& form = start().form1;
    EXPECT_EQ(interfaceTexts(form), EnglishTexts);
    EXPECT_TRUE(form.BitBtn6->isVisible());
    EXPECT_FALSE(form.BitBtn7->isVisible());
    EXPECT_EQ(storedLanguage(), "English");
    EXPECT_TRUE(program_->dialogs.boxes.empty());
}

TEST_F(MainWindow, StoredFrenchStartsInFrenchWithTheEnglishFlagShown) {
    storeLanguage("Language=Fran\xc3\xa7"
                  "ais");
    TForm1& form = start().form1;
    EXPECT_EQ(interfaceTexts(form), FrenchTexts);
    EXPECT_TRUE(form.BitBtn7->isVisible());
    EXPECT_FALSE(form.BitBtn6->isVisible());
}

TEST_F(MainWindow, AnEmptyOrSmallLetterLanguageStartsInEnglish) {
    for (const QByteArray& line : {QByteArray("Language="), QByteArray("Other=1"),
                                   QByteArray("Language=fran\xc3\xa7"
                                              "ais")}) {
        storeLanguage(line);
        TForm1& form = start().form1;
        EXPECT_EQ(interfaceTexts(form), EnglishTexts) << line.toStdString();
        EXPECT_TRUE(form.BitBtn6->isVisible());
    }
}

TEST_F(MainWindow, SwitchingToFrenchAndBackRewritesTheTextsAndSwapsTheFlags) {
    TForm1& form = start().form1;
    QTest::mouseClick(form.BitBtn6, Qt::LeftButton);
    EXPECT_EQ(interfaceTexts(form), FrenchTexts);
    EXPECT_TRUE(form.BitBtn7->isVisible());
    EXPECT_FALSE(form.BitBtn6->isVisible());
    EXPECT_EQ(storedLanguage(), French);
    EXPECT_EQ(program_->settings.Language, French);

    QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
    EXPECT_EQ(interfaceTexts(form), EnglishTexts);
    EXPECT_TRUE(form.BitBtn6->isVisible());
    EXPECT_FALSE(form.BitBtn7->isVisible());
    EXPECT_EQ(storedLanguage(), "English");
}

TEST_F(MainWindow, TheSwitchLeavesTheTextsOtherPartsBuild) {
    TForm1& form = start().form1;
    form.Label1->setCaption("  Jpeg Quality = 40 % ");
    form.Label5->setCaption(" photo.jpg ");
    form.Label7->setCaption("12  Kb");
    form.Label8->setCaption("3  Kb");
    form.Label9->setCaption("Free Memory = 812 Mb");
    form.BitBtn2->setToolTip("Center image");
    form.setWindowTitle("/home/me/photo.jpg");
    const auto untouched = [&form] {
        return QStringList{form.Label1->caption(),  form.Label3->caption(), form.Label4->caption(),
                           form.Label5->caption(),  form.Label6->caption(), form.Label7->caption(),
                           form.Label8->caption(),  form.Label9->caption(), form.windowTitle(),
                           form.BitBtn6->toolTip(), form.BitBtn7->toolTip()};
    };
    const QStringList before = untouched();
    QTest::mouseClick(form.BitBtn6, Qt::LeftButton);
    EXPECT_EQ(untouched(), before);
    // The alignment hint is one of the sixteen and is reset whatever the mode.
    EXPECT_EQ(form.BitBtn2->toolTip(), QString::fromUtf8("Coin supérieur gauche"));
}

TEST_F(MainWindow, AClickWhenTheSettingsFileIsGoneDoesNothing) {
    TForm1& form = start().form1;
    QFile::remove(settingsFile());
    QTest::mouseClick(form.BitBtn6, Qt::LeftButton);
    EXPECT_EQ(interfaceTexts(form), EnglishTexts);
    EXPECT_TRUE(form.BitBtn6->isVisible());
    EXPECT_TRUE(program_->dialogs.boxes.empty());
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

TEST_F(MainWindow, AtStartOnlyLoadHelpAndTheVisibleFlagReact) {
    TForm1& form = start().form1;
    QStringList reacted;
    for (TBitBtn* button : form.findChildren<TBitBtn*>()) {
        QObject::connect(button, &QPushButton::clicked,
                         [&reacted, button] { reacted << button->objectName(); });
    }
    // The two flag buttons share one place: a click there reaches the visible one.
    EXPECT_EQ(form.childAt(form.BitBtn7->geometry().center()), form.BitBtn6);
    for (TBitBtn* button : {form.BitBtn1, form.BitBtn2, form.BitBtn3, form.BitBtn4, form.BitBtn5,
                            form.BitBtn9, form.BitBtn6}) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(reacted, QStringList({"BitBtn1", "BitBtn5", "BitBtn6"}));
}

TEST_F(MainWindow, DoubleClickOnTheEmptyRightPaneOpensTheEmptyViewerAndNothingElse) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    QTest::mouseDClick(form.Image2, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(program.form2.isVisible());
    EXPECT_TRUE(program.dialogs.boxes.empty());
    EXPECT_FALSE(form.Label1->isVisible());
    EXPECT_FALSE(form.BitBtn4->isEnabled());
    EXPECT_EQ(form.windowTitle(), "Trevano  V2.0 b");
    EXPECT_FALSE(program.form3.isVisible());
    EXPECT_FALSE(program.form4.isVisible());
}

TEST_F(MainWindow, TheOtherWindowsAreCreatedHiddenAtTheirSizes) {
    MainWindowProgram& program = start();
    EXPECT_FALSE(program.form2.isVisible());
    EXPECT_FALSE(program.form3.isVisible());
    EXPECT_FALSE(program.form4.isVisible());
    EXPECT_EQ(program.form2.size(), QSize(793, 565));
    EXPECT_EQ(program.form3.size(), QSize(640, 480));
    EXPECT_EQ(program.form4.size(), QSize(765, 547));
    EXPECT_EQ(program.form2.windowTitle(), "Real size");
    EXPECT_EQ(program.form4.windowTitle(), "Trevano");
}

TEST_F(MainWindow, CentredOnTheScreenAndResizingMovesNothing) {
    TForm1& form = start().form1;
    const QRect outer = form.frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint((1280 - outer.width()) / 2, (800 - outer.height()) / 2));
    EXPECT_EQ(form.size(), QSize(786, 564));
    std::vector<std::pair<QWidget*, QRect>> before;
    for (QWidget* control : allControls(form)) {
        before.emplace_back(control, control->geometry());
    }
    form.resize(1000, 700);
    form.resize(300, 200);
    for (const auto& [control, geometry] : before) {
        EXPECT_EQ(control->geometry(), geometry) << control->objectName().toStdString();
    }
}

TEST_F(MainWindow, AnUnwritableSettingsFileIsReportedAndTheWindowStillStartsInEnglish) {
    QDir().mkpath(settingsFile());
    MainWindowProgram& program = start();
    ASSERT_EQ(program.dialogs.boxes.size(), 1u);
    EXPECT_EQ(program.dialogs.boxes[0].kind, MessageBoxKind::StandardError);
    EXPECT_EQ(program.dialogs.boxes[0].text, "Impossible de créer la clé " + settingsFile());
    EXPECT_TRUE(program.form1.isVisible());
    EXPECT_EQ(interfaceTexts(program.form1), EnglishTexts);
    EXPECT_EQ(program.settings.Path, "");
}

TEST(MainWindowErrors, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
    FakeSettingsStore store;
    store.values = {{"Language", "English"}, {"Path", "/opt/"}};
    MainWindowProgram program(store);
    program.form1.show();
    store.failingWrites = {"Language"};
    QTest::mouseClick(program.form1.BitBtn6, Qt::LeftButton);
    ASSERT_EQ(program.dialogs.boxes.size(), 1u);
    EXPECT_EQ(program.dialogs.boxes[0].title, "Trevano");
    EXPECT_EQ(program.dialogs.boxes[0].text, "Impossible d'écrire la valeur 'Language'");
    EXPECT_TRUE(program.form1.BitBtn6->isVisible());
    EXPECT_EQ(program.form1.BitBtn1->text(), "Load file");

    store.failingWrites.clear(); // the next click works as if nothing had happened
    QTest::mouseClick(program.form1.BitBtn6, Qt::LeftButton);
    EXPECT_EQ(program.form1.BitBtn1->text(), "Charger fichier");
    EXPECT_EQ(program.dialogs.boxes.size(), 1u);
}

// Sized for four-digit figures, the label widens to the right for more, up to the load button.
TEST_F(MainWindow, TheFreeMemoryLabelWidensToItsFigureAndKeepsItsLeftEdge) {
    struct Row {
        const char* language;
        std::uint64_t megabytes;
        const char* caption;
    };
    const Row rows[] = {
        {"English", 812, "Free Memory = 812 Mb"},
        {"English", 23657, "Free Memory = 23657 Mb"},
        {"English", 123456, "Free Memory = 123456 Mb"},
        {"Français", 812, "Mémoire libre = 812 Mo"},
        {"Français", 23657, "Mémoire libre = 23657 Mo"},
        {"Français", 123456, "Mémoire libre = 123456 Mo"},
        {"English", 812, "Free Memory = 812 Mb"}, // and back again
    };
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        program.settings.Language = QString::fromUtf8(row.language);
        program.memory.figures = {std::uint64_t{256} << 30, row.megabytes << 20};
        form.Timer2Timer();
        EXPECT_EQ(form.Label9->caption(), QString::fromUtf8(row.caption));
        const int textWidth = form.Label9->fontMetrics().horizontalAdvance(form.Label9->caption());
        EXPECT_EQ(form.Label9->geometry(), QRect(429, 9, std::max(121, textWidth), 13));
        EXPECT_LE(form.Label9->geometry().right(), form.BitBtn1->x());
    }
    EXPECT_EQ(form.ProgressBar2->geometry(), QRect(429, 27, 121, 10));
}
