#pragma once

#include <QColor>
#include <QPalette>

// The colours of the windows that are no plain palette roles: the help band, the result, the mark
// of an order text that is no order, and selected text. Each is derived from the palette the
// window runs with, so that a dark or high-contrast colour scheme keeps them legible:
// - the band takes the palette's Base/Text pair, the colours the scheme gives a document on its
//   window (white and black in the standard scheme);
// - the result is dark blue (0, 0, 192) and the mark red (192, 0, 0) wherever they reach the
//   minimum contrast against their background; where they do not (a dark scheme), their
//   lightness is moved away from the background, hue and saturation kept, until they do;
// - a high-contrast scheme (see HighContrast) gets no colours of its own: the
//   result is written in its text colour and the mark in its selection colour on its document
//   colour (selected text in the mark keeps the selection colours, and so still shows).
// Selected text keeps the scheme's selection text colour on its selection colour, moved in
// lightness where the pair misses the minimum contrast (Qt's standard blue does, with white).
namespace SchemeColours {

struct Pair {
    QColor background;
    QColor text;
};

// The least contrast of a text: WCAG 2 level AA for normal text, AAA for large text such as the
// result.
inline constexpr double minimumContrast = 4.5;

// The WCAG 2 contrast ratio of two opaque colours, from 1 (equal luminance) to 21.
[[nodiscard]] double contrast(const QColor& first, const QColor& second);

[[nodiscard]] Pair band(const QPalette& palette);
// The text colour of the result, painted on the window's background.
[[nodiscard]] QColor result(const QPalette& palette);
// The text box colours that mark an order text as no order.
[[nodiscard]] Pair invalidOrder(const QPalette& palette);
// A palette that sets only the colours of selected text, Highlight and HighlightedText, for a text
// box to take over the scheme's other colours.
[[nodiscard]] QPalette selection(const QPalette& palette);

} // namespace SchemeColours
