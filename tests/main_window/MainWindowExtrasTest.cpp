#include "MainWindowProgram.h"
#include "QStringPrinter.h"
#include "main_window/MainWindowGlyphs.h"
#include "platform/FakeSettingsStore.h"
#include "ui/TBitBtn.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainWindowExtras : public ::testing::Test {
protected:
    MainWindowExtras() {
        store_.values = {{"Language", "English"}, {"Path", "/nowhere/"}};
        program_.form1.show();
    }

    FakeSettingsStore store_;
    MainWindowProgram program_{store_};
};

} // namespace

TEST_F(MainWindowExtras, EachTickOfTheGaugeTimerReadsTheMemoryFigures) {
    TForm1& form = program_.form1;
    program_.memory.figures = {std::uint64_t{512} << 20, std::uint64_t{100} << 20};
    // The timer itself, about a second after start.
    EXPECT_TRUE(QTest::qWaitFor([&form] { return form.Label9->caption() != "Free Memory"; }, 3000));
    EXPECT_EQ(form.Label9->caption(), "Free Memory = 100 Mb");
    EXPECT_EQ(form.Label9->size(), QSize(121, 13)); // fixed: the text does not size it
    EXPECT_EQ(form.ProgressBar2->value(), 19);
    program_.memory.failing = true;
    form.guard().run([&form] { form.Timer2Timer(); });
    EXPECT_EQ(form.Label9->caption(), "Free Memory = 100 Mb");
    EXPECT_TRUE(program_.dialogs.boxes.empty()); // a failed reading is never reported
}

TEST_F(MainWindowExtras, TheHelpButtonOpensAndClosesTheHelpWindow) {
    TForm1& form = program_.form1;
    QTest::mouseClick(form.BitBtn5, Qt::LeftButton);
    EXPECT_TRUE(program_.form3.isVisible());
    QTest::mouseClick(form.BitBtn5, Qt::LeftButton);
    EXPECT_FALSE(program_.form3.isVisible());
}

TEST_F(MainWindowExtras, TheWindowIconIsThe32PixelPicture) {
    const QImage icon = MainWindowGlyphs::windowIcon().toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0); // rounded corners
    EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255);
    EXPECT_FALSE(program_.form1.windowIcon().isNull());
}
