#include "app/RouteBar.h"

#include "directory/RoutePlan.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

RouteBar::RouteBar(QWidget* parent)
    : QWidget(parent), m_summary(new QLabel(this)), m_foot(new QRadioButton(QString::fromUtf8(kFoot), this)),
      m_car(new QRadioButton(QString::fromUtf8(kCar), this)), m_clear(new QPushButton(QString::fromUtf8(kClear), this))
{
    setObjectName("RouteBar");
    m_summary->setObjectName("RouteSummary");
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_foot->setObjectName("rb_foot");
    m_car->setObjectName("rb_car");
    m_clear->setObjectName("bt_clearRoute");
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(m_foot), static_cast<QAbstractButton*>(m_car),
                               static_cast<QAbstractButton*>(m_clear)})
        b->setAccessibleName(b->text());
    m_foot->setAccessibleDescription(QStringLiteral("Кратчайший путь пешком, 5 км/ч"));
    m_car->setAccessibleDescription(QStringLiteral("Быстрейший путь на машине по улицам, где можно проехать"));
    m_clear->setAccessibleDescription(QStringLiteral("Убрать маршрут с карты"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_foot);
    group->addButton(m_car);
    m_foot->setChecked(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_summary, 1);
    layout->addWidget(m_foot);
    layout->addWidget(m_car);
    layout->addWidget(m_clear);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_foot, &QRadioButton::toggled, this, [this](bool on) {
        if (on && ModeChosen)
            ModeChosen(TravelMode::Foot);
    });
    connect(m_car, &QRadioButton::toggled, this, [this](bool on) {
        if (on && ModeChosen)
            ModeChosen(TravelMode::Car);
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        if (ClearClicked)
            ClearClicked();
    });
    hide();
}

void RouteBar::Show(const RoutePlan& plan)
{
    const QString summary = plan.Summary();
    m_summary->setText(summary);
    m_summary->setAccessibleName(summary);
    m_summary->setToolTip(plan.Description());
    m_summary->setAccessibleDescription(plan.Description());
    (plan.Mode() == TravelMode::Foot ? m_foot : m_car)->setChecked(true);
    setVisible(plan.Active());
}
