#include "batch/BatchPlan.h"

#include "batch/BatchCommandLine.h"
#include "platform/FileOperations.h"
#include "recompress/PictureFileKind.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <set>

namespace {

// A picture found and the folder path its new file keeps under --output.
struct Found {
    QString input;
    QString relativeFolder;
};

std::vector<Found> picturesIn(const QString& folder) {
    std::vector<Found> found;
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (BatchPlan::takenFromFolder(it.fileName())) {
            // The folders below the one named, which a new file keeps under --output.
            const QString relative = root.relativeFilePath(QFileInfo(path).absoluteFilePath());
            found.push_back({path, QFileInfo(relative).path()});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.input < b.input; });
    return found;
}

QString outputFor(const Found& picture, const QString& outputFolder) {
    const QFileInfo input(picture.input);
    if (outputFolder.isEmpty()) {
        return input.dir().filePath(input.completeBaseName() + BatchCommandLine::NameSuffix +
                                    ".jpg");
    }
    return QDir::cleanPath(QDir(outputFolder).filePath(picture.relativeFolder) + "/" +
                           input.completeBaseName() + ".jpg");
}

class Refusals {
public:
    Refusals(const std::vector<Found>& pictures, FileOperations& files, bool overwrite)
        : files_(files), overwrite_(overwrite) {
        for (const Found& picture : pictures) {
            inputPaths_.insert(QFileInfo(picture.input).absoluteFilePath());
            if (const auto identity = files.identity(picture.input)) {
                inputFiles_.insert(identity->file());
            }
        }
    }

    QString of(const Found& picture, const QString& output) {
        if (!files_.exists(picture.input)) {
            return "not found";
        }
        const QString absolute = QFileInfo(output).absoluteFilePath();
        const auto identity = files_.identity(output);
        if (inputPaths_.contains(absolute) ||
            (identity && inputFiles_.contains(identity->file()))) {
            return output + " is a picture given: it is never written over";
        }
        if (outputs_.contains(absolute)) {
            return output + " is already the new file of " + outputs_[absolute];
        }
        outputs_[absolute] = picture.input;
        if (identity && !overwrite_) {
            return output + " exists (--overwrite replaces it)";
        }
        return {};
    }

private:
    FileOperations& files_;
    bool overwrite_;
    QSet<QString> inputPaths_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> inputFiles_; // each given file itself
    QHash<QString, QString> outputs_;
};

} // namespace

bool BatchPlan::takenFromFolder(const QString& fileName) {
    static const QSet<QString> pictures = {".JPG", ".JPEG", ".BMP",  ".PNG",  ".WEBP",
                                           ".TIF", ".TIFF", ".HEIC", ".HEIF", ".AVIF"};
    const bool picture = pictures.contains(PictureFileKind::extension(fileName).toUpper());
    const bool earlierOutput =
        fileName.endsWith(QString(BatchCommandLine::NameSuffix) + ".jpg", Qt::CaseInsensitive);
    return picture && !earlierOutput && !fileName.startsWith('.');
}

std::variant<std::vector<BatchItem>, QString> BatchPlan::make(const BatchOptions& options,
                                                              FileOperations& files) {
    std::vector<Found> pictures;
    for (const QString& named : options.inputs) {
        if (!QFileInfo(named).isDir()) {
            pictures.push_back({named, "."});
        } else if (!options.recursive) {
            return "'" + named + "' is a folder: add --recursive to take the pictures in it.";
        } else {
            const std::vector<Found> inside = picturesIn(named);
            pictures.insert(pictures.end(), inside.begin(), inside.end());
        }
    }
    Refusals refusals(pictures, files, options.overwrite);
    std::vector<BatchItem> items;
    for (const Found& picture : pictures) {
        const QString output = outputFor(picture, options.outputFolder);
        items.push_back({picture.input, output, refusals.of(picture, output)});
    }
    return items;
}
