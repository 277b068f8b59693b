#include "main_window/SimilarityReadout.h"

#include "settings/LanguageText.h"
#include "settings/Texts.h"

#include <cmath>

namespace SimilarityReadout {

namespace {

QString scoreAndShare(double similarity, qint64 newBytes, std::optional<qint64> originalBytes,
                      const QString& language) {
    QString score = QString::number(similarity, 'f', 4);
    if (isFrench(language)) {
        score.replace('.', ',');
    }
    QString text = "SSIM " + score;
    if (!originalBytes || *originalBytes <= 0) {
        return text;
    }
    const qint64 percent =
        std::llround(100.0 * static_cast<double>(newBytes) / static_cast<double>(*originalBytes));
    text +=
        QString::fromUtf8(" · ") + QString::number(percent) + Texts::ShareOfOriginal.in(language);
    if (newBytes > *originalBytes) {
        text = Texts::LargerThanOriginal.in(language) + "\n" + text;
    }
    return text;
}

} // namespace

QString text(double similarity, qint64 newBytes, std::optional<qint64> originalBytes,
             const QString& language, bool shrunk) {
    QString text = scoreAndShare(similarity, newBytes, originalBytes, language);
    return shrunk ? text + "\n" + Texts::MeasuredOnResized.in(language) : text;
}

} // namespace SimilarityReadout
