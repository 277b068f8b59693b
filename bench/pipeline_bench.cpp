// Every user-visible operation of the program timed side by side with the bare library work
// it needs, on photograph-like pictures of 12 and 24 megapixels at quality 75. Each case
// says in its name what it does; main() prints the ratios at the end.

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/bmp/TBitmapRotation.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/TForm1.h"
#include "platform/FakeSettingsStore.h"
#include "platform/LocalFileOperations.h"
#include "platform/PosixProcessLauncher.h"
#include "platform/desktop/FakeMemoryStatus.h"
#include "platform/desktop/FakeScreenSize.h"
#include "platform/desktop/RecordingSoundPlayer.h"
#include "recompress/PictureSaver.h"
#include "rotation/TForm4.h"
#include "settings/Settings.h"
#include "ui/ScriptedDialogService.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"
#include "windows/TForm2.h"
#include "windows/TForm3.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <map>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Quality = 75;

QTemporaryDir& workFolder() {
    static QTemporaryDir folder;
    return folder;
}

QString workFile(const QString& name) {
    return workFolder().filePath(name);
}

int widthOf(int megapixels) {
    return megapixels == 24 ? 6000 : 4000;
}

int heightOf(int megapixels) {
    return megapixels == 24 ? 4000 : 3000;
}

// Smooth gradients, hard edges between regions and a moderate fine texture: what the
// entropy coder sees in a photograph, neither flat colour nor noise.
void makePhotograph(TBitmap& bitmap, int width, int height) {
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(width, height);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int grain = static_cast<int>((noise >> 16) % 13) - 6;
            const bool sky = y < height * 2 / 5 + static_cast<int>(60 * std::sin(x * 0.004));
            const bool disc = std::hypot(x - width * 0.7, y - height * 0.3) < height * 0.12;
            int r = sky ? 90 + y * 80 / height : 70 + static_cast<int>(40 * std::sin(x * 0.01));
            int g = sky ? 140 + y * 60 / height : 110 + static_cast<int>(30 * std::cos(y * 0.013));
            int b = sky ? 220 - y * 40 / height : 50 + (x * y) % 23;
            if (disc) {
                r = 250, g = 230, b = 160;
            }
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(b + grain, 0, 255));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0, 255));
            row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(r + grain, 0, 255));
        }
    }
}

struct Inputs {
    TBitmap bitmap;
    QString bmpFile;
    QString jpegFile;
    std::vector<unsigned char> jpegBytes;
};

const Inputs& inputs(int megapixels) {
    static std::map<int, Inputs> made;
    Inputs& in = made[megapixels];
    if (in.bmpFile.isEmpty()) {
        makePhotograph(in.bitmap, widthOf(megapixels), heightOf(megapixels));
        in.bmpFile = workFile(QString("photo%1.bmp").arg(megapixels));
        in.bitmap.WriteToFile(in.bmpFile.toStdString());
        TJPEGImage jpeg;
        jpeg.CopyFrom(&in.bitmap);
        jpeg.setQuality(Quality);
        jpeg.Encode();
        in.jpegFile = workFile(QString("photo%1.jpg").arg(megapixels));
        jpeg.WriteToFile(in.jpegFile.toStdString());
        TMemoryStream& bytes = *jpeg.data().Bytes;
        in.jpegBytes.assign(bytes.memory(), bytes.memory() + bytes.size());
    }
    return in;
}

// ---- The bare library work: the floor each operation is measured against.

// Decodes into `into` when given (room for the whole picture), else into new memory left as
// the system gives it, which the decode writes row by row.
std::unique_ptr<unsigned char[]> bareDecode(const std::vector<unsigned char>& jpeg,
                                            unsigned char* into = nullptr) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = (std::size_t{cinfo.output_width} * 3 + 3) & ~std::size_t{3};
    std::unique_ptr<unsigned char[]> pixels(into ? nullptr
                                                 : new unsigned char[stride * cinfo.output_height]);
    unsigned char* target = into ? into : pixels.get();
    std::vector<JSAMPROW> rows(cinfo.output_height);
    for (JDIMENSION y = 0; y < cinfo.output_height; ++y) { // bottom-up, as a bitmap
        rows[y] = target + stride * (cinfo.output_height - 1 - y);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, &rows[cinfo.output_scanline], cinfo.rec_outbuf_height);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

