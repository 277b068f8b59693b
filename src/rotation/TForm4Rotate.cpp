// Turning the picture file a quarter turn: JPEG files through the rotation tool, bitmaps in
// the program.
#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/bmp/TBitmapRotation.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "platform/FileOperations.h"
#include "platform/ProcessLauncher.h"
#include "recompress/PictureFileKind.h"
#include "recompress/ReplacingWriter.h"
#include "rotation/JpegtranCommand.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BusyScope.h"
#include "ui/DialogService.h"
#include "ui/MessagePump.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TProgressBar.h"

#include <QCheckBox>
#include <new>

namespace {

constexpr std::uint32_t Red = 0x000000FF; // Windows colour values, 0x00BBGGRR
constexpr std::uint32_t Green = 0x0000FF00;
constexpr int PollMilliseconds = 100;
constexpr int MostFailedPolls = 2000;

// The tool's two work files live in a hidden folder of the turn's own beside the picture:
// no other file, turn or running copy of the program shares their names, the final rename
// stays on one file system, and every user who can write the picture's folder can turn it.
// The folder and its files are gone after the turn, whatever happened.
class WorkFiles {
public:
    WorkFiles(FileOperations& files, const QString& picture)
        : files_(files), folder_(files.createFolderBeside(picture)) {}
    ~WorkFiles() {
        if (folder_) {
            files_.remove(output());
            files_.remove(finished());
            files_.removeFolder(*folder_);
        }
    }
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;

    // False when the picture's folder takes no new folder.
    bool ready() const { return folder_.has_value(); }
    QString output() const { return JpegtranCommand::outputFile(folder_.value_or(QString())); }
    QString finished() const { return JpegtranCommand::finishedFile(folder_.value_or(QString())); }

private:
    FileOperations& files_;
    std::optional<QString> folder_;
};

} // namespace

void TForm4::BitBtn1Click() {
    if (rotating_) {
        return; // one turn at a time: the work files are the running turn's
    }
    angle_ = angle_ == 0 ? 90 : angle_ == 90 ? 180 : angle_ == 180 ? 270 : 0;
    BitBtn1->setText(QString::number(angle_));
    const BusyScope busy(rotating_);
    if (PictureFileKind::isJpeg(PictureFileKind::extension(pictureFile()))) {
        rotateJpeg();
    } else {
        rotateBitmap();
    }
}

void TForm4::rotateJpeg() {
    ProgressBar1->setBarColor(Red);
    // Whatever goes wrong past the messages of the tool's own ends the turn quietly: the
    // picture file is left as it was.
    try {
        runRotationTool();
    } catch (const Exception&) {
    } catch (const std::bad_alloc&) {
    }
    ProgressBar1->hide();
}

void TForm4::runRotationTool() {
    // Only a regular file is handed to the tool: a FIFO would hold it for good.
    const WorkFiles work(services_.files, pictureFile());
    if (!work.ready() || !services_.files.fileSize(pictureFile())) {
        services_.dialogs.showMessage(Texts::RotationFailed.in(settings_.Language));
        return;
    }
    const std::unique_ptr<LaunchedProcess> tool = services_.processes.start(
        JpegtranCommand::program(settings_.Path),
        JpegtranCommand::arguments(CheckBox1->isChecked(), pictureFile(), work.output()));
    if (!tool) {
        services_.dialogs.showError("Error n° 1017");
        return;
    }
    waitWithProgress(*tool);
    if (!collectToolOutput(*tool, work.output(), work.finished())) {
        services_.dialogs.showMessage(Texts::RotationFailed.in(settings_.Language));
        return;
    }
    // Only a JPEG picture replaces the picture file: the tool's output is read first.
    TJPEGImage rotated;
    try {
        rotated.ReadFromFile(work.finished().toStdString());
    } catch (const Exception&) {
        services_.dialogs.showMessage(Texts::RotationFailed.in(settings_.Language));
        return;
    }
    if (!services_.files.replace(work.finished(), pictureFile())) {
        services_.dialogs.showMessage(Texts::RenameFailed.in(settings_.Language));
    }
    showPictureFile();
}

void TForm4::waitWithProgress(LaunchedProcess& tool) {
    // About a millisecond per 100 bytes of picture, in a hundred steps, or less when the
    // tool is done sooner: the bar moves meanwhile.
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    const qint64 bytes = services_.files.fileSize(pictureFile()).value_or(0);
    const int step = static_cast<int>(std::min<qint64>(bytes / 10000, 1 << 20));
    for (int i = 0; i < 100; ++i) {
        const bool ended = tool.waitForEnd(step);
        ProgressBar1->setValue(i);
        MessagePump::processMessages();
        if (ended) {
            break;
        }
    }
    ProgressBar1->hide();
}

bool TForm4::collectToolOutput(LaunchedProcess& tool, const QString& output,
                               const QString& finished) {
    // While the tool runs its output is not finished; once it has ended, its output is there
    // or never will be.
    for (int failed = 0; failed <= MostFailedPolls; ++failed) {
        if (tool.waitForEnd(PollMilliseconds)) {
            return services_.files.renameNew(output, finished);
        }
        MessagePump::processMessages();
    }
    return false;
}

void TForm4::rotateBitmap() {
    ProgressBar1->setBarColor(Green);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    // A failed turn still takes the bar away: it would stand for work that is not going on.
    struct HideBar {
        TProgressBar* bar;
        ~HideBar() { bar->hide(); }
    } hideBar{ProgressBar1};
    TBitmap source;
    source.ReadFromFile(pictureFile().toStdString());
    TBitmap destination;
    const int width = source.width();
    rotateClockwise(source, destination, [this, width](int column) {
        ProgressBar1->setValue(column * 100 / width + 1);
        MessagePump::processMessages();
    });
    writeReplacing(services_.files, pictureFile(), [&destination](const std::string& fileName) {
        destination.WriteToFile(fileName);
    });
    Image3->setGraphic(&destination);
}
