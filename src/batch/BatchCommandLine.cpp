#include "batch/BatchCommandLine.h"

#include <QHash>
#include <QRegularExpression>
#include <cmath>
#include <thread>

namespace {

const QString Batch = "batch";
const QString Quality = "quality";
const QString MaxSize = "max-size";
const QString MinSsim = "min-ssim";
const QString Output = "output";
const QString Recursive = "recursive";
const QString Overwrite = "overwrite";
const QString KeepDetails = "keep-details";
const QString OnlySmaller = "only-smaller";
const QString Jobs = "jobs";
const QString DryRun = "dry-run";
const QString Json = "json";
const QString Quiet = "quiet";
const QString Ssim = "ssim";
const QString MaxSide = "max-side";
const QString Baseline = "baseline";
const QString Smallest = "smallest";
const QString Background = "background";

// Past the largest side a JPEG file can have: any larger asks for nothing.
constexpr int MostSide = 65535;

constexpr int MostJobs = 256;

QStringList batchOptionNames() {
    return {Quality,    MaxSize, MinSsim,   MaxSide,   Baseline,    Smallest,
            Background, Output,  Recursive, Overwrite, KeepDetails, OnlySmaller,
            Jobs,       DryRun,  Json,      Quiet,     Ssim};
}

std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= lowest && value <= highest ? std::optional<int>(value) : std::nullopt;
}

// "#RRGGBB", "RRGGBB", "#RGB" or a few colour names, as red + 256 * green + 65536 * blue.
std::optional<std::uint32_t> colour(const QString& text) {
    static const QHash<QString, std::uint32_t> named = {
        {"white", 0xFFFFFF}, {"black", 0x000000}, {"grey", 0x808080}, {"gray", 0x808080},
        {"red", 0x0000FF},   {"green", 0x008000}, {"blue", 0xFF0000}};
    const QString name = text.trimmed().toLower();
    if (named.contains(name)) {
        return named[name];
    }
    static const QRegularExpression hex("^#?([0-9a-f]{3}|[0-9a-f]{6})$");
    const QRegularExpressionMatch match = hex.match(name);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    QString digits = match.captured(1);
    if (digits.size() == 3) {
        digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
    }
    const std::uint32_t rgb = digits.toUInt(nullptr, 16);
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

int processors() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// The one aim the command line names, or what is wrong with it.
std::optional<QString> readAim(const QCommandLineParser& parser, BatchOptions& options) {
    const int aims = parser.isSet(Quality) + parser.isSet(MaxSize) + parser.isSet(MinSsim);
    if (aims > 1) {
        return "Choose one of --quality, --max-size and --min-ssim.";
    }
    if (parser.isSet(Quality)) {
        const std::optional<int> quality = wholeNumber(parser.value(Quality), 0, 100);
        if (!quality) {
            return "--quality takes a whole number from 0 to 100, not '" + parser.value(Quality) +
                   "'.";
        }
        options.quality = *quality;
    } else if (parser.isSet(MaxSize)) {
        const std::optional<std::int64_t> bytes = BatchCommandLine::bytes(parser.value(MaxSize));
        if (!bytes) {
            return "--max-size takes a size such as 200K or 1.5M, not '" + parser.value(MaxSize) +
                   "'.";
        }
        options.aim = BatchOptions::Aim::MaxSize;
        options.maxBytes = *bytes;
    } else if (parser.isSet(MinSsim)) {
        bool ok = false;
        const double similarity = parser.value(MinSsim).trimmed().toDouble(&ok);
        if (!ok || !(similarity > 0 && similarity <= 1)) {
            return "--min-ssim takes a similarity above 0 and at most 1, such as 0.95, not '" +
                   parser.value(MinSsim) + "'.";
        }
        options.aim = BatchOptions::Aim::MinSimilarity;
        options.minSimilarity = similarity;
    }
    return std::nullopt;
}

} // namespace

void BatchCommandLine::declare(QCommandLineParser& parser) {
    parser.addOptions({
        {Batch, "Recompresses the FILEs, and the pictures in the FOLDERs, without opening the "
                "window: JPEG, BMP, PNG, WebP, TIFF (the first page) and HEIF pictures (HEIC and "
                "AVIF), each told by its first bytes, not its name. Each new file goes beside "
                "its picture as NAME" +
                    QString(NameSuffix) +
                    ".jpg, or under --output; it keeps the picture's colour profile and way up."},
        {Quality, "With --batch: the JPEG quality, 0 to 100 (75 when no aim is given).", "Q"},
        {MaxSize,
         "With --batch: the highest quality whose file fits SIZE (200K, 1.5M; 1K is 1024 bytes).",
         "SIZE"},
        {MinSsim,
         "With --batch: the smallest file whose similarity (SSIM on brightness) to the picture is "
         "at least S, such as 0.95.",
         "S"},
        {MaxSide,
         "With --batch: shrinks each picture whose longest side is above N pixels to N (never "
         "enlarges one); --quality, --max-size and --min-ssim then apply to the shrunk picture.",
         "N"},
        {Background,
         "With --batch: the colour transparent parts of PNG, WebP, TIFF and HEIF pictures are "
         "laid on, since a JPEG file has none: white (the default), black, grey, or #RRGGBB.",
         "COLOUR"},
        {Baseline,
         "With --batch: writes baseline files with the standard tables, byte for byte what the "
         "window saves by default, instead of the progressive files with optimised tables "
         "written otherwise (the same pixels in a few per cent fewer bytes)."},
        {Smallest,
         "With --batch: writes the smallest file for the look: a progressive file any decoder "
         "reads, whose coefficients are chosen block by block for what they cost and show, "
         "for a slower encode. The same quality looks about the same in fewer bytes."},
        {{"o", Output},
         "With --batch: writes the new files in DIR as NAME.jpg, keeping the folders' structure.",
         "DIR"},
        {{"r", Recursive}, "With --batch: takes the pictures in the FOLDERs and their subfolders."},
        {Overwrite, "With --batch: replaces new files that already exist (never a picture given)."},
        {KeepDetails, "With --batch: keeps the photos' details (date, camera, place)."},
        {OnlySmaller, "With --batch: writes nothing for a picture whose new file is not smaller."},
        {{"j", Jobs}, "With --batch: pictures at once (default: the number of processors).", "N"},
        {{"n", DryRun}, "With --batch: lists what would be done and writes nothing."},
        {Json, "With --batch: one JSON object a file on the standard output, for scripts."},
        {{"q", Quiet}, "With --batch: says nothing but the failures."},
        {Ssim, "With --batch: also works out the similarity when it is not aimed at (slower)."},
    });
}