std::vector<unsigned char> bareEncode(const TBitmap& bitmap, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(bitmap.height()));
    for (int y = 0; y < bitmap.height(); ++y) {
        rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(bitmap.scanLine(y));
    }
    jpeg_write_scanlines(&cinfo, rows.data(), cinfo.image_height);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<unsigned char> readWhole(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

void writeWhole(const QString& name, const std::vector<unsigned char>& bytes) {
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

int runTool(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::vector<std::string> copy = arguments;
    for (std::string& argument : copy) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WEXITSTATUS(status);
}

// ---- The program's windows, as the program builds them, offscreen.

FakeSettingsStore companionSettings(int longestSide = 0) {
    FakeSettingsStore store;
    store.values = {{"Language", "English"},
                    {"Path", COMPANION_FOLDER},
                    {"LongestSide", QString::number(longestSide)}};
    return store;
}

struct Program {
    // `longestSide`: the new files' longest side in the settings; 0 keeps the size.
    explicit Program(int longestSide = 0) : store(companionSettings(longestSide)) {
        form1.attachWindows(&form2, &form3, &form4);
        form1.show();
    }

    void load(const QString& file) {
        dialogs.openAnswers.push_back(file);
        form1.BitBtn1->click();
    }

    void tick(int quality) {
        form1.TrackBar1->setValue(quality);
        form1.guard().run([this] { form1.Timer1Timer(); });
    }

    // The similarity score of the preview comes from the worker thread after a load or a
    // tick. The slider's ticks come a second apart, so a tick does not share the processor
    // with the score of the one before: it is waited for outside the timing.
    void waitForScore() {
        QElapsedTimer waited;
        waited.start();
        while (form1.Label8->toolTip().isEmpty() && waited.elapsed() < 10000) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
    }

    FakeSettingsStore store = companionSettings();
    Settings settings{store, COMPANION_FOLDER};
    ScriptedDialogService dialogs;
    FakeScreenSize screen{{1280, 800}};
    RecordingSoundPlayer sound;
    LocalFileOperations files;
    PosixProcessLauncher processes;
    FakeMemoryStatus memory;
    TForm1 form1{settings, {dialogs, screen, sound, files, memory}};
    TForm2 form2{settings, screen};
    TForm3 form3{settings, screen, dialogs};
    TForm4 form4{settings, {dialogs, screen, processes, files}};
};

void paint(QWidget* widget) {
    benchmark::DoNotOptimize(widget->grab());
}

// ---- Cases. Arg(0) is the picture's size in megapixels.

void JpegDecode_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TMemoryStream stream;
        stream.write(in.jpegBytes.data(), in.jpegBytes.size());
        stream.setPosition(0);
        TJPEGImage jpeg;
        jpeg.ReadFromStream(stream);
        benchmark::DoNotOptimize(jpeg.Decode().scanLine(0)); // a real decode every time
    }
}

void JpegDecode_Bare(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bareDecode(in.jpegBytes).get());
    }
}

// The decode's own work alone: into memory mapped and touched once, before the timing.
void JpegDecode_BareIntoReusedMemory(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const std::size_t stride =
        (static_cast<std::size_t>(in.bitmap.width()) * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> pixels(stride * static_cast<std::size_t>(in.bitmap.height()));
    for (auto _ : state) {
        bareDecode(in.jpegBytes, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}

void JpegEncode_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.CopyFrom(&in.bitmap);
        jpeg.setQuality(Quality);
        jpeg.Encode();
        benchmark::DoNotOptimize(jpeg.data().Bytes->size());
    }
}

void JpegEncode_Bare(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bareEncode(in.bitmap, Quality).size());
    }
}

// A load re-encodes at quality 100, and the panes decode that once.
void LoadJpeg_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program;
    program.load(in.jpegFile); // a first load shows the windows for the first time
    program.waitForScore();
    for (auto _ : state) {
        program.load(in.jpegFile);
        paint(program.form1.Image1);
        paint(program.form1.Image2);
        state.PauseTiming();
        program.waitForScore();
        state.ResumeTiming();
    }
}

