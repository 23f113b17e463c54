#pragma once

class QLabel;

// A label one line high shows its caption on that one line: it does not wrap (the second line
// would be cut off or hidden by the control below), and its box grows to the right where the
// caption is wider than the box; where it fits, the box stays as it is. Call it once the label has
// its caption, font and box.
namespace LabelFit {

void keepOnOneLine(QLabel& label);

} // namespace LabelFit
