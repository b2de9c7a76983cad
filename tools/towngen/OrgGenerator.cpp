#include "OrgGenerator.h"

#include "base/Cp1251.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace {
const std::vector<std::string> kWords = {
    "Здоровье", "Северный ветер", "Радуга", "Уют", "Солнышко", "Калинка", "Берёзка", "Весна", "Вереск",
    "Гранит", "Меридиан", "Орион", "Престиж", "Лидер", "Алые паруса", "Ромашка", "Колосок", "Надежда",
    "Родник", "Журавли", "Рассвет", "Садко", "Сказка", "Светлячок", "Огонёк", "Янтарь", "Малахит",
    "Дружба", "Волна", "Парус", "Мечта", "Восход", "Снежинка", "Рябинка", "Полянка", "Тройка", "Сокол",
    "Кедр", "Бриз", "Гармония", "Эталон", "Стимул", "Импульс", "Вектор", "Атлант", "Фортуна", "Юпитер",
    "Аврора", "Каскад", "Магнолия", "Лотос", "Жемчужина", "Изумруд", "Сапфир", "Старый город", "Верескола",
    "Заречье", "Теремок", "Белые ночи", "Русский лес", "Золотой ключик", "Добрый дом", "Домовёнок",
    "Ладушки", "Крепыш", "Мастер", "Умелец", "Хозяин", "Вкусный дом", "Пышка", "Самовар", "Блинок",
    "Три медведя", "Лукоморье", "Жар-птица", "Горизонт", "Перспектива", "Монолит", "Фундамент", "Континент",
    "Северная звезда", "Кристалл", "Очаг", "Привал", "Околица", "Ветерок", "Липка", "Ивушка", "Черёмуха",
    "Вишенка", "Светлана", "Людмила", "Арина", "Элегия", "Модерн", "Классика", "Стиль", "Шарм", "Локон",
};
const std::vector<std::string> kSurnames = {
    "Иванов", "Петров", "Смирнов", "Кузнецов", "Попов", "Соколов", "Лебедев", "Козлов", "Новиков",
    "Морозов", "Волков", "Алексеев", "Лебедев", "Семёнов", "Егоров", "Павлов", "Степанов", "Николаев",
    "Орлов", "Андреев", "Макаров", "Никитин", "Захаров", "Зайцев", "Соловьёв", "Борисов", "Яковлев",
    "Григорьев", "Романов", "Воробьёв", "Сергеев", "Фролов", "Александров", "Дмитриев", "Королёв", "Гусев",
};
const char* kInitials[] = {"А.", "Б.", "В.", "Г.", "Д.", "Е.", "И.", "К.", "Л.", "М.", "Н.", "О.", "П.", "Р.", "С.", "Т.", "Ю."};

enum Affinity { kShop, kOffice, kService, kPublic, kWorks };

struct Category {
    std::vector<std::string> forms; // "%" is replaced by a name in quotes, "#" by a number
    double weight;
    Affinity where;
    double phone, email, web;
};

