#include "directory/MapOverlays.h"

#include "map/MapState.h"
#include "base/Cp1251.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxHUDSprite.h"
#include "platform/Fonts.h"
#include "map/House.h"

#include <QFontMetrics>
#include <QPainter>

namespace MapOverlays {

const std::array<LegendLine, 6> kLegend = {{
    {{3, 3}, Qt::black, "Управление:"},
    {{3, 15}, Qt::black, "ПКМ - вращение камеры"},
    {{3, 28}, Qt::black, "shift+ЛКМ - движение карты"},
    {{3, 43}, Qt::black, "Колесо - ближе/дальше"},
    {{3, 58}, QColor(192, 192, 192), "ПКМ - правая кл. мыши"},
    {{3, 73}, QColor(192, 192, 192), "ЛКМ - левая кл. мыши"},
}};

namespace {

const QString kVerdana = QStringLiteral("Verdana");

// Text whose top-left corner is at `at`, without a background box.
void drawTopLeft(QPainter& painter, QPoint at, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    painter.drawText(at.x(), at.y() + metrics.ascent(), text);
}

// The largest Arial whose cell (ascent plus descent) fits the label's line height.
QFont hintFont()
{
    QFont font = pixelFont(QStringLiteral("Arial"), kHintFontCellPixels);
    for (int px = kHintFontCellPixels; px > 6; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).height() <= kHintFontCellPixels)
            break;
    }
    return font;
}

} // namespace

QString AddressLineText(const Thouse& house)
{
    if (house.params()[0].empty())
        return QString::fromUtf8(kNoAddress);
    return cp1251::decode(cp1251::fromUtf8("ул. ") + house.params()[0] + ", " + house.params()[1]);
}

QString HintText(const Thouse& house)
{
    if (house.params()[0].empty())
        return QString::fromUtf8(kNoAddress);
    std::string text = cp1251::fromUtf8("ул.") + house.params()[0];
    if (house.params()[1] != "0")
        text += ", " + house.params()[1];
    return cp1251::decode(text);
}

QImage HintBitmap(const QString& text)
{
    QImage bitmap(kHintWidth, kHintHeight, QImage::Format_RGB888);
    bitmap.fill(QColor(255, 255, 0));
    QPainter painter(&bitmap);
    painter.setPen(Qt::black);
    painter.drawLine(0, 0, kHintWidth - 1, 0);
    painter.drawLine(0, 0, 0, kHintHeight - 1);
    painter.setFont(hintFont());
    drawTopLeft(painter, kHintTextAt, text);
    return bitmap;
}

void Draw(QPainter& painter, int viewHeight, const TGxBaseSceneObject* currentObject)
{
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(pixelFont(kVerdana, kLegendFontPixels));
    for (const LegendLine& line : kLegend) {
        painter.setPen(line.colour);
        drawTopLeft(painter, line.at, QString::fromUtf8(line.text));
    }
    if (const auto* house = dynamic_cast<const Thouse*>(currentObject)) {
        painter.setFont(pixelFont(kVerdana, kAddressFontPixels));
        painter.setPen(Qt::black);
        drawTopLeft(painter, {kAddressLineX, viewHeight - kAddressLineFromBottom}, AddressLineText(*house));
    }
}

std::vector<QRect> ReservedAreas(QSize view)
{
    const QFontMetrics legend(pixelFont(kVerdana, kLegendFontPixels));
    QRect legendArea;
    for (const LegendLine& line : kLegend)
        legendArea |= QRect(line.at, QSize(legend.horizontalAdvance(QString::fromUtf8(line.text)), legend.height()));
    // The address line's length depends on the house; most fit in this.
    const QFontMetrics address(pixelFont(kVerdana, kAddressFontPixels));
    const int addressWidth = address.horizontalAdvance(QStringLiteral("ул. Железнодорожников, 120к2"));
    const QRect addressArea(kAddressLineX, view.height() - kAddressLineFromBottom, addressWidth, address.height());
    return {legendArea.adjusted(-2, -2, 2, 2), addressArea.adjusted(-2, -2, 2, 2)};
}

void RemoveHint(MapState& state)
{
    delete state.HintSprite;
    state.HintSprite = nullptr;
}

void ViewHint(MapState& state, TGxBaseSceneObject& root, const Thouse& house,
              const std::function<TGxVector(const TGxVector&)>& projectToWindow, int viewHeight)
{
    RemoveHint(state);
    auto* sprite = root.SpawnChild<TGxHUDSprite>();
    state.HintSprite = sprite;
    sprite->SetVisible(true);
    sprite->SetWidth(kHintWidth);
    sprite->SetHeight(kHintHeight);

    TGxMaterial& material = sprite->Material();
    TGxTexture& texture = material.Texture();
    texture.AssignImage(HintBitmap(HintText(house)));
    texture.SetEnabled(true);
    texture.SetTextureWrap(twBoth);
    texture.MarkImageChanged();
    material.FrontProperties().Diffuse().SetAlpha(kHintAlpha);
    material.SetBlendingMode(bmTransparency);

    const TGxVector p = projectToWindow(PointMake(house.CenterX(), house.CenterY(), 0));
    // The sprite is placed from the top of the view; the projection counts from the bottom.
    sprite->Position().AssignPoint(p.X, float(viewHeight) - p.Y, p.Z);
}

} // namespace MapOverlays
