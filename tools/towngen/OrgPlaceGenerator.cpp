#include "OrgPlaceGenerator.h"

#include "base/Cp1251.h"
#include "data/OrgKinds.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>

namespace {

int kindNamed(std::string_view name)
{
    for (const OrgKind& k : orgKinds())
        if (k.name == name)
            return k.id;
    return kOtherKind;
}

// The first words of the generator's names and the kind each gives; the
// longer of two that start alike comes first ("Мебельная мастерская" before
// "Мебель").
struct NameRule {
    std::string_view start;
    std::string_view kind;
};
constexpr NameRule kNameRules[] = {
    {"Аптека", "Аптеки"},
    {"Городская больница", "Больницы и поликлиники"},
    {"Детская поликлиника", "Больницы и поликлиники"},
    {"Поликлиника", "Больницы и поликлиники"},
    {"Стоматология", "Стоматологии"},
    {"Медицинский центр", "Врачи и медцентры"},
    {"Ветеринарная клиника", "Ветеринарные клиники"},
    {"Оптика", "Оптики"},

    {"Летнее кафе", "Кафе"},
    {"Кафе", "Кафе"},
    {"Кофейня", "Кафе"},
    {"Столовая", "Кафе"},
    {"Ресторан", "Рестораны"},
    {"Пиццерия", "Рестораны"},
    {"Бар «", "Бары и пабы"},
    {"Пекарня", "Пекарни и кондитерские"},
    {"Хлеб «", "Пекарни и кондитерские"},
    {"Шашлычная", "Фастфуд"},
    {"Закусочная", "Фастфуд"},

    {"Продуктовый магазин", "Продукты"},
    {"Продукты", "Продукты"},
    {"Магазин «", "Продукты"},
    {"Минимаркет", "Продукты"},
    {"Универсам", "Супермаркеты"},
    {"Торговый центр", "Торговые центры"},
    {"Цветы", "Цветы"},
    {"Одежда", "Одежда и обувь"},
    {"Обувь", "Одежда и обувь"},
    {"Хозтовары", "Строительство и хозтовары"},
    {"Стройматериалы", "Строительство и хозтовары"},
    {"Сантехника", "Строительство и хозтовары"},
    {"Товары для дома", "Строительство и хозтовары"},
    {"Книги", "Книги и канцтовары"},
    {"Канцтовары", "Книги и канцтовары"},
    {"Киоск «Пресса»", "Книги и канцтовары"},
    {"Зоотовары", "Зоотовары"},
    {"Мебельная мастерская", "Ремонт и мастерские"},
    {"Мебель", "Мебель"},
    {"Автозапчасти", "Автозапчасти"},
    {"Электроника", "Электроника и техника"},
    {"Ювелирный салон", "Ювелирные"},
    {"Спорттовары", "Спорттовары"},
    {"Рыболов и охотник", "Спорттовары"},
    {"Игрушки", "Детские товары"},
    {"Бытовая химия", "Косметика и бытовая химия"},
    {"Ткани", "Другие магазины"},

    {"Парикмахерская", "Парикмахерские"},
    {"Салон красоты", "Салоны красоты"},

    {"Банк «", "Банки"},
    {"Страховая компания", "Страхование"},

    {"Автосервис", "Автосервисы"},
    {"Шиномонтаж", "Шиномонтаж"},
    {"Автомойка", "Автомойки"},
    {"Прокат велосипедов", "Такси и прокат"},
    {"Железнодорожный вокзал", "Вокзалы"},
    {"Автовокзал", "Вокзалы"},

    {"Школа", "Школы"},
    {"Гимназия", "Школы"},
    {"Лицей", "Школы"},
    {"Детский сад", "Детские сады"},
    {"Музыкальная школа", "Курсы и кружки"},

    {"Почтовое отделение", "Почта"},
    {"Салон связи", "Связь"},
    {"Ремонт", "Ремонт и мастерские"},
    {"Мастерская", "Ремонт и мастерские"},
    {"Ателье", "Ремонт и мастерские"},
    {"Изготовление ключей", "Ремонт и мастерские"},
    {"Химчистка", "Химчистки и прачечные"},
    {"Прачечная", "Химчистки и прачечные"},
    {"Фотоателье", "Фото и печать"},
    {"Типография", "Фото и печать"},
    {"Нотариус", "Нотариусы и юристы"},
    {"Адвокатский кабинет", "Нотариусы и юристы"},
    {"Юридическая контора", "Нотариусы и юристы"},
    {"Агентство недвижимости", "Недвижимость"},
    {"ООО", "Компании и офисы"},
    {"ЗАО", "Компании и офисы"},
    {"ОАО", "Компании и офисы"},
    {"ИП ", "Компании и офисы"},
    {"Бизнес-центр", "Компании и офисы"},
    {"Рекламное агентство", "Компании и офисы"},
    {"Бухгалтерские услуги", "Компании и офисы"},
    {"Строительная компания", "Компании и офисы"},
    {"Транспортная компания", "Компании и офисы"},
    {"Проектное бюро", "Компании и офисы"},
    {"Кадровое агентство", "Компании и офисы"},
    {"Редакция газеты", "Компании и офисы"},

    {"Музей", "Музеи и галереи"},
    {"Библиотека", "Библиотеки"},
    {"Дом культуры", "Дома культуры"},
    {"Аттракционы", "Развлечения"},

    {"Фитнес-клуб", "Фитнес"},
    {"Спортивная школа", "Спортивные центры"},
    {"Стадион", "Стадионы и площадки"},

    {"Администрация", "Администрация"},
    {"Городской совет", "Администрация"},
    {"Отдел ЗАГС", "Администрация"},
    {"Городской архив", "Администрация"},
    {"Налоговая инспекция", "Администрация"},
    {"Военный комиссариат", "Администрация"},
    {"Пожарная часть", "Пожарные части"},
    {"Районный суд", "Суды"},
    {"Центр занятости", "Социальные службы"},
    {"Отдел социальной защиты", "Социальные службы"},

    {"Гостиница", "Гостиницы"},
    {"Туристическое агентство", "Турагентства"},
};

// Hours by kind: the choices and, in step, how often each is taken. An
// empty text is "no hours given".
struct HoursChoice {
    std::string_view hours;
    double weight;
};
struct KindHours {
    std::vector<std::string_view> kinds;
    std::vector<HoursChoice> choices;
};

const std::vector<KindHours>& hoursTable()
{
    static const std::vector<KindHours> table = {
        {{"Аптеки"},
         {{"24/7", 2}, {"Mo-Fr 08:00-21:00; Sa,Su 09:00-20:00", 3}, {"Mo-Su 08:00-22:00", 3},
          {"Mo-Sa 09:00-20:00; Su 10:00-18:00", 2}, {"", 1}}},
        {{"Продукты", "Супермаркеты"},
         {{"Mo-Su 08:00-23:00", 4}, {"24/7", 2}, {"Mo-Su 07:00-22:00", 3}, {"Mo-Sa 08:00-21:00; Su 09:00-20:00", 2},
          {"", 1}}},
        {{"Пекарни и кондитерские"}, {{"Mo-Su 07:00-20:00", 3}, {"Mo-Sa 08:00-19:00; Su off", 2}, {"", 1}}},
        {{"Кафе", "Рестораны", "Фастфуд"},
         {{"Mo-Su 10:00-22:00", 3}, {"Mo-Th,Su 11:00-23:00; Fr,Sa 11:00-02:00", 2}, {"Mo-Fr 08:00-17:00", 1},
          {"Mo-Su 12:00-24:00", 2}, {"", 1}}},
        {{"Бары и пабы"}, {{"Mo-Th 16:00-01:00; Fr,Sa 16:00-03:00; Su 16:00-24:00", 3}, {"Mo-Su 18:00-02:00", 2}}},
        {{"Торговые центры"}, {{"Mo-Su 10:00-22:00", 4}, {"Mo-Su 09:00-21:00", 1}}},
        {{"Цветы"}, {{"24/7", 1}, {"Mo-Su 08:00-21:00", 3}, {"", 1}}},
        {{"Одежда и обувь", "Строительство и хозтовары", "Книги и канцтовары", "Зоотовары", "Мебель", "Автозапчасти",
          "Электроника и техника", "Ювелирные", "Спорттовары", "Детские товары", "Косметика и бытовая химия",
          "Другие магазины", "Оптики", "Связь"},
         {{"Mo-Sa 10:00-19:00; Su 10:00-17:00", 3}, {"Mo-Fr 10:00-19:00; Sa 10:00-16:00; Su off", 3},
          {"Mo-Su 10:00-20:00", 3}, {"Mo-Fr 09:00-13:00,14:00-18:00; Sa 10:00-15:00", 1}, {"", 2}}},
        {{"Больницы и поликлиники"},
         {{"Mo-Fr 08:00-20:00; Sa 09:00-15:00; Su off", 4}, {"24/7", 1}, {"Mo-Fr 08:00-19:00; PH off", 1}}},
        {{"Стоматологии", "Врачи и медцентры"},
         {{"Mo-Fr 09:00-21:00; Sa 10:00-16:00", 3}, {"Mo-Sa 09:00-20:00", 2}, {"", 1}}},
        {{"Ветеринарные клиники"}, {{"Mo-Su 09:00-21:00", 2}, {"24/7", 1}}},
        {{"Банки", "Страхование"},
         {{"Mo-Fr 09:00-19:00; Sa 10:00-15:00", 3}, {"Mo-Fr 09:30-18:30", 2}, {"Mo-Fr 09:00-18:00; PH off", 1}}},
        {{"Компании и офисы", "Недвижимость", "Нотариусы и юристы", "Турагентства", "Фото и печать"},
         {{"Mo-Fr 09:00-18:00", 4}, {"Mo-Fr 09:00-13:00,14:00-18:00", 3}, {"Mo-Th 09:00-18:00; Fr 09:00-16:45", 1},
          {"Mo-Fr 10:00-19:00; Sa 11:00-16:00", 1}, {"", 4}}},
        {{"Автосервисы", "Шиномонтаж", "Автомойки"},
         {{"Mo-Sa 09:00-20:00", 3}, {"Mo-Su 08:00-22:00", 2}, {"24/7", 1}, {"", 1}}},
        {{"Ремонт и мастерские", "Химчистки и прачечные"},
         {{"Mo-Fr 10:00-19:00; Sa 10:00-15:00", 3}, {"Mo-Fr 09:00-14:00,15:00-19:00; Sa 10:00-16:00", 2},
          {"Tu-Sa 10:00-18:00", 1}, {"", 2}}},
        {{"Парикмахерские", "Салоны красоты"}, {{"Mo-Su 09:00-21:00", 3}, {"Mo-Sa 09:00-20:00; Su 10:00-18:00", 2}}},
        {{"Школы"}, {{"Mo-Fr 08:00-18:00; Sa 08:00-14:00", 2}, {"Mo-Fr 08:00-19:00", 2}}},
        {{"Детские сады"}, {{"Mo-Fr 07:00-19:00; PH off", 3}, {"Mo-Fr 07:00-19:00", 1}}},
        {{"Почта"}, {{"Mo-Fr 08:00-13:00,14:00-20:00; Sa 09:00-18:00; Su off", 2}, {"Mo-Fr 08:00-20:00; Sa 09:00-18:00", 2}}},
        {{"Библиотеки", "Курсы и кружки"}, {{"Tu-Sa 10:00-19:00", 2}, {"Mo-Fr 11:00-20:00; Sa 10:00-17:00", 1}}},
        {{"Музеи и галереи"}, {{"Tu-Su 10:00-18:00; Th 12:00-21:00", 2}, {"We-Su 10:00-18:00", 1}}},
        {{"Дома культуры", "Развлечения"},
         {{"Mo-Fr 09:00-21:00; Sa,Su 10:00-20:00", 2}, {"May-Sep Mo-Su 10:00-22:00; Oct-Apr off", 1}}},
        {{"Фитнес", "Спортивные центры", "Стадионы и площадки"},
         {{"Mo-Fr 07:00-23:00; Sa,Su 09:00-21:00", 3}, {"Mo-Su 08:00-22:00", 2}}},
        {{"Такси и прокат"}, {{"May-Sep Mo-Su 10:00-21:00; Oct-Apr off", 1}}},
        {{"Администрация", "Суды", "Социальные службы"},
         {{"Mo-Th 09:00-18:00; Fr 09:00-16:45; PH off", 2}, {"Mo-Fr 09:00-13:00,13:45-18:00", 2},
          {"Mo-Fr 09:00-18:00", 1}}},
        {{"Пожарные части", "Гостиницы"}, {{"24/7", 1}}},
        {{"Вокзалы"}, {{"Mo-Su 05:00-24:00", 1}, {"24/7", 1}}},
    };
    return table;
}

std::string fit(const std::string& utf8, std::size_t capacity)
{
    std::string b = cp1251::fromUtf8(utf8);
    if (b.size() > capacity)
        b.resize(capacity);
    return b;
}

const std::vector<std::string> kPlacedOnlyWords = {"Ветерок", "Берёзка", "Радуга", "Весна", "Огонёк", "Колесо",
                                                   "Лето", "Сказка", "Удача", "Старт"};
} // namespace

