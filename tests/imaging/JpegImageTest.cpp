// What a JPEG picture keeps, discards, reports and refuses.

#include "JpegTestFrames.h"
#include "core/EAbort.h"
#include "core/EFCreateError.h"
#include "core/EFOpenError.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/EJPEG.h"
#include "imaging/jpeg/JpegProgressRelay.h"
#include "imaging/jpeg/JpegTickCount.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/picture/EInvalidGraphicOperation.h"
#include "imaging/picture/TPicture.h"
#include "imaging/picture/TPictureFormats.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes encodePicture(int width, int height, std::uint8_t quality = 75, bool progressive = false) {
    return encodePicture(makeTestPicture(width, height), quality, false, progressive);
}

void readBytesInto(TJPEGImage& jpeg, const Bytes& bytes) {
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    jpeg.ReadFromStream(stream);
}

bool hasMarker(const Bytes& bytes, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == marker) {
            return true;
        }
    }
    return false;
}

struct Report {
    TProgressStage stage;
    int percent;
    bool redrawNow;
    TRect r;
    std::uint32_t time;
};

// A clock that moves 40 ms at every look, and a recorder of every report.
class ProgressLog {
public:
    ProgressLog() {
        JpegTickCount::setSource([this] { return now_ += 40; });
    }
    ~ProgressLog() { JpegTickCount::setSource({}); }

    void attach(TGraphic& picture) {
        picture.OnProgress = [this](TGraphic&, TProgressStage stage, std::uint8_t percent,
                                    bool redraw, const TRect& r, const std::string& msg) {
            EXPECT_TRUE(msg.empty());
            reports.push_back({stage, percent, redraw, r, now_});
            if (stage == abortAt) {
                throw EAbort();
            }
            if (stage == failAt) {
                throw Exception("boom");
            }
        };
    }

    std::vector<Report> running() const {
        std::vector<Report> result;
        for (const Report& report : reports) {
            if (report.stage == TProgressStage::Running) {
                result.push_back(report);
            }
        }
        return result;
    }

    std::vector<Report> reports;
    std::optional<TProgressStage> abortAt;
    std::optional<TProgressStage> failAt;

private:
    std::uint32_t now_ = 1000;
};

void expectPairedEnding(const std::vector<Report>& reports, int percent) {
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().stage, TProgressStage::Starting);
    EXPECT_EQ(reports.front().percent, 0);
    EXPECT_EQ(reports.back().stage, TProgressStage::Ending);
    EXPECT_EQ(reports.back().percent, percent);
}

} // namespace

TEST(JpegImage, ReadingTakesTheHeaderOnlyAndProgressiveSourcesStayProgressive) {
    const Bytes progressive = encodePicture(40, 30, 80, true);
    ASSERT_TRUE(hasMarker(progressive, 0xC2));
    TJPEGImage jpeg;
    int notifications = 0;
    jpeg.OnChange = [&](TGraphic&) { ++notifications; };
    readBytesInto(jpeg, progressive);
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(jpeg.PaletteChanged());
    EXPECT_EQ(jpeg.decodedBitmap(), nullptr);
    EXPECT_EQ(jpeg.ImageWidth(), 40);
    EXPECT_EQ(jpeg.ImageHeight(), 30);
    EXPECT_TRUE(jpeg.ProgressiveWrite());

    // Encoding again from the decoded bitmap writes a progressive file unless cleared.
    jpeg.Decode();
    jpeg.Encode();
    TMemoryStream out;
    jpeg.WriteToStream(out);
    EXPECT_TRUE(hasMarker(Bytes(out.memory(), out.memory() + out.size()), 0xC2));
    jpeg.setProgressiveWrite(false);
    jpeg.Encode();
    TMemoryStream baseline;
    jpeg.WriteToStream(baseline);
    EXPECT_FALSE(hasMarker(Bytes(baseline.memory(), baseline.memory() + baseline.size()), 0xC2));
}

