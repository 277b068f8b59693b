#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/metadata/PictureMetadata.h"
#include "imaging/picture/TProgressStage.h"
#include "main_window/MainWindowServices.h"
#include "main_window/MainWindowState.h"
#include "recompress/PreparedPicture.h"
#include "recompress/RecompressOptions.h"
#include "ui/FileDialogOptions.h"
#include "ui/HandlerGuard.h"

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

struct LanguageText;
class BackgroundTask;
class PreviewJudge;
class QFrame;
class QLineEdit;
class QMenu;
class QThreadPool;
class QTimer;
class Settings;
class TBitBtn;
class TJPEGImage;
class TMemoryStream;
class TForm2;
class TForm3;
class TForm4;
class TImage;
class TLabel;
class TProgressBar;
class TTrackBar;

// The main window: the two picture panes, the quality slider, the readouts and the buttons
// that lead to every other part of the program. Controls sit at fixed positions; resizing
// the window moves none of them.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Creating the window loads the settings.
    TForm1(Settings& settings, MainWindowServices services, QWidget* parent = nullptr);
    // Stops the work on the worker thread and waits for it.
    ~TForm1() override;

    // The windows this one opens; they are created after it.
    void attachWindows(TForm2* form2, TForm3* form3, TForm4* form4);

    // Loads a picture file as if the user had chosen it in the open dialog: the file named
    // on the command line comes in here. Failures go to the caller's guard, as in a handler.
    void loadFile(const QString& fileName);

    static constexpr QSize ClientSize{786, 564};
    static constexpr const char* Caption = "Trevano  V2.0 b";

    // The controls, named as in the window's design.
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* NewSizeLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TBitBtn* BitBtn6 = nullptr;
    TBitBtn* BitBtn7 = nullptr;
    TBitBtn* BitBtn9 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TProgressBar* ProgressBar2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    std::vector<QPixmap> ImageList1;
    FileDialogOptions OpenPictureDialog1;
    FileDialogOptions SavePictureDialog1;

    MainWindowState State;

    // Event handlers; each runs inside the window's handler guard.
    void FormCreate();
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void BitBtn9Click();
    void TrackBar1Change();
    void Timer1Timer();
    void Timer2Timer();
    void Image2DblClick();
    // Reports of the load's JPEG picture while it decodes or encodes.
    void JpegProgress(TProgressStage stage, int percentDone);
    // The slider's context menu and its item: the highest quality under a size.
    void TrackBar1ContextPopup(QPoint at);
    void SizeSearchClick();
    void SimilaritySearchClick();
    // The menu's choices for every new file: its details, its coding, its longest side.
    void KeepDetailsClick(bool keep);
    void SmallerFileClick(bool smaller);
    void SmallestFileClick(bool smallest);
    void LongestSideClick(int pixels);

    // The length of the file a save would write now: the preview's, with the markers the
    // save writes in place of those it was encoded with.
    qint64 previewBytes() const;

    // Runs a handler the way the window's own events run theirs.
    const HandlerGuard& guard() const { return guard_; }
    Settings& settings() { return settings_; }
    DialogService& dialogs() { return services_.dialogs; }

protected:
    void showEvent(QShowEvent* event) override;
    // A BMP or JPEG file dropped on the window is loaded.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createPanes();
    void createLabels();
    void createDividers();
    void createButtons();
    void createSlider();
    void createProgressBars();
    void createTimers();
    void createDialogs();
    void setFocusOrder();
    void connectHandlers();
    TLabel* addLabel(const char* name, QPoint position, const char* caption, int pixelSize,
                     bool bold);
    TBitBtn* addButton(const char* name, QRect geometry, const char* caption, const char* hint,
                       const QPixmap& glyph);

    void showLanguageButtons();
    void applyInterfaceTexts();
    void switchLanguage(const QString& language);
    const QString& language() const;

    void setPictureLabelsVisible(bool visible);
    void clearPictures();
    void measureSourceFile();
    PictureMetadata loadPicture(TJPEGImage& workJpeg, TBitmap& workBitmap);
    void offerNoPicture();
    void keepLeftPanePixels(const std::optional<FileIdentity>& identity, bool progressive,
                            const PictureMetadata& metadata);
    // The loaded file as every new file is made of it, as the file is now on disk: the pixels
    // of the last preparation stand for it only while it is provably unchanged.
    void preparePicture();
    // Puts the prepared pixels into `encoder` with the markers the save would write beside
    // them, so a preview's size is the saved file's.
    void readyToEncode(TJPEGImage& encoder);
    QMenu* longestSideMenu(QMenu* parent);
    // Makes the preview on screen again after a choice about new files changed.
    void recodePreview();
    // What the settings ask of every new file: the preview's, the searches' and the save's.
    RecompressOptions recompressOptions() const;
    void showCompressedResult(TJPEGImage& workJpeg, TMemoryStream& stream);
    void releaseShownPreview();
    void showLoadedPicture(TJPEGImage& workJpeg);
    void resetDisplayMode();
    void updateViewer(TJPEGImage& picture);
    void recompress(int quality);
    // The loaded picture's size on screen at real size, in the window's units.
    QSize shownPictureSize() const;
    void setAlignmentButtonState();
    void setLabelTops(int top);
    void placeLabelsOverCentredPicture();
    void setLabelColours(const QColor& background);
    std::optional<QString> chooseNewFile(const LanguageText& title, const QString& defaultExtension,
                                         const QString& filter);
    bool isLoadedFile(const std::optional<QString>& chosen);

    Settings& settings_;
    MainWindowServices services_;
    HandlerGuard guard_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    bool shownBefore_ = false;
    PreparedPicture prepared_;
    // What the file of the preview on screen says beside its pixels, and the length of the
    // markers the preview was encoded with: the readout follows the details item without a
    // new encode, since markers add their bytes and change no other.
    PictureMetadata previewSource_;
    // The size of the shrunk picture the preview is compared with (empty: the loaded one),
    // nothing until a comparison is set after a load.
    std::optional<QSize> comparedSize_;
    TBitmap comparedPixels_;
    std::int64_t previewMarkersLength_ = 0;

    // The similarity score and the two searches, beyond the slider and the readouts.
    void createJudging();
    void pictureLoaded();
    void judgePreview();
    void compareWithLoaded();
    // Tells the preview's pixel size beside its file size while it is shrunk.
    void showNewPixelSize();
    void searchQualityUnder(qint64 kibibytes);
    void sizeSearchEnded(int quality, qint64 kibibytes);
    // Both searches: the window busy with the bar shown, then free again.
    void searchStarted();
    void searchEnded();
    void searchFailed(const QString& text);
    void searchQualityReaching(double aim);
    void similaritySearchEnded(const std::optional<int>& quality, double aim);
    // A similarity as the box shows it: its decimals, a decimal comma in French.
    QString aimText(double aim) const;
    // The one worker thread; declared first, so it goes last and waits for the work that
    // the two below have stopped.
    std::unique_ptr<QThreadPool> worker_;
    std::unique_ptr<PreviewJudge> judge_;
    std::unique_ptr<BackgroundTask> search_;
};