const std::vector<Category> kCategories = {
    {{"Продукты «%»", "Магазин «%»", "Универсам «%»", "Минимаркет «%»", "Продуктовый магазин «%»"}, 12, kShop, 0.85, 0.2, 0.05},
    {{"Цветы «%»", "Одежда «%»", "Обувь «%»", "Хозтовары «%»", "Книги «%»", "Зоотовары «%»", "Мебель «%»",
      "Стройматериалы «%»", "Автозапчасти «%»", "Электроника «%»", "Ткани «%»", "Оптика «%»",
      "Ювелирный салон «%»", "Спорттовары «%»", "Канцтовары «%»", "Товары для дома «%»", "Игрушки «%»",
      "Рыболов и охотник «%»", "Сантехника «%»", "Бытовая химия «%»"},
     13, kShop, 0.85, 0.35, 0.2},
    {{"Аптека «%»", "Аптека № #"}, 4, kShop, 0.95, 0.3, 0.15},
    {{"Кафе «%»", "Ресторан «%»", "Столовая № #", "Пиццерия «%»", "Кофейня «%»", "Бар «%»", "Пекарня «%»",
      "Шашлычная «%»", "Закусочная «%»"},
     7, kShop, 0.85, 0.3, 0.25},
    {{"ООО «%»", "ООО «%»", "ООО «%»", "ЗАО «%»", "ОАО «%»", "ИП @", "ИП @", "Агентство недвижимости «%»",
      "Юридическая контора «%»", "Страховая компания «%»", "Туристическое агентство «%»", "Рекламное агентство «%»",
      "Нотариус @", "Адвокатский кабинет @", "Бухгалтерские услуги «%»", "Типография «%»",
      "Строительная компания «%»", "Транспортная компания «%»", "Проектное бюро «%»", "Кадровое агентство «%»"},
     30, kOffice, 0.92, 0.75, 0.45},
    {{"Автосервис «%»", "Шиномонтаж «%»", "Ремонт обуви", "Ателье «%»", "Ремонт часов", "Мастерская «%»",
      "Парикмахерская «%»", "Салон красоты «%»", "Фотоателье «%»", "Ремонт телефонов «%»", "Химчистка «%»",
      "Прачечная «%»", "Изготовление ключей", "Мебельная мастерская «%»", "Автомойка «%»", "Ремонт бытовой техники «%»",
      "Сауна «%»", "Фитнес-клуб «%»"},
     15, kService, 0.8, 0.25, 0.15},
    {{"Поликлиника № #", "Стоматология «%»", "Медицинский центр «%»", "Ветеринарная клиника «%»", "Городская больница № #",
      "Детская поликлиника № #"},
     2, kPublic, 0.98, 0.6, 0.4},
    {{"Школа № #", "Школа № #", "Гимназия № #", "Лицей № #"}, 0.6, kPublic, 1.0, 0.9, 0.8},
    {{"Детский сад № # «%»", "Детский сад № #"}, 0.9, kPublic, 1.0, 0.6, 0.3},
    {{"Почтовое отделение № #", "Библиотека № #", "Дом культуры «%»", "Спортивная школа № #", "Музыкальная школа № #",
      "Пожарная часть № #", "Гостиница «%»", "Баня № #", "Отдел социальной защиты", "Стадион «%»"},
     3, kPublic, 0.95, 0.5, 0.3},
    {{"Склад «%»", "ООО «%»", "Пилорама «%»", "Автобаза № #", "Котельная № #", "Хлебозавод «%»", "Молокозавод «%»",
      "Металлобаза «%»"},
     4, kWorks, 0.85, 0.4, 0.2},
    {{"Банк «@», дополнительный офис № #"}, 1.5, kOffice, 1.0, 0.9, 1.0},
};

const std::vector<std::string> kBanks = {"Вересковый", "Северный кредит", "Городской капитал", "Речной",
                                         "Лесной сберегательный"};

const std::vector<std::string> kOnce = {
    "Администрация города Верескола", "Городской совет депутатов", "Музей истории города Верескола",
    "Железнодорожный вокзал", "Автовокзал", "Центр занятости населения", "Отдел ЗАГС", "Городской архив",
    "Редакция газеты «Вересковские вести»", "Районный суд", "Налоговая инспекция", "Военный комиссариат",
};

struct Chain {
    std::string name;
    int branches;
    Affinity where;
};
const std::vector<Chain> kChains = {
    {"Аптека «Здоровье»", 6, kShop},       {"Продукты «Калинка»", 8, kShop},
    {"Хлеб «Колосок»", 5, kShop},          {"Салон связи «Волна»", 4, kShop},
    {"Ремонт обуви", 4, kService},         {"Кафе «Уют»", 3, kShop},
    {"Банк «Вересковый»", 4, kOffice},     {"ООО «Северный ветер»", 3, kOffice},
};

double affinity(Affinity a, BuildingKind k)
{
    switch (a) {
    case kShop:
        switch (k) {
        case BuildingKind::Shop: return 8;
        case BuildingKind::Apartment: return 2.5;
        case BuildingKind::Tower: return 2;
        case BuildingKind::Public: return 0.5;
        case BuildingKind::Cottage: return 0.3;
        case BuildingKind::Private: return 0.08;
        default: return 0;
        }
    case kOffice:
        switch (k) {
        case BuildingKind::Tower: return 6;
        case BuildingKind::Shop: return 4;
        case BuildingKind::Public: return 3;
        case BuildingKind::Apartment: return 1.2;
        case BuildingKind::Industrial: return 1;
        case BuildingKind::Cottage: return 0.3;
        case BuildingKind::Private: return 0.05;
        default: return 0;
        }
    case kService:
        switch (k) {
        case BuildingKind::Shop: return 5;
        case BuildingKind::Apartment: return 2;
        case BuildingKind::Garage: return 3;
        case BuildingKind::Industrial: return 1.5;
        case BuildingKind::Tower: return 1.5;
        case BuildingKind::Cottage: return 0.4;
        case BuildingKind::Private: return 0.15;
        default: return 0;
        }
    case kPublic:
        return k == BuildingKind::Public ? 10 : (k == BuildingKind::Shop ? 0.6 : (k == BuildingKind::Apartment ? 0.2 : 0));
    case kWorks:
        return k == BuildingKind::Industrial ? 10 : (k == BuildingKind::Garage ? 2 : (k == BuildingKind::Shop ? 0.5 : 0));
    }
    return 0;
}

