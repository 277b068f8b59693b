#include "recompress/SizeSearch.h"

#include "recompress/QualityBisection.h"

std::optional<int> SizeSearch::highestQualityUnder(std::int64_t maxBytes, const SizeAt& sizeAt) {
    return QualityBisection::highestFitting([&](int quality) -> std::optional<bool> {
        const std::optional<std::int64_t> bytes = sizeAt(quality);
        if (!bytes) {
            return std::nullopt;
        }
        return *bytes <= maxBytes;
    });
}