void LoadJpeg_Bare(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::vector<unsigned char> file = readWhole(in.jpegFile);
        bareDecode(file);
        benchmark::DoNotOptimize(bareDecode(bareEncode(in.bitmap, 100)).get());
    }
}

void LoadBmp_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program;
    program.load(in.bmpFile); // a first load shows the windows for the first time
    program.waitForScore();
    for (auto _ : state) {
        program.load(in.bmpFile);
        paint(program.form1.Image1);
        paint(program.form1.Image2);
        state.PauseTiming();
        program.waitForScore();
        state.ResumeTiming();
    }
}

void LoadBmp_Bare(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(readWhole(in.bmpFile).data());
        benchmark::DoNotOptimize(bareDecode(bareEncode(in.bitmap, 100)).get());
    }
}

// One recompression tick on a loaded JPEG, until the pane and the viewer are painted.
void Tick_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program;
    program.load(in.jpegFile);
    program.tick(Quality + 1); // the viewer's first showing is not a tick's work
    paint(&program.form2);
    program.waitForScore();
    int quality = Quality;
    for (auto _ : state) {
        quality = quality == Quality ? Quality - 1 : Quality; // a new quality every tick
        program.tick(quality);
        paint(program.form1.Image2);
        paint(&program.form2); // the viewer's window: as much of the picture as it shows
        state.PauseTiming();
        program.waitForScore();
        state.ResumeTiming();
    }
}

// The same tick with the new file shrunk to a longest side of 1920 pixels: the shrunk
// picture is kept as the decoded one is, so a tick encodes and decodes the smaller picture.
void Tick_ProgramShrunk(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program(1920);
    program.load(in.jpegFile);
    program.tick(Quality + 1);
    paint(&program.form2);
    program.waitForScore();
    int quality = Quality;
    for (auto _ : state) {
        quality = quality == Quality ? Quality - 1 : Quality;
        program.tick(quality);
        paint(program.form1.Image2);
        paint(&program.form2);
        state.PauseTiming();
        program.waitForScore();
        state.ResumeTiming();
    }
}

// From the end of a tick until the similarity tooltip is there, by the wall clock: the
// score runs on the worker against the loaded picture's reference, made at the first score.
void Tooltip_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program;
    program.load(in.jpegFile);
    program.tick(Quality + 1);
    program.waitForScore();
    int quality = Quality;
    for (auto _ : state) {
        state.PauseTiming();
        quality = quality == Quality ? Quality - 1 : Quality;
        program.tick(quality);
        state.ResumeTiming();
        program.waitForScore();
    }
}

// The same tick when the file has changed since the last one: read and decoded again.
void Tick_ProgramSourceTouched(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const QString file = workFile("touched.jpg");
    QFile::remove(file);
    QFile::copy(in.jpegFile, file);
    Program program;
    program.load(file);
    program.tick(Quality + 1);
    paint(&program.form2);
    program.waitForScore();
    int quality = Quality;
    for (auto _ : state) {
        state.PauseTiming();
        program.waitForScore();
        QFile touched(file);
        touched.open(QIODevice::ReadWrite);
        touched.setFileTime(QDateTime::currentDateTime().addSecs(quality),
                            QFileDevice::FileModificationTime);
        touched.close();
        state.ResumeTiming();
        quality = quality == Quality ? Quality - 1 : Quality;
        program.tick(quality);
        paint(program.form1.Image2);
        paint(&program.form2);
    }
}

void Tick_BareDecodeEncodeDisplay(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bareDecode(readWhole(in.jpegFile));
        benchmark::DoNotOptimize(bareDecode(bareEncode(in.bitmap, Quality)).get());
    }
}

void Tick_BareEncodeDisplay(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bareDecode(bareEncode(in.bitmap, Quality)).get());
    }
}

void Save_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    LocalFileOperations files;
    for (auto _ : state) {
        PictureSaver::save(files, in.jpegFile, ".jpg", Quality - 5, workFile("saved.jpg"));
    }
}

void Save_Bare(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bareDecode(readWhole(in.jpegFile));
        writeWhole(workFile("saved-bare.jpg"), bareEncode(in.bitmap, Quality - 5));
    }
}