void replaceAll(std::string& s, const std::string& what, const std::string& with)
{
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
        s.replace(at, what.size(), with);
}

// The part of a name that tells one organisation from another: the name in
// quotes, or for "Школа № 3" the first letters of each word and the number.
std::string distinctive(const std::string& name)
{
    const auto a = name.find("«"), b = name.find("»");
    if (a != std::string::npos && b != std::string::npos)
        return name.substr(a + 2, b - a - 2);
    std::string out;
    std::size_t words = 0;
    for (const QString& w : QString::fromStdString(name).split(' ', Qt::SkipEmptyParts)) {
        if (w.front().isDigit())
            out += w.toStdString();
        else if (words++ < 2)
            out += w.left(5).toStdString();
    }
    return out;
}

// A few letters of the kind of organisation ("Кофейня «Липка»" gives "kofe"),
// so that two firms of the same name in different trades differ.
std::string tradePrefix(const std::string& name)
{
    const auto a = name.find("«");
    if (a == std::string::npos || a == 0)
        return "";
    const std::string t = transliterate(name.substr(0, a));
    return t.substr(0, std::min<std::size_t>(4, t.find('-'))) + "-";
}

// A slug short enough for its field, cut at a hyphen where possible.
std::string slugOf(const std::string& utf8, std::size_t max)
{
    std::string s = transliterate(utf8);
    if (s.size() > max) {
        s.resize(max);
        const auto dash = s.rfind('-');
        if (dash != std::string::npos && dash > max / 2)
            s.resize(dash);
    }
    while (!s.empty() && s.back() == '-')
        s.pop_back();
    return s.empty() ? "org" : s;
}

struct Contact {
    std::string email, web;
};

class Directory {
public:
    Directory(const std::vector<PlacedHouse>& houses, const TownPlan& plan, TownRandom& random)
        : m_houses(houses), m_plan(plan), m_random(random)
    {
        for (int a = kShop; a <= kWorks; ++a) {
            std::vector<double> cum;
            double total = 0;
            for (const PlacedHouse& h : houses) {
                total += affinity(Affinity(a), h.kind) * (h.number == "0" ? 0 : 1);
                cum.push_back(total);
            }
            m_cumulative.push_back(std::move(cum));
        }
    }

    // A few buildings house many organisations: a shopping centre, business centres.
    void makeHubs(std::size_t count)
    {
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = pickHouse(kOffice);
            if (i < m_houses.size())
                m_hubs.push_back(i);
        }
    }

    std::size_t pickHouse(Affinity a)
    {
        if (!m_hubs.empty() && a != kPublic && a != kWorks && m_random.chance(0.12))
            return m_hubs[m_random.index(m_hubs.size())];
        const auto& cum = m_cumulative[std::size_t(a)];
        if (cum.empty() || cum.back() <= 0) {
            // No house suits: any numbered house will do.
            for (std::size_t tries = 0; tries < 64 && !m_houses.empty(); ++tries) {
                const std::size_t i = m_random.index(m_houses.size());
                if (m_houses[i].number != "0")
                    return i;
            }
            return m_houses.size();
        }
        const double r = m_random.uniform() * cum.back();
        return std::size_t(std::upper_bound(cum.begin(), cum.end(), r) - cum.begin());
    }

    std::string phone()
    {
        const int first = m_random.between(2, 5), mid = m_random.between(0, 99), last = m_random.between(0, 98);
        auto local = [&](int end) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%d-%02d-%02d", first, mid, end);
            return std::string(buf);
        };
        const double r = m_random.uniform();
        if (r < 0.35)
            return local(last);
        if (r < 0.6)
            return "8 (85190) " + local(last);
        if (r < 0.75)
            return "+7 (85190) " + local(last);
        if (r < 0.88)
            return local(last) + ", " + local(last + 1);
        char buf[24];
        std::snprintf(buf, sizeof buf, "8-9%02d-%03d-%02d-%02d", m_random.between(0, 99), m_random.between(0, 999),
                      m_random.between(0, 99), m_random.between(0, 99));
        return buf;
    }

    Contact contact(const std::string& name, double pe, double pw)
    {
        Contact out;
        // Both "<slug>@vereskola.ru" and "www.<slug>-vrs.ru" must fit their 30 bytes.
        const std::string prefix = tradePrefix(name);
        const std::string site = slugOf(distinctive(name), 17 - prefix.size());
        const bool web = m_random.chance(pw);
        if (web)
            out.web = (m_random.chance(0.6) ? "www." : "") + prefix + site + "-vrs.ru";
        if (m_random.chance(pe))
            out.email = web && m_random.chance(0.5) ? "info@" + prefix + site + "-vrs.ru"
                                                    : prefix + site + "@vereskola.ru";
        return out;
    }

    std::string person()
    {
        std::string s = m_random.pick(kSurnames);
        if (m_random.chance(0.4))
            s += "а";
        return s + " " + kInitials[m_random.index(std::size(kInitials))] + " " + kInitials[m_random.index(std::size(kInitials))];
    }

    const std::vector<PlacedHouse>& m_houses;
    const TownPlan& m_plan;
    TownRandom& m_random;
    std::vector<std::vector<double>> m_cumulative;
    std::vector<std::size_t> m_hubs;
};

