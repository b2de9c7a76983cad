#include "directory/SearchSuggestions.h"

#include "directory/SortedComboBox.h"
#include "directory/SuggestionPopup.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

std::vector<std::string> itemsOf(const SortedComboBox& box)
{
    std::vector<std::string> raws;
    raws.reserve(static_cast<std::size_t>(box.Count()));
    for (int row = 0; row < box.Count(); ++row)
        raws.push_back(box.ItemRaw(row));
    return raws;
}

} // namespace

struct SearchSuggestions::Box {
    enum Kind { Names, Streets, Numbers };
    SortedComboBox& combo;
    Kind kind;
    SuggestionPopup* popup;
};

SearchSuggestions::SearchSuggestions(SortedComboBox& orgName, SortedComboBox& street, SortedComboBox& houseEdit,
                                     std::function<void()> search, std::function<Houses()> houses,
                                     std::function<void()> streetChosen)
    : m_search(std::move(search)), m_houses(std::move(houses)), m_streetChosen(std::move(streetChosen))
{
    const std::pair<SortedComboBox*, Box::Kind> boxes[] = {
        {&orgName, Box::Names}, {&street, Box::Streets}, {&houseEdit, Box::Numbers}};
    for (const auto& [combo, kind] : boxes) {
        auto box = std::make_unique<Box>(Box{*combo, kind, new SuggestionPopup(combo)});
        Box* b = box.get();
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, b] { typed(*b); });
        connect(b->popup, &SuggestionPopup::clicked, this, [this, b](int row) { choose(*b, row, false); });
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        m_boxes.push_back(std::move(box));
    }
}

SearchSuggestions::~SearchSuggestions() = default;

void SearchSuggestions::Prepare()
{
    m_names.Assign(itemsOf(m_boxes[0]->combo));
    m_streets.Assign(itemsOf(m_boxes[1]->combo));
    m_addresses.Assign(m_houses ? m_houses() : Houses{});
    m_prepared = true;
}

SuggestionPopup& SearchSuggestions::PopupOf(const SortedComboBox& box) const
{
    for (const auto& b : m_boxes)
        if (&b->combo == &box)
            return *b->popup;
    return *m_boxes.front()->popup;
}

SearchSuggestions::Box* SearchSuggestions::boxOf(QObject* watched) const
{
    for (const auto& b : m_boxes)
        if (watched == &b->combo || watched == b->combo.lineEdit())
            return b.get();
    return nullptr;
}

void SearchSuggestions::typed(Box& box)
{
    if (!m_prepared)
        Prepare();
    std::vector<Suggestion> offered;
    const std::optional<std::string> text = box.combo.RawText();
    // A text the code page cannot hold matches no stored text.
    if (text && !text->empty()) {
        switch (box.kind) {
        case Box::Names:
            offered = m_names.Suggest(*text);
            break;
        case Box::Streets:
            offered = SuggestStreetLine(m_streets, m_addresses, *text);
            break;
        case Box::Numbers:
            offered = SuggestHouseNumbers(itemsOf(box.combo), *text);
            break;
        }
    }
    // The one line that is what the box already holds offers nothing.
    if (offered.size() == 1 && !offered[0].address && offered[0].text == *text)
        offered.clear();
    box.popup->ShowFor(std::move(offered));
}

void SearchSuggestions::choose(Box& box, int row, bool byEnter)
{
    const Suggestion chosen = box.popup->At(row);
    box.popup->hide();
    const bool same = !chosen.address && box.combo.RawText() == chosen.text;
    if (!same)
        box.combo.EditAsUser(chosen.text);
    if (chosen.address) {
        m_boxes[2]->combo.SetRawText(chosen.houseNo);
        m_search();
    } else if (byEnter && box.kind != Box::Names) {
        // The street asked for, alone: a house chosen before would be shown
        // again and write its own street back into the box.
        if (box.kind == Box::Streets && m_streetChosen)
            m_streetChosen();
        m_search();
    } else if (same && box.kind == Box::Names) {
        // The name already stands in the box; choosing it again selects it again.
        box.combo.EditAsUser(chosen.text);
    }
}

void SearchSuggestions::hideAll()
{
    for (const auto& b : m_boxes)
        b->popup->hide();
}

bool SearchSuggestions::eventFilter(QObject* watched, QEvent* event)
{
    Box* box = boxOf(watched);
    if (!box)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (watched != &box->combo)
            break; // the box hands its keys on to its line edit: each key is seen once
        auto* key = static_cast<QKeyEvent*>(event);
        const bool open = box->popup->isVisible();
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (!open || (key->modifiers() & Qt::AltModifier))
                break;
            box->popup->Step(key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1
                             : key->key() == Qt::Key_PageUp ? -10 : 10);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (open && box->popup->CurrentRow() >= 0) {
                choose(*box, box->popup->CurrentRow(), true);
                return true;
            }
            if (box->kind != Box::Names) {
                m_search();
                return true;
            }
            break;
        case Qt::Key_Escape:
            if (open) {
                box->popup->hide();
                return true;
            }
            break;
        case Qt::Key_F4:
            box->popup->hide();
            break;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
        box->popup->hide();
        break;
    default:
        break;
    }
    return false;
}
