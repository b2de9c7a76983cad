#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

void installFontSubstitutes()
{
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    const QString liberation = QStringLiteral("Liberation Sans");
    // Verdana is wide like DejaVu Sans; the others are closer to Liberation Sans.
    const struct {
        const char* family;
        QStringList substitutes;
    } table[] = {
        {"MS Sans Serif", {liberation, dejaVu}},
        {"Verdana", {dejaVu, liberation}},
        {"Arial", {liberation, dejaVu}},
        {"Myriad Web Pro", {liberation, dejaVu}},
    };
    for (const auto& entry : table) {
        const QString family = QString::fromLatin1(entry.family);
        if (!QFontDatabase::hasFamily(family))
            QFont::insertSubstitutions(family, entry.substitutes);
    }
}

QFont pixelFont(const QString& family, int pixelHeight, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
