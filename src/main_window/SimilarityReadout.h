#pragma once

#include <QString>
#include <optional>

// The tooltip of the compressed-size readout, in the language given: the similarity of the
// preview to the loaded picture with four decimals (a decimal comma in French) and the new
// file's size as a whole percentage of the loaded file's, "SSIM 0.9871 · 38 % of the
// original file". A new file larger than the loaded one is said first, on a line of its
// own. Without the loaded file's size only the score is given. A score against the loaded
// picture shrunk as the new file is says so on a line of its own.
namespace SimilarityReadout {

QString text(double similarity, qint64 newBytes, std::optional<qint64> originalBytes,
             const QString& language, bool shrunk = false);

} // namespace SimilarityReadout
