// The size under the right pane is the size of the file saved: the preview, the size search
// and the save make their new files of the same pixels, also where a large JPEG is shrunk
// and its reduced decode and a full decode would give other pixels.
#include "PipelineFixture.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "recompress/PictureSaver.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TTrackBar.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

class OneRoad : public PipelineFixture {
protected:
    QByteArray previewBytes() {
        const auto* preview =
            dynamic_cast<TJPEGImage*>(program_->form1.Image2->picture().graphic());
        TMemoryStream& bytes = *preview->data().Bytes;
        return {reinterpret_cast<const char*>(bytes.memory()), static_cast<int>(bytes.size())};
    }

    QByteArray saved(const QString& name) {
        const QString target = path(name);
        program_->dialogs.saveAnswers.push_back(target);
        program_->form1.BitBtn4->click();
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(OneRoad, APictureShrunkToALongestSideSavesTheBytesItsPreviewShowed) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    form.LongestSideClick(1920);
    for (const QString& file :
         {writeJpeg("large.jpg", 6000, 4000), writeBmp("large.bmp", 6000, 4000)}) {
        load(file);
        // The three codings: the standard one, the smaller one, the smallest for the look.
        for (const auto& [smaller, smallest] :
             {std::pair(false, false), std::pair(true, false), std::pair(false, true)}) {
            form.SmallerFileClick(smaller);
            form.SmallestFileClick(smallest);
            for (const int quality : {40, 85}) {
                SCOPED_TRACE(QString("%1 smaller %2 smallest %3 quality %4")
                                 .arg(file)
                                 .arg(smaller)
                                 .arg(smallest)
                                 .arg(quality)
                                 .toStdString());
                recompressAt(quality);
                ASSERT_EQ(form.Image2->picture().graphic()->width(), 1920);
                EXPECT_EQ(saved(QString("saved%1%2%3.jpg").arg(smaller).arg(smallest).arg(quality)),
                          previewBytes());
            }
            // The command line's road: the file read again by itself.
            const QString batch = path("batch.jpg");
            PictureSaver::save(program.files, file, file.right(4), 85, batch,
                               RecompressOptions{false, smaller, smallest, 1920});
            QFile batchFile(batch);
            ASSERT_TRUE(batchFile.open(QIODevice::ReadOnly));
            EXPECT_EQ(batchFile.readAll(), previewBytes());
        }
        // The size search's answer, saved, fits the size typed.
        const int kibibytes = static_cast<int>(previewBytes().size() / 1024) - 20;
        program.dialogs.numberAnswers.push_back(kibibytes);
        form.guard().run([&form] { form.SizeSearchClick(); });
        QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 30000);
        form.guard().run([&form] { form.Timer1Timer(); });
        const qint64 length = saved("searched.jpg").size();
        EXPECT_LE(length, kibibytes * 1024);
        EXPECT_EQ(length, previewBytes().size());
    }
}