void RotateJpeg_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const QString file = workFile("turned.jpg");
    QFile::remove(file);
    QFile::copy(in.jpegFile, file);
    Program program;
    program.form4.open(file);
    for (auto _ : state) {
        program.form4.BitBtn1->click();
    }
}

void RotateJpeg_SystemToolAlone(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const std::string out = workFile("turned-bare.jpg").toStdString();
    for (auto _ : state) {
        runTool({"jpegtran", "-rotate", "90", "-outfile", out, in.jpegFile.toStdString()});
    }
}

// The pixels of a bitmap turned a quarter turn, against copying them once.
void RotateBmpPixels_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TBitmap turned;
        rotateClockwise(in.bitmap, turned);
        benchmark::DoNotOptimize(turned.scanLine(0));
    }
}

void RotateBmpPixels_Memcpy(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const std::size_t bytes = static_cast<std::size_t>(in.bitmap.width()) * in.bitmap.height() * 3;
    std::vector<std::uint8_t> target(bytes);
    const std::uint8_t* first = in.bitmap.scanLine(in.bitmap.height() - 1); // lowest address
    for (auto _ : state) {
        std::memcpy(target.data(), first, bytes);
        benchmark::DoNotOptimize(target.data());
    }
}

// The whole click on a BMP file: read, turn, write, show.
void RotateBmpFile_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const QString file = workFile("turned.bmp");
    QFile::remove(file);
    QFile::copy(in.bmpFile, file);
    Program program;
    program.form4.open(file);
    for (auto _ : state) {
        program.form4.BitBtn1->click();
    }
}

// A pane in fit mode painted again, as when another window uncovers it.
void RepaintFit_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    Program program;
    program.load(in.jpegFile);
    program.form1.BitBtn3->click();
    paint(program.form1.Image2);
    for (auto _ : state) {
        paint(program.form1.Image2);
    }
}

void Recompress_ImageMagick(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    const std::string out = workFile("magick.jpg").toStdString();
    for (auto _ : state) {
        runTool({"convert", in.jpegFile.toStdString(), "-quality", "75", out});
    }
}

void Recompress_Program(benchmark::State& state) {
    const Inputs& in = inputs(static_cast<int>(state.range(0)));
    LocalFileOperations files;
    for (auto _ : state) {
        PictureSaver::save(files, in.jpegFile, ".jpg", Quality, workFile("program.jpg"));
    }
}

void sizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(JpegDecode_Program)->Apply(sizes);
BENCHMARK(JpegDecode_Bare)->Apply(sizes);
BENCHMARK(JpegDecode_BareIntoReusedMemory)->Apply(sizes);
BENCHMARK(JpegEncode_Program)->Apply(sizes);
BENCHMARK(JpegEncode_Bare)->Apply(sizes);
BENCHMARK(LoadJpeg_Program)->Apply(sizes);
BENCHMARK(LoadJpeg_Bare)->Apply(sizes);
BENCHMARK(LoadBmp_Program)->Apply(sizes);
BENCHMARK(LoadBmp_Bare)->Apply(sizes);
BENCHMARK(Tick_Program)->Apply(sizes);
BENCHMARK(Tick_ProgramSourceTouched)->Apply(sizes);
BENCHMARK(Tick_ProgramShrunk)->Apply(sizes);
BENCHMARK(Tooltip_Program)->Apply(sizes)->UseRealTime();
BENCHMARK(Tick_BareDecodeEncodeDisplay)->Apply(sizes);
BENCHMARK(Tick_BareEncodeDisplay)->Apply(sizes);
BENCHMARK(Save_Program)->Apply(sizes);
BENCHMARK(Save_Bare)->Apply(sizes);
BENCHMARK(RotateJpeg_Program)->Apply(sizes);
BENCHMARK(RotateJpeg_SystemToolAlone)->Apply(sizes);
BENCHMARK(RotateBmpPixels_Program)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(RotateBmpPixels_Memcpy)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(RotateBmpFile_Program)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintFit_Program)->Apply(sizes);
BENCHMARK(Recompress_ImageMagick)->Apply(sizes);
BENCHMARK(Recompress_Program)->Apply(sizes);

