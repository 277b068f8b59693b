#include "recompress/ReplacingWriter.h"

#include "core/EFCreateError.h"
#include "platform/FileOperations.h"

#include <cerrno>

void writeReplacing(FileOperations& files, const QString& target,
                    const std::function<void(const std::string& fileName)>& write) {
    const std::unique_ptr<ReplacementFile> replacement = files.createReplacement(target);
    if (!replacement) {
        throw EFCreateError(target.toStdString(), errno);
    }
    write(replacement->writableName().toStdString());
    if (!replacement->commit()) {
        throw EFCreateError(target.toStdString(), errno);
    }
}