int numberedLimit(const std::string& form, double scale)
{
    static const std::vector<std::pair<std::string, int>> limits = {
        {"Городская больница", 1}, {"Детская поликлиника", 1}, {"Поликлиника", 3}, {"Школа", 8},
        {"Гимназия", 2}, {"Лицей", 2}, {"Детский сад", 10}, {"Музыкальная школа", 1}, {"Спортивная школа", 2},
        {"Пожарная часть", 2}, {"Баня", 2}, {"Почтовое", 4}, {"Библиотека", 4}, {"Аптека", 6},
        {"Столовая", 5}, {"Автобаза", 3}, {"Котельная", 4}, {"Банк", 3},
    };
    for (const auto& [start, limit] : limits)
        if (form.rfind(start, 0) == 0)
            return int(limit * scale);
    return int(4 * scale);
}

std::string fit(const std::string& utf8, std::size_t capacity)
{
    std::string b = cp1251::fromUtf8(utf8);
    if (b.size() > capacity)
        b.resize(capacity);
    return b;
}
} // namespace

std::string transliterate(const std::string& utf8)
{
    static const char* table[] = {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
                                  "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "sch", "", "y", "", "e", "yu", "ya"};
    std::string out;
    for (QChar ch : QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toLower()) {
        const char16_t u = ch.unicode();
        if (u >= 0x0430 && u <= 0x044F)
            out += table[u - 0x0430];
        else if (u == 0x0451)
            out += "e";
        else if ((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
            out += char(u);
        else if ((u == ' ' || u == '-') && !out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}

OrgRecords generateOrganisations(const TownPlan& plan, const std::vector<PlacedHouse>& houses, std::size_t count,
                                 TownRandom random, std::vector<AddressKey>* missing, std::vector<std::size_t>* houseOf)
{
    OrgRecords out;
    std::vector<AddressKey> missingHere;
    std::vector<std::size_t> houseAt; // each record's house; houses.size() for none
    if (count == 0)
        return out;
    Directory dir(houses, plan, random);
    dir.makeHubs(std::max<std::size_t>(1, count / 250));
    std::map<std::string, int> numbers; // per form: Школа № 1, № 2, ...
    // The house of the address last asked for: the calls below leave the
    // order of their arguments to the compiler, so it is noted here rather
    // than drawn beforehand, which could shift the random stream.
    std::size_t lastHouse = houses.size();
    auto addressOf = [&](std::size_t i) {
        lastHouse = i;

        const PlacedHouse& h = houses[i];
        return AddressKey{fit(plan.streets[std::size_t(h.street)].name, OrgRecord::kStreetCapacity),
                          fit(h.number, OrgRecord::kHouseNoCapacity)};
    };
    auto add = [&](const std::string& name, const AddressKey& address, double pPhone, const Contact& contact) {
        houseAt.push_back(lastHouse);
        lastHouse = houses.size();
        OrgRecord r;
        r.name = fit(name, OrgRecord::kNameCapacity);
        r.phone = random.chance(pPhone) ? fit(dir.phone(), OrgRecord::kPhoneCapacity) : std::string();
        r.streetName = address.first;
        r.houseNo = address.second;
        r.email = fit(contact.email, OrgRecord::kEmailCapacity);
        r.web = fit(contact.web, OrgRecord::kWebCapacity);
        out.push_back(std::move(r));
    };
    const bool anyHouse = !houses.empty();

    // A few entries at addresses the map does not show: beyond the last house
    // of a street, or on roads outside the town.
    std::set<AddressKey> existing;
    for (std::size_t i = 0; i < houses.size(); ++i)
        existing.insert(addressOf(i));
    lastHouse = houses.size();
    const std::size_t missingCount = std::min(count, std::max<std::size_t>(3, count / 300));
    const std::vector<std::string> outside = {"Северное шоссе", "Промышленный проезд", "2-й Заводской проезд",
                                              "Окружная дорога", "Дачный проезд"};
    for (std::size_t k = 0; k < missingCount; ++k) {
        AddressKey at;
        if (anyHouse && k % 2 == 0) {
            const PlacedHouse& h = houses[random.index(houses.size())];
            at.first = fit(plan.streets[std::size_t(h.street)].name, OrgRecord::kStreetCapacity);
            for (int n = 101 + 2 * random.between(0, 40);; n += 2) {
                at.second = std::to_string(n);
                if (!existing.count(at))
                    break;
            }
        } else {
            at = {fit(outside[k / 2 % outside.size()], OrgRecord::kStreetCapacity), std::to_string(random.between(1, 40))};
        }
        missingHere.push_back(at);
        const Category& c = kCategories[random.pick(std::vector<std::size_t>{0, 4, 5})];
        std::string name = random.pick(c.forms);
        replaceAll(name, "%", random.pick(kWords));
        replaceAll(name, "#", std::to_string(random.between(1, 12)));
        replaceAll(name, "@", dir.person());
        add(name, at, c.phone, dir.contact(name, c.email, c.web));
    }
    if (!anyHouse) {
        if (missing)
            *missing = missingHere;
        if (houseOf)
            *houseOf = houseAt;
        return out;
    }

    // Shopping and business centres first, then the one-off institutions and chains.
    for (std::size_t h = 0; h < dir.m_hubs.size() && out.size() < count; ++h) {
        const std::string name = std::string(h == 0 ? "Торговый центр «" : "Бизнес-центр «") + random.pick(kWords) + "»";
        add(name, addressOf(dir.m_hubs[h]), 1.0, dir.contact(name, 0.9, 0.9));
    }
    for (const std::string& name : kOnce) {
        if (out.size() >= count)
            break;
        add(name, addressOf(dir.pickHouse(kPublic)), 1.0, dir.contact(name, 0.8, 0.5));
    }
    const double scale = std::max(1.0, double(count) / 1500);
    for (const Chain& chain : kChains) {
        const Contact contact = dir.contact(chain.name, 0.9, 0.9);
        for (int b = 0; b < int(chain.branches * scale) && out.size() < count; ++b)
            add(chain.name, addressOf(dir.pickHouse(chain.where)), 0.95, contact);
    }

    std::vector<double> weights;
    for (const Category& c : kCategories)
        weights.push_back(c.weight);
    while (out.size() < count) {
        const std::size_t ci = random.weighted(weights);
        const Category& c = kCategories[ci];
        std::string name = random.pick(c.forms);
        replaceAll(name, "@", ci + 1 == kCategories.size() ? random.pick(kBanks) : dir.person());
        if (name.find('#') != std::string::npos) {
            // A small town has a handful of each numbered institution.
            int& n = numbers[name];
            if (n >= numberedLimit(name, scale))
                continue;
            replaceAll(name, "#", std::to_string(++n));
        }
        replaceAll(name, "%", random.pick(kWords));
        add(name, addressOf(dir.pickHouse(c.where)), c.phone, dir.contact(name, c.email, c.web));
    }

    // The directory is in no particular order.
    for (std::size_t k = out.size(); k > 1; --k) {
        const std::size_t other = random.index(k);
        std::swap(out[k - 1], out[other]);
        std::swap(houseAt[k - 1], houseAt[other]);
    }
    if (missing)
        *missing = missingHere;
    if (houseOf)
        *houseOf = houseAt;
    return out;
}
