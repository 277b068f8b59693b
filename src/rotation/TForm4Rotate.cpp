// Turning the picture file a quarter turn: JPEG files through the rotation tool, bitmaps in
// the program.
#include "core/Exception.h"
#include "imaging/TBitmap.h"
#include "imaging/TBitmapRotation.h"
#include "imaging/TJPEGImage.h"
#include "platform/FileOperations.h"
#include "platform/ProcessLauncher.h"
#include "rotation/JpegtranCommand.h"
#include "rotation/ReplacingWriter.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BusyScope.h"
#include "ui/DialogService.h"
#include "ui/MessagePump.h"
#include "ui/PictureFileKind.h"
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

// The tool's two work files are gone before it starts and after it ends, whatever happened.
class WorkFiles {
public:
    WorkFiles(FileOperations& files, const QString& folder)
        : files_(files), output_(JpegtranCommand::outputFile(folder)),
          finished_(JpegtranCommand::finishedFile(folder)) {
        removeBoth();
    }
    ~WorkFiles() { removeBoth(); }
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;

    const QString& output() const { return output_; }
    const QString& finished() const { return finished_; }

private:
    void removeBoth() {
        files_.remove(output_);
        files_.remove(finished_);
    }

    FileOperations& files_;
    QString output_;
    QString finished_;
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
    const WorkFiles work(services_.files, settings_.Path);
    const QString parameters =
        JpegtranCommand::parameters(CheckBox1->isChecked(), pictureFile(), settings_.Path);
    const std::unique_ptr<LaunchedProcess> tool = services_.processes.start(
        JpegtranCommand::program(settings_.Path), JpegtranCommand::arguments(parameters));
    if (!tool) {
        services_.dialogs.showError("Error n° 1017");
        return;
    }
    waitWithProgress(*tool);
    if (!collectToolOutput(*tool)) {
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

bool TForm4::collectToolOutput(LaunchedProcess& tool) {
    // While the tool runs its output is not finished; once it has ended, its output is there
    // or never will be.
    for (int failed = 0; failed <= MostFailedPolls; ++failed) {
        if (tool.waitForEnd(PollMilliseconds)) {
            return services_.files.renameNew(JpegtranCommand::outputFile(settings_.Path),
                                             JpegtranCommand::finishedFile(settings_.Path));
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
