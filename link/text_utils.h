#pragma once
#include <QString>

// The text with every blank (32) removed; all other characters stay in order.
QString Trim_Blank(const QString& text);

// The part of `text` before the first occurrence of the one-character `delimiter`; the whole text
// when it does not occur or when the delimiter is not exactly one character long.
QString NumberToken(const QString& text, const QString& delimiter);
