// Word-wrapped labels break lines only between words, so a word wider than
// the label (a long build version, a path) would be cut off at its edge.
#pragma once

#include <QFontMetrics>
#include <QString>

namespace tessary::update::qt {

// The text with invisible break opportunities (U+200B) between the characters
// of every word wider than `width`, so that such a word wraps instead.
QString withBreaksInLongWords(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace tessary::update::qt
