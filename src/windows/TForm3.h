#pragma once

#include "ui/HandlerGuard.h"

#include <QWidget>

class DialogService;
class QTextEdit;
class ScreenSize;
class Settings;
class TImage;

// The help window: a borderless panel over the other windows with the eight points of help in
// the interface language. It takes the outline of its background picture: wherever the window
// colour shows, the window is see-through, to the eye and to the mouse.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    TForm3(Settings& settings, ScreenSize& screen, DialogService& dialogs,
           QWidget* parent = nullptr);

    static constexpr QSize ClientSize{640, 480};
    // The window's colour, and the one colour that leaves a place see-through.
    static constexpr QRgb KeyColour = qRgb(1, 1, 1);
    // Read from the installation folder at every showing.
    static constexpr const char* BackgroundFile = "Fond_aide.bmp";
    static constexpr const char* DesignText = "RichEdit1";

    TImage* Image1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;

    // Every showing: the background picture again, then the whole text again.
    void FormShow();
    void Image1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createPicture();
    void createText();
    void loadBackground();
    void fillText();
    void centreOnScreen();
    void cutOutKeyColour();

    Settings& settings_;
    ScreenSize& screen_;
    HandlerGuard guard_;
};
