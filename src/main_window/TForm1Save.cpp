// Saving the recompressed picture, and copying the loaded one to turn it: both end in the
// rotate-and-save window, opened on the new file.
#include "imaging/picture/TPictureFormats.h"
#include "main_window/TForm1.h"
#include "platform/FileOperations.h"
#include "recompress/PictureFileKind.h"
#include "recompress/PictureSaver.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BusyScope.h"
#include "ui/DialogService.h"

#include <QLineEdit>

namespace {

// "Bitmaps (*.bmp)|*.bmp": the bitmap type as the picture registry describes it.
QString bitmapFilter() {
    const QString description =
        QString::fromStdString(TPictureFormats::instance().description("bmp"));
    return description + " (*.bmp)|*.bmp";
}

} // namespace

std::optional<QString> TForm1::chooseNewFile(const LanguageText& title,
                                             const QString& defaultExtension,
                                             const QString& filter) {
    SavePictureDialog1.fileName.clear();
    SavePictureDialog1.defaultExtension = defaultExtension;
    SavePictureDialog1.filter = filter;
    SavePictureDialog1.title = title.in(language());
    return services_.dialogs.savePictureFile(SavePictureDialog1);
}

bool TForm1::isLoadedFile(const std::optional<QString>& chosen) {
    // The loaded file under any of its names: a link, another letter case, a relative part.
    return chosen && !chosen->isEmpty() && services_.files.sameFile(*chosen, Edit1->text());
}

void TForm1::BitBtn4Click() {
    if (State.Busy) {
        return;
    }
    const std::optional<QString> chosen = chooseNewFile(Texts::SaveDialogTitle, "jpg", "*.jpg");
    if (isLoadedFile(chosen)) {
        services_.dialogs.showError(Texts::SaveOverOriginalRefused.in(language()));
        return;
    }
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const BusyScope busy(State.Busy);
    // The pixels the previews were made of, read again only if the file changed since.
    preparePicture();
    PictureSaver::save(services_.files, prepared_, State.CurrentQuality, *chosen,
                       recompressOptions());
    if (form4_) {
        form4_->open(*chosen);
    }
}

void TForm1::BitBtn9Click() {
    if (State.Busy) {
        return;
    }
    const bool jpeg = PictureFileKind::isJpeg(State.SourceExtension);
    const std::optional<QString> chosen =
        jpeg ? chooseNewFile(Texts::RotatedJpgDialogTitle, "jpg", "*.jpg")
             : chooseNewFile(Texts::RotatedBmpDialogTitle, "bmp", bitmapFilter());
    if (isLoadedFile(chosen)) {
        services_.dialogs.showError(Texts::RotateOverOriginalRefused.in(language()));
        return;
    }
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    // A failed copy is told, and the window still opens on the name: an older file there is
    // what it shows, none is reported by the window itself.
    if (!services_.files.copy(Edit1->text(), *chosen)) {
        services_.dialogs.showMessage(Texts::CopyError.in(language()));
    }
    if (form4_) {
        form4_->open(*chosen);
    }
}
