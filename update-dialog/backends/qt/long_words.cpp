#include "long_words.h"

#include <QTextBoundaryFinder>

namespace tessary::update::qt {
namespace {

constexpr QChar zeroWidthSpace(0x200B);

QString breakableEverywhere(const QString& word) {
    QString result;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
    qsizetype start = 0;
    for (qsizetype end = graphemes.toNextBoundary(); end != -1; end = graphemes.toNextBoundary()) {
        if (start > 0) result += zeroWidthSpace;
        result += word.mid(start, end - start);
        start = end;
    }
    return result;
}

}  // namespace

QString withBreaksInLongWords(const QString& text, const QFontMetrics& metrics, int width) {
    QString result;
    qsizetype wordStart = 0;
    const auto flushWord = [&](qsizetype end) {
        const QString word = text.mid(wordStart, end - wordStart);
        result += metrics.horizontalAdvance(word) > width ? breakableEverywhere(word) : word;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSpace()) continue;
        flushWord(i);
        result += text.at(i);
        wordStart = i + 1;
    }
    flushWord(text.size());
    return result;
}

}  // namespace tessary::update::qt
