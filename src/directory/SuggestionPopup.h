#pragma once

#include "search/Suggestion.h"

#include <QListView>

#include <vector>

class QStringListModel;

// The list of suggestions under a search box: the matched parts in bold,
// the first line current. It never takes the keyboard focus: the box keeps
// it, and its owner moves the current line and chooses (SearchSuggestions).
class SuggestionPopup : public QListView {
    Q_OBJECT

public:
    explicit SuggestionPopup(QWidget* box);

    // Shows the lines under the box, or hides the list when there are none.
    void ShowFor(std::vector<Suggestion> suggestions);
    const std::vector<Suggestion>& Suggestions() const { return m_suggestions; }
    const Suggestion& At(int row) const { return m_suggestions[static_cast<std::size_t>(row)]; }
    int CurrentRow() const;
    // Moves the current line by `step` rows, staying inside the list.
    void Step(int step);

signals:
    void clicked(int row);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void place();

    QWidget* m_box;
    QStringListModel* m_model;
    std::vector<Suggestion> m_suggestions;
};
