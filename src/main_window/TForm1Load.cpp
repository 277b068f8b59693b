// Loading a picture: the load button, its progress reports and the load sound.
#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/LoadSound.h"
#include "main_window/PreviewJudge.h"
#include "main_window/Readouts.h"
#include "main_window/TForm1.h"
#include "platform/FileOperations.h"
#include "platform/desktop/SoundPlayer.h"
#include "recompress/JpegDecodeOptions.h"
#include "recompress/JpegEncoding.h"
#include "recompress/PictureFileKind.h"
#include "recompress/SourceFile.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BusyScope.h"
#include "ui/DialogService.h"
#include "ui/MessagePump.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"
#include "windows/TForm2.h"

#include <QLineEdit>
#include <QTimer>

void TForm1::BitBtn1Click() {
    if (State.Busy) {
        return;
    }
    // Also when the dialog is then cancelled.
    State.CurrentQuality = 100;
    State.CompressedQuality = 100;
    OpenPictureDialog1.fileName.clear();
    OpenPictureDialog1.title = Texts::OpenDialogTitle.in(language());
    const std::optional<QString> chosen = services_.dialogs.openPictureFile(OpenPictureDialog1);
    if (chosen) {
        loadFile(*chosen);
    }
}

void TForm1::loadFile(const QString& fileName) {
    if (State.Busy) {
        return;
    }
    // As the load button sets them before its dialog, for a file that comes from elsewhere.
    State.CurrentQuality = 100;
    State.CompressedQuality = 100;
    const BusyScope busy(State.Busy);
    setPictureLabelsVisible(false);
    NewSizeLabel->hide();
    clearPictures();
    judge_->setLoaded(nullptr, std::nullopt); // the last file's pixels go before the new ones come
    Edit1->setText(fileName);
    setWindowTitle(Edit1->text());
    measureSourceFile();
    TBitmap workBitmap;
    TJPEGImage workJpeg;
    workJpeg.OnProgress = [this](TGraphic&, TProgressStage stage, std::uint8_t percentDone, bool,
                                 const TRect&,
                                 const std::string&) { JpegProgress(stage, percentDone); };
    State.SourceExtension = PictureFileKind::extension(Edit1->text());
    prepared_.clear();
    previewSource_ = {};
    previewMarkersLength_ = 0;
    try {
        const PictureMetadata metadata = loadPicture(workJpeg, workBitmap);
        Label5->setToolTip(Readouts::storedOrientation(metadata.orientation, language()));
        showLoadedPicture(workJpeg);
    } catch (...) {
        offerNoPicture();
        throw;
    }
    services_.sound.play(LoadSound::wave());
}

void TForm1::offerNoPicture() {
    // The file named now is no picture: nothing may offer to save, copy or turn it, nor the
    // one loaded before it, until a load succeeds.
    for (TBitBtn* button : {BitBtn2, BitBtn3, BitBtn4, BitBtn9}) {
        button->setEnabled(false);
    }
}

void TForm1::setPictureLabelsVisible(bool visible) {
    for (QWidget* control : std::initializer_list<QWidget*>{Label1, Label2, Label3, Label4, Label5,
                                                            Label7, Label8, TrackBar1}) {
        control->setVisible(visible);
    }
}

void TForm1::clearPictures() {
    Image1->setGraphic(nullptr);
    Image2->setGraphic(nullptr);
    if (form2_) {
        form2_->Image4->setGraphic(nullptr);
    }
}

void TForm1::measureSourceFile() {
    // A file that does not open keeps the previous readout; reading it fails next.
    if (const std::optional<qint64> bytes = services_.files.fileSize(Edit1->text())) {
        Label7->setCaption(Readouts::size(*bytes, language()));
    }
}

PictureMetadata TForm1::loadPicture(TJPEGImage& workJpeg, TBitmap& workBitmap) {
    // The file as read now is what the first recompression starts from, unless it changes.
    const std::optional<FileIdentity> identity = services_.files.identity(Edit1->text());
    if (PictureFileKind::isJpeg(State.SourceExtension)) {
        PictureMetadata metadata = SourceFile::readJpeg(Edit1->text(), workJpeg);
        Image1->setGraphic(&workJpeg);
        keepLeftPanePixels(identity, workJpeg.ProgressiveWrite(), metadata);
        preparePicture(); // a picture shrunk to a longest side takes the file's own road
        readyToEncode(workJpeg);
        JpegEncoding::encode(workJpeg, 100);
        return metadata;
    }
    PictureMetadata metadata = SourceFile::readBitmap(Edit1->text(), workBitmap);
    Image1->setGraphic(&workBitmap);
    prepared_.keepFullDecode(Edit1->text(), PictureFileKind::windowKind(State.SourceExtension),
                             identity, workBitmap, false, metadata);
    preparePicture();
    readyToEncode(workJpeg);
    Label6->show();
    ProgressBar1->show();
    ProgressBar1->setValue(0);
    MessagePump::processMessages();
    JpegEncoding::encode(workJpeg, 100);
    return metadata;
}