TEST(JpegImage, BadFilesAreRefusedWithTheLibraryCodeOrTheFileError) {
    const auto folder = freshTestFolder("trevano-jpeg");
    writeBytes(folder / "text.jpg", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    TJPEGImage jpeg;
    int notifications = 0;
    jpeg.OnChange = [&](TGraphic&) { ++notifications; };
    try {
        jpeg.ReadFromFile((folder / "text.jpg").string());
        FAIL() << "read a text file as JPEG";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.message(), "Erreur JPEG #" + std::to_string(error.code()));
        EXPECT_EQ(error.code(), JERR_NO_SOI);
    }
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(jpeg.data().HeaderWidth, 0u);
    EXPECT_EQ(jpeg.data().Bytes->size(), 10); // the bytes stay, unread

    const std::string missing = (folder / "missing.jpg").string();
    try {
        jpeg.ReadFromFile(missing);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "Impossible d'ouvrir le fichier " + missing);
    }
    const std::string nowhere = (folder / "none" / "out.jpg").string();
    EXPECT_THROW(jpeg.WriteToFile(nowhere), EFCreateError);

    try {
        jpeg.setWidth(10);
        FAIL() << "resized a JPEG picture";
    } catch (const EInvalidGraphicOperation& error) {
        EXPECT_EQ(error.message(), "Impossible de modifier la taille d'une image JPEG");
    }
}

TEST(JpegImage, ZeroBytesGiveAnEmptySizeAndDecodeFailsWithTheEmptyInputCode) {
    TJPEGImage blank; // no bitmap: encodes to zero bytes without reports
    ProgressLog log;
    log.attach(blank);
    TMemoryStream out;
    blank.WriteToStream(out);
    EXPECT_EQ(out.size(), 0);
    EXPECT_TRUE(log.reports.empty());

    TJPEGImage jpeg;
    readBytesInto(jpeg, {});
    EXPECT_EQ(jpeg.ImageWidth(), 0);
    EXPECT_EQ(jpeg.ImageHeight(), 0);
    try {
        jpeg.Decode();
        FAIL() << "decoded nothing";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.code(), JERR_INPUT_EMPTY);
    }
    // The failed attempt is kept: no second try, no second error.
    EXPECT_EQ(jpeg.Decode().width(), 0);

    TJPEGImage never; // neither bytes nor bitmap
    EXPECT_THROW(never.Decode(), EJPEG);
}

TEST(JpegImage, TruncatedAndThinPicturesDecodeToTheirFullSize) {
    Bytes bytes = encodePicture(320, 240, 90);
    bytes.resize(bytes.size() / 2); // cut inside the picture data, well after the headers
    TJPEGImage truncated;
    readBytesInto(truncated, bytes);
    const TBitmap& bitmap = truncated.Decode();
    EXPECT_EQ(bitmap.width(), 320);
    EXPECT_EQ(bitmap.height(), 240);

    for (auto [width, height] : {std::pair{1, 37}, std::pair{37, 1}, std::pair{1, 1}}) {
        SCOPED_TRACE(width * 100 + height);
        TJPEGImage thin;
        readBytesInto(thin, encodePicture(width, height, 100));
        const RgbPicture decoded = bitmapColours(thin.Decode());
        const RgbPicture original = makeTestPicture(width, height);
        ASSERT_EQ(decoded.rgb.size(), original.rgb.size());
        for (std::size_t i = 0; i < decoded.rgb.size(); ++i) {
            EXPECT_NEAR(decoded.rgb[i], original.rgb[i], 12) << i;
        }
    }
}

