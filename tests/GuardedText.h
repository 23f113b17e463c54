#pragma once

#include <QString>

// A text of `length` characters of which only the first memory page can be read; that page holds
// `pattern` over and over, and reading further crashes. Shows that code reads no more of a text
// than it needs. The memory stays reserved until the program ends.
[[nodiscard]] QString guardedText(qsizetype length, QStringView pattern);
