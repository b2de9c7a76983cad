#pragma once

#include <QFont>
#include <QString>

// Gives the Windows font families the windows are designed with (MS Sans Serif,
// Verdana, Arial, Myriad Web Pro) installed substitutes with Cyrillic glyphs,
// for each family that is not installed itself. Needs the QGuiApplication.
void installFontSubstitutes();

// A font of the family with the given character height in pixels.
QFont pixelFont(const QString& family, int pixelHeight, bool bold = false);
