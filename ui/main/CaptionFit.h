#pragma once

#include <QFont>

class QSize;
class QString;

// A label keeps its box and wraps its caption at blanks. A caption that, wrapped so, would
// overrun the box (the longest number texts in the result font do) is set in the largest
// smaller size of the same font, down to 8 points, that keeps every line whole; any other keeps
// the font as designed.
namespace CaptionFit {

[[nodiscard]] QFont fitting(const QFont& design, const QString& caption, const QSize& box);

} // namespace CaptionFit