QString BatchCommandLine::helpEnding() {
    return "\nWith --batch, the exit status is 0 when every picture was done, 1 when some failed\n"
           "(each named with its reason on the error stream; the others are done), 2 for a\n"
           "mistake in the command line, and 128 + the signal when SIGINT or SIGTERM stopped it.\n"
           "In FOLDERs, pictures are taken by their names (.jpg, .jpeg, .bmp, .png, .webp, .tif,\n"
           ".tiff, .heic, .heif, .avif, in any letter case); new files of an earlier run\n"
           "(NAME-recompressed.jpg), hidden files and hidden folders are passed over.\n"
           "An animated WebP gives its first frame, a TIFF of several pages its first page.\n"
           "Pictures that differ only in their extension, such as pic.jpg and pic.bmp, would\n"
           "have the same new file (pic-recompressed.jpg, or pic.jpg under --output): the first\n"
           "gets it and the other fails. Run once for each kind with its own --output\n"
           "(trevano --batch -o from-bmp *.bmp), or rename one of them.\n"
           "\nExamples:\n"
           "  trevano --batch --max-size 200K holiday/*.jpg\n"
           "  trevano --batch -r --min-ssim 0.95 --output site-small site\n"
           "  trevano --batch -r --quality 80 --output photos-q80 photos\n";
}

QString BatchCommandLine::mistakeText(const QString& reason) {
    return "trevano: " + reason + "\nTry 'trevano --help' for the options.\n";
}

bool BatchCommandLine::requested(const QCommandLineParser& parser) {
    return parser.isSet(Batch);
}

std::optional<QString> BatchCommandLine::strayOption(const QCommandLineParser& parser) {
    for (const QString& name : batchOptionNames()) {
        if (parser.isSet(name)) {
            return "--" + name + " goes with --batch.";
        }
    }
    return std::nullopt;
}

std::variant<BatchOptions, QString> BatchCommandLine::read(const QCommandLineParser& parser) {
    BatchOptions options;
    if (const std::optional<QString> mistake = readAim(parser, options)) {
        return *mistake;
    }
    options.jobs = processors();
    if (parser.isSet(Jobs)) {
        const std::optional<int> jobs = wholeNumber(parser.value(Jobs), 1, MostJobs);
        if (!jobs) {
            return "--jobs takes a whole number from 1 to " + QString::number(MostJobs) +
                   ", not '" + parser.value(Jobs) + "'.";
        }
        options.jobs = *jobs;
    }
    options.inputs = parser.positionalArguments();
    if (options.inputs.isEmpty()) {
        return "--batch needs at least one FILE or FOLDER.";
    }
    if (parser.isSet(MaxSide)) {
        const std::optional<int> side = wholeNumber(parser.value(MaxSide), 1, MostSide);
        if (!side) {
            return "--max-side takes a whole number of pixels from 1 to " +
                   QString::number(MostSide) + ", such as 1920, not '" + parser.value(MaxSide) +
                   "'.";
        }
        options.maxSide = *side;
    }
    if (parser.isSet(Background)) {
        const std::optional<std::uint32_t> background = colour(parser.value(Background));
        if (!background) {
            return "--background takes white, black, grey or a colour such as #336699, not '" +
                   parser.value(Background) + "'.";
        }
        options.background = *background;
    }
    options.baseline = parser.isSet(Baseline);
    options.smallest = parser.isSet(Smallest);
    options.outputFolder = parser.value(Output);
    options.recursive = parser.isSet(Recursive);
    options.overwrite = parser.isSet(Overwrite);
    options.keepDetails = parser.isSet(KeepDetails);
    options.onlySmaller = parser.isSet(OnlySmaller);
    options.dryRun = parser.isSet(DryRun);
    options.json = parser.isSet(Json);
    options.quiet = parser.isSet(Quiet);
    options.similarity = parser.isSet(Ssim) || options.aim == BatchOptions::Aim::MinSimilarity;
    return options;
}

std::optional<std::int64_t> BatchCommandLine::bytes(const QString& text) {
    static const QRegularExpression size(R"(^\s*(\d+(?:\.\d+)?)\s*([kKmMgG]?)[iI]?[bB]?\s*$)");
    const QRegularExpressionMatch match = size.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QString unit = match.captured(2).toUpper();
    const double scale = unit == "K"   ? 1024.0
                         : unit == "M" ? 1024.0 * 1024
                         : unit == "G" ? 1024.0 * 1024 * 1024
                                       : 1.0;
    const double value = match.captured(1).toDouble() * scale;
    if (value < 1 || value > 1e15) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::floor(value));
}
