#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/picture/TPicture.h"
#include "imaging/picture/TPictureFormats.h"

#include <gtest/gtest.h>

namespace {

// A picture that reports progress when asked, to see the container pass it on.
class ReportingGraphic : public TBitmap {
public:
    std::unique_ptr<TGraphic> createEmpty() const override {
        return std::make_unique<ReportingGraphic>();
    }
    void report(std::uint8_t percent) { progress(TProgressStage::Running, percent, false, {}, ""); }
};

TEST(Picture, KeepsItsOwnCopySharingThePixels) {
    auto original = std::make_unique<TBitmap>();
    readBitmap(*original, bits24.bytes());
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&changes](TPicture&) { ++changes; };
    picture.assign(original.get());
    EXPECT_EQ(changes, 1);

    auto* copy = dynamic_cast<TBitmap*>(picture.graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original.get());
    EXPECT_EQ(static_cast<const TBitmap*>(copy)->scanLine(0),
              static_cast<const TBitmap*>(original.get())->scanLine(0));

    original->setPixel(0, 0, 0);
    EXPECT_EQ(changes, 1);
    original.reset();
    EXPECT_EQ(pixelsOf(*copy), colours(quad));

    copy->setPixel(0, 0, 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(picture.width(), 2);
}

TEST(Picture, AssigningNothingClears) {
    TBitmap bitmap;
    bitmap.setSize(1, 1);
    TPicture picture;
    picture.assign(&bitmap);
    int changes = 0;
    picture.OnChange = [&changes](TPicture&) { ++changes; };
    picture.assign(nullptr);
    EXPECT_EQ(picture.graphic(), nullptr);
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(Picture, PassesOnTheProgressOfItsCopy) {
    ReportingGraphic source;
    TPicture picture;
    picture.assign(&source);
    std::vector<int> reports;
    picture.OnProgress = [&reports](TGraphic& sender, TProgressStage, std::uint8_t percent, bool,
                                    const TRect&, const std::string&) {
        reports.push_back(percent);
        EXPECT_NE(dynamic_cast<ReportingGraphic*>(&sender), nullptr);
    };
    dynamic_cast<ReportingGraphic*>(picture.graphic())->report(40);
    source.report(50);
    EXPECT_EQ(reports, std::vector<int>{40});
}

TEST(PictureFormats, BitmapsAreFoundByExtensionInAnyCase) {
    registerBitmapFormat();
    registerBitmapFormat();
    TPictureFormats& formats = TPictureFormats::instance();
    for (const char* extension : {"bmp", "BMP", ".Bmp"}) {
        EXPECT_TRUE(formats.contains(extension)) << extension;
        EXPECT_NE(dynamic_cast<TBitmap*>(formats.create(extension).get()), nullptr) << extension;
    }
    EXPECT_EQ(formats.description("bmp"), "Bitmaps");
    EXPECT_EQ(formats.create("xyz"), nullptr);
    EXPECT_EQ(formats.description("xyz"), "");
    const auto all = formats.formats();
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const TPictureFormats::Format& f) { return f.extension == "bmp"; }),
              1);
}

TEST(PictureFormats, FilterListsEveryFormatInOrder) {
    registerBitmapFormat();
    TPictureFormats& formats = TPictureFormats::instance();
    formats.add("TST", "Test pictures", [] { return std::make_unique<TBitmap>(); });
    const std::string filter = formats.filter();
    const std::size_t bitmaps = filter.find("Bitmaps (*.bmp)|*.bmp");
    ASSERT_NE(bitmaps, std::string::npos) << filter;
    EXPECT_NE(filter.find("Bitmaps (*.bmp)|*.bmp|", bitmaps), std::string::npos) << filter;
    EXPECT_TRUE(filter.ends_with("|Test pictures (*.tst)|*.tst")) << filter;
}

} // namespace
