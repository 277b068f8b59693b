#pragma once

#include "rotation/RotateWindowServices.h"
#include "ui/HandlerGuard.h"

#include <QWidget>

class LaunchedProcess;
class QCheckBox;
class QFrame;
class Settings;
class TBitBtn;
class TImage;
class TProgressBar;

// The rotate-and-save window, opened on a picture file whose full path is its caption. Each
// click on the rotate button turns the file on disk a quarter turn clockwise: a JPEG file
// without loss through the rotation tool, any other file as a bitmap, pixel by pixel.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    TForm4(Settings& settings, RotateWindowServices services, QWidget* parent = nullptr);

    static constexpr QSize ClientSize{765, 547};

    TImage* Image3 = nullptr;
    QFrame* Bevel1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

    // Sets the caption to the file and shows the window; a window already shown only takes
    // the new caption.
    void open(const QString& pictureFile);
    QString pictureFile() const { return windowTitle(); }
    int angle() const { return angle_; }
    bool rotating() const { return rotating_; }

    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();

signals:
    // OK was pressed: the picture in hand is saved as it stands.
    void okClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void showPictureFile();
    void rotateJpeg();
    void runRotationTool();
    void waitWithProgress(LaunchedProcess& tool);
    bool collectToolOutput(LaunchedProcess& tool, const QString& output, const QString& finished);
    void rotateBitmap();

    Settings& settings_;
    RotateWindowServices services_;
    HandlerGuard guard_;
    int angle_ = 0;
    bool rotating_ = false;
};