TEST(JpegImage, CachedBitmapStaysUntilAnOptionThatMattersChanges) {
    TJPEGImage jpeg;
    readBytesInto(jpeg, encodePicture(32, 24));
    ProgressLog log;
    log.attach(jpeg);
    TBitmap* first = &jpeg.Decode();
    const std::size_t reportsOfOneDecode = log.reports.size();
    EXPECT_EQ(&jpeg.Decode(), first); // no second decode, no report
    EXPECT_EQ(log.reports.size(), reportsOfOneDecode);

    int notifications = 0;
    jpeg.OnChange = [&](TGraphic&) { ++notifications; };
    jpeg.setGrayMode(false);
    jpeg.setBlockSmoothing(true);
    jpeg.setDecodeScale(TJPEGDecodeScale::Full);
    jpeg.setQuality(10);
    jpeg.setProgressiveRead(true);
    EXPECT_EQ(jpeg.decodedBitmap(), first);
    EXPECT_EQ(notifications, 0);

    jpeg.setPaletteChanged(false);
    jpeg.setBlockSmoothing(false);
    EXPECT_EQ(jpeg.decodedBitmap(), nullptr);
    EXPECT_EQ(notifications, 1);
    EXPECT_FALSE(jpeg.PaletteChanged());
    jpeg.Decode();
    jpeg.setDecodeSpeed(TJPEGDecodeSpeed::Fast);
    EXPECT_EQ(jpeg.decodedBitmap(), nullptr);
    EXPECT_TRUE(jpeg.PaletteChanged());
    jpeg.setDecodeScale(TJPEGDecodeScale::Half);
    EXPECT_EQ(jpeg.ImageWidth(), 16);
    EXPECT_EQ(notifications, 3);
}

TEST(JpegImage, CopiesShareTheBytesAndEncodeLeavesOtherHoldersTheirs) {
    TJPEGImage source;
    readBytesInto(source, encodePicture(20, 10));
    source.setBlockSmoothing(false);
    const TJPEGData* shared = &source.data();
    {
        TJPEGImage copy;
        copy.CopyFrom(&source);
        EXPECT_EQ(&copy.data(), shared);
        EXPECT_EQ(shared->RefCount, 2);
        EXPECT_TRUE(copy.BlockSmoothing()); // options are not copied

        copy.Decode();
        copy.setQuality(20);
        copy.Encode();
        EXPECT_NE(&copy.data(), shared);
        EXPECT_EQ(shared->RefCount, 1);
        EXPECT_NE(copy.data().Bytes->size(), shared->Bytes->size());
    }
    EXPECT_EQ(shared->RefCount, 1);

    // A picture container's copy has the default options whatever the source's.
    TPicture picture;
    picture.assign(&source);
    auto* held = dynamic_cast<TJPEGImage*>(picture.graphic());
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(held->BlockSmoothing());
    EXPECT_EQ(&held->data(), shared);
}

TEST(JpegImage, EncodeReportsAreThrottledPairedAndCarryNoRectangle) {
    TJPEGImage jpeg;
    takePicture(jpeg, makeTestPicture(64, 400));
    ProgressLog log;
    log.attach(jpeg);
    jpeg.Encode();
    expectPairedEnding(log.reports, 100);
    const std::vector<Report> running = log.running();
    ASSERT_GE(running.size(), 3u);
    std::uint32_t previousTime = 1000; // the clock starts here; the first call only arms it
    int previousPercent = 0;
    for (const Report& report : running) {
        EXPECT_GE(report.time - previousTime, JpegProgressRelay::ThrottleMilliseconds);
        EXPECT_GT(report.percent, previousPercent);
        EXPECT_EQ(report.r, TRect{});
        EXPECT_FALSE(report.redrawNow);
        previousTime = report.time;
        previousPercent = report.percent;
    }
    // The first look (at 1040) only arms the clock.
    EXPECT_GE(running.front().time, 1040u + JpegProgressRelay::ThrottleMilliseconds);
}

