#include "rotation/ReplacingWriter.h"

#include "core/EFCreateError.h"
#include "platform/FileOperations.h"

void writeReplacing(FileOperations& files, const QString& target,
                    const std::function<void(const std::string& fileName)>& write) {
    const std::optional<QString> temporary = files.createFileBeside(target);
    if (!temporary) {
        throw EFCreateError(target.toStdString());
    }
    try {
        write(temporary->toStdString());
    } catch (...) {
        files.remove(*temporary);
        throw;
    }
    if (!files.replace(*temporary, target)) {
        files.remove(*temporary);
        throw EFCreateError(target.toStdString());
    }
}
