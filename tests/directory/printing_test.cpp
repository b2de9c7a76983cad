#include "directory/Printing.h"

#include <gtest/gtest.h>

TEST(Printing, SnapshotSizeAndResolutionFollowTheScaleRoundedToEven)
{
    const struct {
        QSize view;
        float scale;
        QSize bitmap;
        int dpi;
    } cases[] = {
        {{593, 440}, 3.125f, {1853, 1375}, 300}, // 1853.125 x 1375
        {{5, 3}, 2.5f, {12, 8}, 240},            // 12.5 and 7.5: ties go to the even neighbour
        {{593, 440}, 1.0f, {593, 440}, 96},
    };
    for (const auto& c : cases) {
        const Printing::SnapPlan plan = Printing::PlanSnap(c.view, c.scale);
        EXPECT_EQ(plan.size, c.bitmap) << c.view.width() << "x" << c.view.height() << " * " << c.scale;
        EXPECT_EQ(plan.dpi, c.dpi);
    }
}

TEST(Printing, PictureFillsThePageWidthOrHeightKeepingItsShape)
{
    const QSize a4(2480, 3508); // portrait page at 300 dpi
    const struct {
        const char* what;
        QSize bitmap;
        QSize page;
        int percent;
        QSize printed;
    } cases[] = {
        {"wide: the page's width", {1853, 1375}, a4, 100, {2480, 1840}},     // 1375 * 2480 / 1853 = 1840.26
        {"tall: the page's height", {1000, 2000}, a4, 100, {1754, 3508}},    // exactly half
        {"tall, rounding up", {1001, 2000}, a4, 100, {1756, 3508}},          // 1755.75
        {"same shape as the page", {1240, 1754}, a4, 100, {2480, 3508}},     // not wider: height rule
        {"half away from zero", {2, 1}, {3, 100}, 100, {3, 2}},              // 1 * 3 / 2 = 1.5
        {"scaled to percent", {1853, 1375}, a4, 50, {1240, 920}},            // 1240 and 920
        {"percent ties to even", {10, 10}, {5, 5}, 50, {2, 2}},             // 2.5
    };
    for (const auto& c : cases)
        EXPECT_EQ(Printing::FitToPage(c.bitmap, c.page, c.percent), c.printed) << c.what;
}

TEST(Printing, OrganisationListSeparatesOrganisationsOnly)
{
    const auto org = [](const QString& n) {
        return QStringList{n, "ул. Садовая, 1", "тел. 1-23-45", "e-mail: a@b.ru", "web: b.ru"};
    };
    const QString sep = QString::fromLatin1(Printing::kOrgsSeparator);
    EXPECT_EQ(sep, QString(17, QLatin1Char('-')));

    EXPECT_EQ(Printing::OrgListText({}), QString());
    EXPECT_EQ(Printing::OrgListText(org("Аптека")), org("Аптека").join('\n'));
    const QStringList three = org("Аптека") + org("Баня") + org("Вокзал");
    const QStringList expected = org("Аптека") + QStringList{sep} + org("Баня") + QStringList{sep} + org("Вокзал");
    EXPECT_EQ(Printing::OrgListText(three), expected.join('\n'));
}

TEST(Printing, OrganisationsWithKindsAndHoursAreSeparatedWhateverTheirLength)
{
    const auto org = [](const QString& n) { return QStringList{n, "ул. Садовая, 1", "тел. 1-23-45", "e-mail: ", "web: "}; };
    const QString sep = QString::fromLatin1(Printing::kOrgsSeparator);
    const QStringList pharmacy = org("Аптека") + QStringList{"рубрика: Аптеки", "часы: пн–пт 9:00–18:00", "закрыто"};
    const QStringList bath = org("Баня") + QStringList{"часы работы не указаны"};
    const QStringList more{"… и ещё 12: уточните поиск"};
    struct Row {
        QList<QStringList> organisations;
        QStringList lines;
    };
    const Row rows[] = {
        {{}, {}},
        {{pharmacy}, pharmacy},
        {{pharmacy, bath}, pharmacy + QStringList{sep} + bath},
        {{bath, pharmacy, more}, bath + QStringList{sep} + pharmacy + QStringList{sep} + more},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Printing::OrganisationsText(row.organisations), row.lines.join('\n'));
}