TEST(JpegImage, DecodeReportsNameTheRowsDecodedSinceTheLastReport) {
    TJPEGImage jpeg;
    readBytesInto(jpeg, encodePicture(32, 600));
    ProgressLog log;
    log.attach(jpeg);
    jpeg.Decode();
    expectPairedEnding(log.reports, 100);
    EXPECT_TRUE(log.reports.back().redrawNow); // the palette-changed flag of a fresh read
    const std::vector<Report> running = log.running();
    ASSERT_GE(running.size(), 2u);
    std::int32_t nextTop = 0;
    for (const Report& report : running) {
        EXPECT_EQ(report.r.left, 0);
        EXPECT_EQ(report.r.right, 32);
        EXPECT_EQ(report.r.top, nextTop);
        EXPECT_EQ(report.redrawNow, report.r.bottom - report.r.top >= 4);
        nextTop = report.r.bottom;
    }
}

TEST(JpegImage, AbortFromAHandlerEndsQuietlyAndOtherErrorsPassThrough) {
    {
        TJPEGImage jpeg;
        takePicture(jpeg, makeTestPicture(64, 400));
        ProgressLog log;
        log.attach(jpeg);
        log.abortAt = TProgressStage::Running;
        EXPECT_NO_THROW(jpeg.Encode());
        EXPECT_EQ(jpeg.data().Bytes, nullptr); // nothing half-written is kept
        EXPECT_NE(jpeg.decodedBitmap(), nullptr);
        expectPairedEnding(log.reports, 0);
    }
    {
        TJPEGImage jpeg;
        readBytesInto(jpeg, encodePicture(64, 400));
        ProgressLog log;
        log.attach(jpeg);
        log.abortAt = TProgressStage::Running;
        const TBitmap& partial = jpeg.Decode();
        EXPECT_EQ(partial.height(), 400); // sized, filled as far as the decode went
        EXPECT_NE(partial.pixel(10, 0), 0xFFFFFFu);
        EXPECT_EQ(partial.pixel(10, 399), 0xFFFFFFu); // the rows never reached are white
        expectPairedEnding(log.reports, 0);
        const std::size_t count = log.reports.size();
        EXPECT_EQ(&jpeg.Decode(), &partial);
        EXPECT_EQ(log.reports.size(), count);
    }
    {
        TJPEGImage jpeg;
        readBytesInto(jpeg, encodePicture(64, 400));
        ProgressLog log;
        log.attach(jpeg);
        log.failAt = TProgressStage::Running;
        EXPECT_THROW(jpeg.Decode(), Exception);
        expectPairedEnding(log.reports, 0);
    }
}

// Crafted files must not be able to take all memory or keep a decode going for minutes.
TEST(JpegImage, AbsurdSizesAndScanCountsAreRefusedBeforeTheWork) {
    TJPEGImage big;
    readBytesInto(big, withFrameSize(encodePicture(16, 16), 60000, 60000));
    EXPECT_EQ(big.ImageWidth(), 60000);
    ProgressLog log;
    log.attach(big);
    try {
        big.Decode();
        FAIL() << "decoded a 60000 x 60000 picture";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.code(), JERR_IMAGE_TOO_BIG);
    }
    expectPairedEnding(log.reports, 0);

    // Repeat the last scan of a progressive file until it has far too many.
    Bytes scans = encodePicture(16, 16, 75, true);
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < scans.size(); ++i) {
        if (scans[i] == 0xFF && scans[i + 1] == 0xDA) {
            lastScan = i;
        }
    }
    const Bytes scan(scans.begin() + static_cast<std::ptrdiff_t>(lastScan), scans.end() - 2);
    for (int i = 0; i <= JpegProgressRelay::MaxScans; ++i) {
        scans.insert(scans.end() - 2, scan.begin(), scan.end());
    }
    TJPEGImage many;
    readBytesInto(many, scans);
    try {
        many.Decode();
        FAIL() << "decoded a file of too many scans";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.code(), JpegProgressRelay::TooManyScansCode);
    }
}