int kindOfGeneratedName(const std::string& utf8Name)
{
    for (const NameRule& r : kNameRules)
        if (std::string_view(utf8Name).starts_with(r.start))
            return kindNamed(r.kind);
    return kOtherKind;
}

std::string generatedHours(int kind, TownRandom& random)
{
    const OrgKind* k = orgKindById(kind);
    if (!k)
        return {};
    for (const KindHours& row : hoursTable()) {
        if (std::find(row.kinds.begin(), row.kinds.end(), k->name) == row.kinds.end())
            continue;
        std::vector<double> weights;
        for (const HoursChoice& c : row.choices)
            weights.push_back(c.weight);
        return std::string(row.choices[random.weighted(weights)].hours);
    }
    // Works, depots and whatever else: office hours or none.
    return random.chance(0.5) ? "Mo-Fr 08:00-17:00" : "";
}

OrgPlaces generateOrgPlaces(const OrgRecords& orgs, const std::vector<std::size_t>& houseOf, std::size_t houseCount,
                            TownRandom random)
{
    OrgPlaces out;
    out.entries.reserve(orgs.size());
    std::map<std::string, std::string> hoursOf; // a chain keeps the same hours at every branch
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        OrgPlace p;
        if (i < houseOf.size() && houseOf[i] < houseCount) {
            p.place = OrgPlace::Place::House;
            p.house = std::uint32_t(houseOf[i]);
        }
        const std::string name = cp1251::decode(orgs[i].name).toStdString();
        p.kind = std::uint16_t(kindOfGeneratedName(name));
        auto known = hoursOf.find(orgs[i].name);
        if (known == hoursOf.end())
            known = hoursOf.emplace(orgs[i].name, generatedHours(p.kind, random)).first;
        p.hours = known->second;
        out.entries.push_back(std::move(p));
    }
    return out;
}