void TForm1::keepLeftPanePixels(const std::optional<FileIdentity>& identity, bool progressive,
                                const PictureMetadata& metadata) {
    // The left pane's copy decodes the file as a recompression does: its pixels, drawn at
    // the next paint anyway, are the recompressions' starting point too.
    try {
        if (const TBitmap* pixels = Image1->picture().graphic()->drawingBitmap()) {
            prepared_.keepFullDecode(Edit1->text(),
                                     PictureFileKind::windowKind(State.SourceExtension), identity,
                                     *pixels, progressive, metadata);
        }
    } catch (const Exception&) {
        // Left to the first recompression, which reads the file and reports what is wrong.
    }
}

void TForm1::showCompressedResult(TJPEGImage& workJpeg, TMemoryStream& stream) {
    // Written out to learn the new file's size, then read back: the right pane shows what
    // that file would hold.
    stream.setPosition(0);
    workJpeg.WriteToStream(stream);
    previewMarkersLength_ = workJpeg.Markers().length();
    Label8->setCaption(Readouts::size(stream.size(), language()));
    stream.setPosition(0);
    workJpeg.ReadFromStream(stream);
    releaseShownPreview();
    // Once for the pane and the viewer.
    JpegDecodeOptions::decodeForPanes(workJpeg, recompressOptions().shownDepth);
    Image2->setGraphic(&workJpeg);
}

void TForm1::releaseShownPreview() {
    // The panes let go of the preview they show before the next one is decoded, so two
    // decoded previews of a large picture are never in memory at once. Nothing is painted
    // in between: the new preview is in place before messages run again.
    Image2->setGraphic(nullptr);
    if (form2_) {
        form2_->Image4->setGraphic(nullptr);
    }
}

void TForm1::showLoadedPicture(TJPEGImage& workJpeg) {
    TMemoryStream loadStream;
    showCompressedResult(workJpeg, loadStream);
    // The loaded picture's size, which the left pane shows; the right one may be shrunk.
    State.PictureWidth = Image1->picture().graphic()->width();
    State.PictureHeight = Image1->picture().graphic()->height();
    placeLabelsOverCentredPicture();
    Label5->setCaption(Readouts::name(Edit1->text(), State.PictureWidth, State.PictureHeight));
    setPictureLabelsVisible(true);
    setAlignmentButtonState();
    BitBtn3->setEnabled(true);
    BitBtn4->setEnabled(false);
    BitBtn9->setEnabled(true);
    Label1->setCaption(Texts::QualityAfterLoad.in(language()));
    TrackBar1->setValue(100);
    TrackBar1->setSelection(TrackBar1->selStart(), 100);
    resetDisplayMode();
    if (form2_) {
        form2_->Image4->resize(
            form2_->Image4->shownSize({workJpeg.ImageWidth(), workJpeg.ImageHeight()}));
        form2_->Image4->setGraphic(&workJpeg);
        form2_->setWindowTitle(Readouts::viewerCaption(windowTitle(), language()));
    }
    pictureLoaded();
}

void TForm1::resetDisplayMode() {
    for (TImage* pane : {Image1, Image2}) {
        pane->setProportional(false);
        pane->setStretch(false);
        pane->setCenter(true);
    }
    BitBtn3->setGlyph(ImageList1[4]);
    setLabelColours(Qt::black);
}

void TForm1::JpegProgress(TProgressStage stage, int percentDone) {
    switch (stage) {
    case TProgressStage::Starting:
        ProgressBar1->setValue(0);
        break;
    case TProgressStage::Running:
        ProgressBar1->setValue(percentDone);
        // Nothing pumps messages during an encode: the bar paints itself now.
        if (ProgressBar1->isVisible()) {
            ProgressBar1->repaint();
        }
        break;
    case TProgressStage::Ending:
        ProgressBar1->hide();
        Label6->hide();
        break;
    }
}
