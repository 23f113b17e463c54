#pragma once

class QLabel;

// A label whose box is one line of its font high shows its caption on that one line: it does not
// wrap (a second line would be cut off or hidden by the control below), and its box grows to the
// right where the caption is wider than the box. A taller label keeps its box and wraps. Call it
// once the label has its caption, font and box.
namespace LabelFit {

void keepOnOneLine(QLabel& label);

} // namespace LabelFit