namespace {

// The decoder looks for scanned components among the first four of a frame only, so a
// larger frame gets one scan of those four, and the file ends there.
Bytes components(int count, std::pair<int, int> firstSampling = {1, 1}) {
    JpegFrame frame;
    frame.sampling.assign(static_cast<std::size_t>(count), {1, 1});
    frame.sampling[0] = firstSampling;
    for (int first = 0; first < count; first += 4) {
        std::vector<int> scan;
        for (int c = first; c < std::min(count, first + 4); ++c) {
            scan.push_back(c);
        }
        frame.scans.push_back(scan);
    }
    return count > 4 ? keepScans(frame.bytes(), 1) : frame.bytes();
}

// Progressive, with luminance sampled 2 x 2 as cameras write it.
Bytes progressive420() {
    JpegFrame frame;
    frame.sampling = {{2, 2}, {1, 1}, {1, 1}};
    frame.progressive = true;
    return frame.bytes();
}

struct CorruptJpeg {
    const char* name;
    Bytes bytes;
    int code; // 0 when the file must decode to the size its header announces
};

class CorruptJpegs : public testing::TestWithParam<CorruptJpeg> {};

// Each file broke the decoder once: wrote past the bitmap's rows, refused a picture that
// fits, or took more memory than the decode may have.
TEST_P(CorruptJpegs, DecodeOrFailWithTheirCode) {
    const CorruptJpeg& file = GetParam();
    TJPEGImage jpeg;
    readBytesInto(jpeg, file.bytes);
    try {
        const TBitmap& bitmap = jpeg.Decode();
        EXPECT_EQ(file.code, 0) << "decoded";
        EXPECT_EQ(bitmap.width(), static_cast<int>(jpeg.data().HeaderWidth));
        EXPECT_EQ(bitmap.height(), static_cast<int>(jpeg.data().HeaderHeight));
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.code(), file.code);
        EXPECT_TRUE(jpeg.Decode().empty()); // refused before the bitmap was made
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptJpegs,
    testing::Values(
        CorruptJpeg{"tenComponentsFourScanned", components(10), JERR_COMPONENT_COUNT},
        CorruptJpeg{"fiveComponents", components(5, {2, 2}), JERR_COMPONENT_COUNT},
        CorruptJpeg{"twoComponents", components(2, {1, 2}), JERR_COMPONENT_COUNT},
        CorruptJpeg{"widerThan32768", withFrameSize(encodePicture(16, 16), 40000, 8), 0},
        CorruptJpeg{"paddedRowsBeyondOneGibibyte",
                    withFrameSize(encodePicture(16, 16), 32770, 10922), JERR_IMAGE_TOO_BIG},
        CorruptJpeg{"progressiveCoefficientsAndBitmapBeyondOneGibibyte",
                    withFrameSize(progressive420(), 15000, 15000), JERR_NO_BACKING_STORE}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(JpegImage, FourComponentFilesDecodeToRedGreenBlue) {
    if (!referenceToolExists("convert")) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    const auto folder = freshTestFolder("trevano-cmyk");
    const RgbPicture original = makeTestPicture(40, 24);
    writePpm(folder / "in.ppm", original);
    ASSERT_EQ(runReferenceTool({"convert", (folder / "in.ppm").string(), "-colorspace", "CMYK",
                                "-quality", "100", (folder / "cmyk.jpg").string()}),
              0);
    TJPEGImage jpeg;
    jpeg.ReadFromFile((folder / "cmyk.jpg").string());
    const TBitmap& bitmap = jpeg.Decode();
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits24);
    const RgbPicture decoded = bitmapColours(bitmap);
    ASSERT_EQ(decoded.rgb.size(), original.rgb.size());
    for (std::size_t i = 0; i < decoded.rgb.size(); ++i) {
        EXPECT_NEAR(decoded.rgb[i], original.rgb[i], 16) << i;
    }
}

TEST(JpegImage, JpegTypesAreRegisteredUnderBothExtensions) {
    registerJpegFormat();
    TPictureFormats& formats = TPictureFormats::instance();
    for (const char* extension : {"jpg", "JPEG"}) {
        EXPECT_EQ(formats.description(extension), "Fichier image JPEG");
        EXPECT_NE(dynamic_cast<TJPEGImage*>(formats.create(extension).get()), nullptr);
    }
}