void addPlacedOnlyOrganisations(OrgRecords& orgs, OrgPlaces& places, const std::vector<PlacedHouse>& houses,
                                const std::vector<Polygon>& parks, const std::vector<LandmarkRecord>& landmarks,
                                TownRandom random)
{
    if (orgs.size() < 100)
        return;
    // Entries that may give way: plain firms at a house, each the only one
    // of its name, so no chain loses a branch and no institution or
    // business centre goes.
    std::map<std::string, int> sameName;
    for (const OrgRecord& r : orgs)
        ++sameName[r.name];
    auto plainFirm = [](const std::string& cp1251Name) {
        for (std::string_view form : {"ООО «", "ЗАО «", "ОАО «", "ИП "})
            if (cp1251Name.starts_with(cp1251::fromUtf8(form)))
                return true;
        return false;
    };
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < orgs.size() && i < places.entries.size(); ++i)
        if (places.entries[i].place == OrgPlace::Place::House && plainFirm(orgs[i].name)
            && sameName[orgs[i].name] == 1)
            free.push_back(i);
    auto take = [&]() -> std::size_t {
        if (free.empty())
            return orgs.size();
        const std::size_t k = random.index(free.size());
        const std::size_t i = free[k];
        free.erase(free.begin() + std::ptrdiff_t(k));
        return i;
    };
    auto put = [&](std::size_t i, const std::string& utf8Name, OrgPlace place) {
        OrgRecord r;
        r.name = fit(utf8Name, OrgRecord::kNameCapacity);
        if (random.chance(0.7)) {
            char phone[24];
            std::snprintf(phone, sizeof phone, "8-9%02d-%03d-%02d-%02d", random.between(0, 99),
                          random.between(0, 999), random.between(0, 99), random.between(0, 99));
            r.phone = phone;
        }
        place.kind = std::uint16_t(kindOfGeneratedName(utf8Name));
        // What stands in a park opens for the summer.
        place.hours = place.place == OrgPlace::Place::Point ? "May-Sep Mo-Su 10:00-21:00; Oct-Apr off"
                                                            : generatedHours(place.kind, random);
        orgs[i] = std::move(r);
        places.entries[i] = std::move(place);
    };
    auto named = [&](const char* form) {
        std::string s = form;
        const std::size_t at = s.find('%');
        if (at != std::string::npos)
            s.replace(at, 1, random.pick(kPlacedOnlyWords));
        return s;
    };

    // In outbuildings: a tyre fitter in a garage, a key cutter in a shed.
    static const char* const kInOutbuildings[] = {"Шиномонтаж «%»", "Изготовление ключей", "Автосервис «%»",
                                                  "Ремонт обуви «%»", "Киоск «Пресса»"};
    std::vector<std::size_t> outbuildings;
    for (std::size_t h = 0; h < houses.size(); ++h)
        if (houses[h].number == "0")
            outbuildings.push_back(h);
    const std::size_t inHouses = std::min(outbuildings.size(), std::max<std::size_t>(2, orgs.size() / 300));
    for (std::size_t k = 0; k < inHouses; ++k) {
        const std::size_t i = take();
        if (i == orgs.size())
            return;
        OrgPlace p;
        p.place = OrgPlace::Place::House;
        p.house = std::uint32_t(outbuildings[random.index(outbuildings.size())]);
        put(i, named(kInOutbuildings[k % std::size(kInOutbuildings)]), p);
    }

    // In the parks, halfway from the middle to a corner, clear of the
    // landmarks that stand in some of them.
    static const char* const kInParks[] = {"Летнее кафе «%»", "Прокат велосипедов «%»", "Аттракционы «%»"};
    std::size_t made = 0;
    const std::size_t inParks = std::max<std::size_t>(2, orgs.size() / 500);
    for (const Polygon& park : parks) {
        if (made >= inParks || park.size() < 3)
            break;
        const Vec2 middle = centroidOfNodes(park);
        for (const Vec2& corner : park) {
            const Vec2 at = middle + (corner - middle) * 0.5f;
            const bool clear = std::all_of(landmarks.begin(), landmarks.end(), [&](const LandmarkRecord& l) {
                return length(at - Vec2{l.position[0], l.position[1]}) > 4;
            });
            if (!pointInPolygon(park, at) || !clear)
                continue;
            const std::size_t i = take();
            if (i == orgs.size())
                return;
            OrgPlace p;
            p.place = OrgPlace::Place::Point;
            p.x = at.x;
            p.y = at.y;
            put(i, named(kInParks[made % std::size(kInParks)]), p);
            ++made;
            break;
        }
    }
}
