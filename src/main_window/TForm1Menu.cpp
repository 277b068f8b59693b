// The slider's context menu: the two searches for a quality, and the choices every new file
// follows (its details, its coding, its longest side), each kept in the settings.
#include "main_window/PreviewJudge.h"
#include "main_window/Readouts.h"
#include "main_window/TForm1.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BusyScope.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"

#include <QActionGroup>
#include <QMenu>

namespace {

QAction* addChoice(QMenu* menu, const QString& name, const QString& text, bool checked) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

} // namespace

void TForm1::TrackBar1ContextPopup(QPoint at) {
    auto* menu = new QMenu(this);
    menu->setObjectName("TrackBar1Menu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setToolTipsVisible(true);
    QAction* sizeSearch = menu->addAction(Texts::SizeSearchItem.in(language()));
    connect(sizeSearch, &QAction::triggered, this, guard_.wrap([this] { SizeSearchClick(); }));
    QAction* similaritySearch = menu->addAction(Texts::SimilaritySearchItem.in(language()));
    similaritySearch->setObjectName("SimilaritySearchItem");
    connect(similaritySearch, &QAction::triggered, this,
            guard_.wrap([this] { SimilaritySearchClick(); }));
    QAction* details = addChoice(menu, "KeepDetailsItem", Texts::KeepDetailsItem.in(language()),
                                 settings_.KeepDetails);
    details->setToolTip(Texts::KeepDetailsHint.in(language()));
    connect(details, &QAction::toggled, this,
            [this](bool keep) { guard_.run([this, keep] { KeepDetailsClick(keep); }); });
    QAction* smaller = addChoice(menu, "SmallerFileItem", Texts::SmallerFileItem.in(language()),
                                 settings_.SmallerFiles);
    smaller->setToolTip(Texts::SmallerFileHint.in(language()));
    // Queued: making the preview again lets messages run, and the menu, closed by the click,
    // must not be deleted while it is still handling that click.
    connect(
        smaller, &QAction::toggled, this,
        [this](bool on) { guard_.run([this, on] { SmallerFileClick(on); }); },
        Qt::QueuedConnection);
    QAction* smallest = addChoice(menu, "SmallestFileItem", Texts::SmallestFileItem.in(language()),
                                  settings_.SmallestFiles);
    smallest->setToolTip(Texts::SmallestFileHint.in(language()));
    connect(
        smallest, &QAction::toggled, this,
        [this](bool on) { guard_.run([this, on] { SmallestFileClick(on); }); },
        Qt::QueuedConnection);
    menu->addMenu(longestSideMenu(menu));
    for (QAction* item : menu->actions()) {
        item->setEnabled(!State.Busy);
    }
    menu->popup(TrackBar1->mapToGlobal(at));
}

QMenu* TForm1::longestSideMenu(QMenu* parent) {
    auto* sides = new QMenu(Texts::LongestSideMenu.in(language()), parent);
    sides->setObjectName("LongestSideMenu");
    auto* group = new QActionGroup(sides);
    const auto addSide = [&](int pixels, const QString& text) {
        QAction* item = addChoice(sides, "LongestSide" + QString::number(pixels), text,
                                  settings_.LongestSide == pixels);
        group->addAction(item);
        connect(
            item, &QAction::triggered, this,
            [this, pixels] { guard_.run([this, pixels] { LongestSideClick(pixels); }); },
            Qt::QueuedConnection); // as the coding's item, for the same reason
    };
    addSide(0, Texts::OriginalSizeItem.in(language()));
    for (const int pixels : Settings::LongestSides()) {
        addSide(pixels, Texts::LongestSideItem.in(language()).arg(pixels));
    }
    return sides;
}

void TForm1::KeepDetailsClick(bool keep) {
    settings_.storeKeepDetails(keep);
    // The preview on screen now stands for a file with other markers.
    if (!State.Busy && Image2->picture().graphic()) {
        Label8->setCaption(Readouts::size(previewBytes(), language()));
        judgePreview();
    }
}

void TForm1::SmallerFileClick(bool smaller) {
    settings_.storeSmallerFiles(smaller);
    if (smaller && settings_.SmallestFiles) {
        settings_.storeSmallestFiles(false); // one coding at a time
    }
    recodePreview(); // the same pixels in a file of another length
}

void TForm1::SmallestFileClick(bool smallest) {
    settings_.storeSmallestFiles(smallest);
    if (smallest && settings_.SmallerFiles) {
        settings_.storeSmallerFiles(false);
    }
    recodePreview(); // other coefficients: other pixels, another length, another similarity
}

void TForm1::LongestSideClick(int pixels) {
    if (pixels == settings_.LongestSide) {
        return;
    }
    settings_.storeLongestSide(pixels);
    recodePreview();
}

void TForm1::recodePreview() {
    if (State.Busy || !Image2->picture().graphic()) {
        return; // the next recompression follows the choice
    }
    // The preview on screen, made again at its own quality: the quality readout and the
    // buttons stay as they are.
    const QString caption = Label1->caption();
    const BusyScope busy(State.Busy);
    judge_->stop();
    recompress(State.CompressedQuality);
    Label1->setCaption(caption);
    judgePreview();
}
