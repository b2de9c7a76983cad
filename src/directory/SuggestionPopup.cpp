#include "directory/SuggestionPopup.h"

#include "base/Cp1251.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kVisibleRows = 10;
constexpr int kWidestLine = 480;

// Draws a line's text in parts, the matched ones bold.
class BoldPartsDelegate : public QStyledItemDelegate {
public:
    BoldPartsDelegate(const SuggestionPopup& popup) : QStyledItemDelegate(const_cast<SuggestionPopup*>(&popup)), m_popup(popup) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget->style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(3, 0, -3, 0);

        painter->save();
        painter->setClipRect(area);
        painter->setPen(opt.palette.color(QPalette::Normal, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                               : QPalette::Text));
        QFont bold = opt.font;
        bold.setBold(true);
        int x = area.left();
        int from = 0;
        const auto part = [&](int to, const QFont& font) {
            if (to <= from)
                return;
            const QString piece = text.mid(from, to - from);
            painter->setFont(font);
            const QFontMetrics metrics(font);
            painter->drawText(QRect(x, area.top(), area.right() - x + 1, area.height()),
                              Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, piece);
            x += metrics.horizontalAdvance(piece);
            from = to;
        };
        for (const Suggestion::Span& span : m_popup.At(index.row()).bold) {
            part(std::min<int>(span.start, text.size()), opt.font);
            part(std::min<int>(span.start + span.length, text.size()), bold);
        }
        part(text.size(), opt.font);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        QFont bold = option.font;
        bold.setBold(true);
        size.setWidth(QFontMetrics(bold).horizontalAdvance(index.data().toString()) + 12);
        return size;
    }

private:
    const SuggestionPopup& m_popup;
};

} // namespace

SuggestionPopup::SuggestionPopup(QWidget* box)
    : QListView(box), m_box(box), m_model(new QStringListModel(this))
{
    // A window of its own that never takes focus: typing stays in the box.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(box->objectName() + QStringLiteral("Suggestions"));
    setAccessibleName(QStringLiteral("Подсказки"));
    setFont(box->font());
    setModel(m_model);
    setItemDelegate(new BoldPartsDelegate(*this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setMouseTracking(true);
}

void SuggestionPopup::ShowFor(std::vector<Suggestion> suggestions)
{
    m_suggestions = std::move(suggestions);
    QStringList lines;
    for (const Suggestion& s : m_suggestions)
        lines << cp1251::decode(s.shown);
    m_model->setStringList(lines);
    if (m_suggestions.empty()) {
        hide();
        return;
    }
    setCurrentIndex(m_model->index(0));
    place();
    show();
    raise();
}

int SuggestionPopup::CurrentRow() const
{
    return isVisible() && currentIndex().isValid() ? currentIndex().row() : -1;
}

void SuggestionPopup::Step(int step)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(std::max(currentIndex().row(), 0) + step, 0, count - 1);
    setCurrentIndex(m_model->index(row));
}

void SuggestionPopup::place()
{
    const int rows = std::min<int>(static_cast<int>(m_suggestions.size()), kVisibleRows);
    const int rowHeight = std::max(sizeHintForRow(0), 1);
    const int scrollBar = int(m_suggestions.size()) > kVisibleRows ? verticalScrollBar()->sizeHint().width() : 0;
    const int widest = sizeHintForColumn(0) + 2 * frameWidth() + scrollBar;
    const int width = std::min(std::max(m_box->width(), widest), std::max(kWidestLine, m_box->width()));
    const int height = rows * rowHeight + 2 * frameWidth();

    QPoint at = m_box->mapToGlobal(QPoint(0, m_box->height()));
    if (const QScreen* screen = m_box->screen()) {
        const QRect space = screen->availableGeometry();
        if (at.y() + height > space.bottom())
            at.setY(m_box->mapToGlobal(QPoint(0, 0)).y() - height);
        at.setX(std::clamp(at.x(), space.left(), std::max(space.left(), space.right() - width)));
    }
    setGeometry(QRect(at, QSize(width, height)));
}

void SuggestionPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex under = indexAt(event->position().toPoint());
    if (under.isValid() && under != currentIndex())
        setCurrentIndex(under);
    QListView::mouseMoveEvent(event);
}

void SuggestionPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex under = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && under.isValid()) {
        emit clicked(under.row());
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void SuggestionPopup::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    // The box keeps the focus; a screen reader hears the line as if it had it.
    if (current.isValid() && isVisible() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}
