#include "platform/desktop/ProcMemoryStatus.h"

#include "core/Exception.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <optional>

namespace {

constexpr const char* Unreadable = "Mémoire disponible illisible dans %s";

// The byte count of a line "Name:   12345 kB", when it is that line and says a sane number.
std::optional<std::uint64_t> kibibyteLine(const std::string& line, const std::string& name) {
    if (line.compare(0, name.size() + 1, name + ":") != 0) {
        return std::nullopt;
    }
    const char* first = line.data() + name.size() + 1;
    const char* last = line.data() + line.size();
    while (first != last && *first == ' ') {
        ++first;
    }
    std::uint64_t kibibytes = 0;
    const auto [end, error] = std::from_chars(first, last, kibibytes);
    if (error != std::errc() || end == first ||
        kibibytes > std::numeric_limits<std::uint64_t>::max() / 1024) {
        return std::nullopt;
    }
    return kibibytes * 1024;
}

} // namespace

MemoryStatus::Figures ProcMemoryStatus::read() {
    std::ifstream file(fileName_);
    std::optional<std::uint64_t> total;
    std::optional<std::uint64_t> available;
    std::string line;
    while (std::getline(file, line) && !(total && available)) {
        if (!total) {
            total = kibibyteLine(line, "MemTotal");
        }
        if (!available) {
            available = kibibyteLine(line, "MemAvailable");
        }
    }
    if (!total || !available) {
        throw Exception(formatMessage(Unreadable, fileName_));
    }
    return {*total, *available};
}