namespace {

// Keeps the times of every case so the ratios can be printed after the run: the CPU time of
// the thread that does the work, steady on a busy machine, except where the work is another
// process's (the rotation tool, ImageMagick), which only the wall clock sees. With
// repetitions, a case's time is the median of its repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                const std::string& name = run.run_name.function_name;
                const bool wall = name.find("RotateJpeg") == 0 || name.find("Recompress") == 0 ||
                                  name.find("Tooltip") == 0;
                samples[name + "/" + run.run_name.args].push_back(wall ? run.GetAdjustedRealTime()
                                                                       : run.GetAdjustedCPUTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> time(const std::string& key) const {
        const auto found = samples.find(key);
        if (found == samples.end()) {
            return std::nullopt;
        }
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> samples;
};

void printRatio(const RatioReporter& reporter, const std::string& what, const std::string& program,
                const std::string& floor, const char* target) {
    for (const char* size : {"12", "24"}) {
        const std::optional<double> a = reporter.time(program + "/" + size);
        const std::optional<double> b = reporter.time(floor + "/" + size);
        if (a && b) {
            std::printf("| %-44s | %2s MP | %8.1f ms | %8.1f ms | %6.2f | %-16s |\n", what.c_str(),
                        size, *a, *b, *a / *b, target);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerBitmapFormat();
    registerJpegFormat();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n| %-44s | size  | program     | baseline    | ratio  | target           |\n",
                "operation against its baseline");
    std::printf("|%s|-------|-------------|-------------|--------|------------------|\n",
                std::string(46, '-').c_str());
    printRatio(reporter, "JPEG decode / bare decode", "JpegDecode_Program", "JpegDecode_Bare",
               "<= 1.05");
    printRatio(reporter, "JPEG decode / bare decode into reused memory", "JpegDecode_Program",
               "JpegDecode_BareIntoReusedMemory", "(decode work)");
    printRatio(reporter, "JPEG encode / bare encode", "JpegEncode_Program", "JpegEncode_Bare",
               "<= 1.05");
    printRatio(reporter, "load JPEG / decode+encode+display decode", "LoadJpeg_Program",
               "LoadJpeg_Bare", "<= 1.25");
    printRatio(reporter, "load BMP / read+encode+display decode", "LoadBmp_Program", "LoadBmp_Bare",
               "<= 1.25");
    printRatio(reporter, "tick / decode+encode+display decode", "Tick_Program",
               "Tick_BareDecodeEncodeDisplay", "<= 1.25");
    printRatio(reporter, "tick / encode+display decode", "Tick_Program", "Tick_BareEncodeDisplay",
               "<= 1.15");
    printRatio(reporter, "tick, file changed / decode+encode+display", "Tick_ProgramSourceTouched",
               "Tick_BareDecodeEncodeDisplay", "(described path)");
    printRatio(reporter, "tick kept source / tick file changed", "Tick_Program",
               "Tick_ProgramSourceTouched", "(the saving)");
    printRatio(reporter, "tick shrunk to 1920 / tick at full size", "Tick_ProgramShrunk",
               "Tick_Program", "<= 1");
    printRatio(reporter, "similarity tooltip / tick (wall clock)", "Tooltip_Program",
               "Tick_Program", "tooltip <= 1000 ms");
    printRatio(reporter, "save / decode+encode+write", "Save_Program", "Save_Bare", "<= 1.15");
    printRatio(reporter, "JPEG rotation / system tool alone", "RotateJpeg_Program",
               "RotateJpeg_SystemToolAlone", "<= 1.5 + 150 ms");
    printRatio(reporter, "BMP pixel turn / memcpy", "RotateBmpPixels_Program",
               "RotateBmpPixels_Memcpy", "<= 6");
    printRatio(reporter, "BMP rotation click / memcpy", "RotateBmpFile_Program",
               "RotateBmpPixels_Memcpy", "(whole click)");
    printRatio(reporter, "ImageMagick / program, same recompression", "Recompress_ImageMagick",
               "Recompress_Program", "> 1");
    for (const char* size : {"12", "24"}) {
        const std::optional<double> repaint =
            reporter.time(std::string("RepaintFit_Program/") + size);
        if (repaint) {
            std::printf("| %-44s | %2s MP | %8.2f ms |             |        | < 5 ms           |\n",
                        "repaint of a pane in fit mode", size, *repaint);
        }
    }
    benchmark::Shutdown();
    return 0;
}
