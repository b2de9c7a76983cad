#include "navigation/Ruler.h"

#include <cmath>

double Ruler::Metres() const
{
    return polylineMetres(m_points);
}

QString Ruler::Text() const
{
    if (m_points.empty())
        return {};
    return QStringLiteral("Линейка: ") + MetresText(Metres());
}

QString Ruler::MetresText(double metres)
{
    QString digits = QString::number(static_cast<long long>(std::llround(metres)));
    // A no-break space between thousands, as Russian writes them.
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QChar(0x00A0));
    return digits + QStringLiteral("\u00A0м");
}
