#include "data/OrgKinds.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace {

constexpr std::array<std::string_view, 13> kHeadings = {
    "Здоровье",  "Еда",   "Магазины",         "Красота", "Финансы",           "Транспорт", "Образование",
    "Услуги",    "Культура и досуг", "Спорт", "Власть и общество", "Туризм", "Прочее",
};

// Display order: heading by heading, in this order within each. Ids are
// stored in files: keep each kind's id for good; a new kind takes the next
// free id (now 89) wherever it is put.
constexpr OrgKind kKinds[] = {
    {1, 0, "Аптеки"},
    {2, 0, "Больницы и поликлиники"},
    {3, 0, "Врачи и медцентры"},
    {4, 0, "Стоматологии"},
    {5, 0, "Анализы и лаборатории"},
    {6, 0, "Оптики"},
    {7, 0, "Медицинские товары"},
    {8, 0, "Ветеринарные клиники"},

    {9, 1, "Кафе"},
    {10, 1, "Рестораны"},
    {11, 1, "Фастфуд"},
    {12, 1, "Бары и пабы"},
    {13, 1, "Пекарни и кондитерские"},

    {14, 2, "Продукты"},
    {15, 2, "Супермаркеты"},
    {16, 2, "Торговые центры"},
    {17, 2, "Алкоголь и напитки"},
    {18, 2, "Одежда и обувь"},
    {19, 2, "Электроника и техника"},
    {20, 2, "Строительство и хозтовары"},
    {21, 2, "Косметика и бытовая химия"},
    {22, 2, "Мебель"},
    {23, 2, "Детские товары"},
    {24, 2, "Книги и канцтовары"},
    {25, 2, "Цветы"},
    {26, 2, "Спорттовары"},
    {27, 2, "Зоотовары"},
    {28, 2, "Ювелирные"},
    {29, 2, "Автозапчасти"},
    {30, 2, "Автосалоны"},
    {31, 2, "Табак"},
    {32, 2, "Подарки и сувениры"},
    {33, 2, "Другие магазины"},

    {34, 3, "Парикмахерские"},
    {35, 3, "Салоны красоты"},
    {36, 3, "Тату"},

    {37, 4, "Банки"},
    {38, 4, "Банкоматы"},
    {39, 4, "Обмен валюты"},
    {40, 4, "Страхование"},
    {41, 4, "Ломбарды и займы"},

    {42, 5, "АЗС"},
    {43, 5, "Автосервисы"},
    {44, 5, "Шиномонтаж"},
    {45, 5, "Автомойки"},
    {46, 5, "Парковки"},
    {47, 5, "Зарядные станции"},
    {48, 5, "Такси и прокат"},
    {49, 5, "Вокзалы"},

    {50, 6, "Школы"},
    {51, 6, "Детские сады"},
    {52, 6, "Вузы и колледжи"},
    {53, 6, "Автошколы"},
    {54, 6, "Курсы и кружки"},

    {55, 7, "Почта"},
    {56, 7, "Пункты выдачи заказов"},
    {57, 7, "Ремонт и мастерские"},
    {58, 7, "Химчистки и прачечные"},
    {59, 7, "Фото и печать"},
    {60, 7, "Нотариусы и юристы"},
    {61, 7, "Недвижимость"},
    {62, 7, "Связь"},
    {63, 7, "Ритуальные услуги"},
    {64, 7, "Компании и офисы"},

    {65, 8, "Кинотеатры"},
    {66, 8, "Театры"},
    {67, 8, "Музеи и галереи"},
    {68, 8, "Библиотеки"},
    {69, 8, "Дома культуры"},
    {70, 8, "Развлечения"},
    {71, 8, "Парки и зоопарки"},
    {72, 8, "Храмы"},

    {73, 9, "Фитнес"},
    {74, 9, "Бассейны"},
    {75, 9, "Стадионы и площадки"},
    {76, 9, "Спортивные центры"},

    {77, 10, "Администрация"},
    {78, 10, "Полиция"},
    {79, 10, "Пожарные части"},
    {80, 10, "Суды"},
    {81, 10, "Социальные службы"},
    {82, 10, "Общественные организации"},

    {83, 11, "Гостиницы"},
    {84, 11, "Турагентства"},
    {85, 11, "Достопримечательности"},
    {86, 11, "Туристическая информация"},

    {kOtherKind, 12, "Прочее"},
};

// First match wins. Places whose main use carries other tags come first (a
// fuel station with a shop, a hotel with a restaurant, a fitness club selling
// sports goods); then the specific values; the "any value" rules last.
constexpr OrgKindRule kRules[] = {
    {"amenity", "fuel", "АЗС"},
    {"tourism", "hotel", "Гостиницы"},
    {"tourism", "motel", "Гостиницы"},
    {"tourism", "hostel", "Гостиницы"},
    {"tourism", "guest_house", "Гостиницы"},
    {"tourism", "apartment", "Гостиницы"},
    {"shop", "mall", "Торговые центры"},
    {"shop", "department_store", "Торговые центры"},
    {"amenity", "hospital", "Больницы и поликлиники"},
    {"amenity", "clinic", "Больницы и поликлиники"},
    {"healthcare", "hospital", "Больницы и поликлиники"},
    {"healthcare", "clinic", "Больницы и поликлиники"},
    {"healthcare", "centre", "Больницы и поликлиники"},
    {"leisure", "fitness_centre", "Фитнес"},
    {"leisure", "sports_centre", "Спортивные центры"},
    {"leisure", "swimming_pool", "Бассейны"},
    {"leisure", "water_park", "Бассейны"},

    {"amenity", "pharmacy", "Аптеки"},
    {"healthcare", "pharmacy", "Аптеки"},
    {"amenity", "doctors", "Врачи и медцентры"},
    {"healthcare", "doctor", "Врачи и медцентры"},
    {"amenity", "dentist", "Стоматологии"},
    {"healthcare", "dentist", "Стоматологии"},
    {"healthcare", "laboratory", "Анализы и лаборатории"},
    {"healthcare", "blood_donation", "Анализы и лаборатории"},
    {"healthcare", "optometrist", "Оптики"},
    {"amenity", "veterinary", "Ветеринарные клиники"},

    {"amenity", "cafe", "Кафе"},
    {"amenity", "ice_cream", "Кафе"},
    {"amenity", "restaurant", "Рестораны"},
    {"amenity", "fast_food", "Фастфуд"},
    {"amenity", "food_court", "Фастфуд"},
    {"amenity", "bar", "Бары и пабы"},
    {"amenity", "pub", "Бары и пабы"},
    {"amenity", "biergarten", "Бары и пабы"},

    {"amenity", "bank", "Банки"},
    {"amenity", "atm", "Банкоматы"},
    {"amenity", "bureau_de_change", "Обмен валюты"},
    {"amenity", "money_transfer", "Ломбарды и займы"},

    {"amenity", "car_wash", "Автомойки"},
    {"amenity", "parking", "Парковки"},
    {"amenity", "charging_station", "Зарядные станции"},
    {"amenity", "taxi", "Такси и прокат"},
    {"amenity", "car_rental", "Такси и прокат"},
    {"amenity", "car_sharing", "Такси и прокат"},
    {"amenity", "bicycle_rental", "Такси и прокат"},
    {"amenity", "bus_station", "Вокзалы"},
    {"amenity", "ferry_terminal", "Вокзалы"},

    {"amenity", "school", "Школы"},
    {"amenity", "kindergarten", "Детские сады"},
    {"amenity", "childcare", "Детские сады"},
    {"amenity", "university", "Вузы и колледжи"},
    {"amenity", "college", "Вузы и колледжи"},
    {"amenity", "driving_school", "Автошколы"},
    {"amenity", "language_school", "Курсы и кружки"},
    {"amenity", "music_school", "Курсы и кружки"},
    {"amenity", "dancing_school", "Курсы и кружки"},
    {"amenity", "training", "Курсы и кружки"},
    {"amenity", "prep_school", "Курсы и кружки"},
    {"office", "educational_institution", "Курсы и кружки"},

    {"amenity", "post_office", "Почта"},
    {"amenity", "parcel_locker", "Пункты выдачи заказов"},
    {"amenity", "laundry", "Химчистки и прачечные"},
    {"amenity", "funeral_hall", "Ритуальные услуги"},

    {"amenity", "cinema", "Кинотеатры"},
    {"amenity", "theatre", "Театры"},
    {"amenity", "concert_hall", "Театры"},
    {"amenity", "library", "Библиотеки"},
    {"amenity", "community_centre", "Дома культуры"},
    {"amenity", "arts_centre", "Дома культуры"},
    {"amenity", "social_centre", "Дома культуры"},
    {"amenity", "nightclub", "Развлечения"},
    {"amenity", "casino", "Развлечения"},
    {"amenity", "karaoke_box", "Развлечения"},
    {"amenity", "place_of_worship", "Храмы"},
    {"amenity", "monastery", "Храмы"},

    {"amenity", "townhall", "Администрация"},
    {"amenity", "police", "Полиция"},
    {"amenity", "fire_station", "Пожарные части"},
    {"amenity", "courthouse", "Суды"},
    {"amenity", "social_facility", "Социальные службы"},

    {"shop", "supermarket", "Супермаркеты"},
    {"shop", "convenience", "Продукты"},
    {"shop", "general", "Продукты"},
    {"shop", "greengrocer", "Продукты"},
    {"shop", "butcher", "Продукты"},
    {"shop", "dairy", "Продукты"},
    {"shop", "deli", "Продукты"},
    {"shop", "frozen_food", "Продукты"},
    {"shop", "farm", "Продукты"},
    {"shop", "seafood", "Продукты"},
    {"shop", "cheese", "Продукты"},
    {"shop", "tea", "Продукты"},
    {"shop", "coffee", "Продукты"},
    {"shop", "bakery", "Пекарни и кондитерские"},
    {"shop", "pastry", "Пекарни и кондитерские"},
    {"shop", "confectionery", "Пекарни и кондитерские"},
    {"shop", "alcohol", "Алкоголь и напитки"},
    {"shop", "wine", "Алкоголь и напитки"},
    {"shop", "beverages", "Алкоголь и напитки"},
    {"shop", "clothes", "Одежда и обувь"},
    {"shop", "shoes", "Одежда и обувь"},
    {"shop", "fashion", "Одежда и обувь"},
    {"shop", "boutique", "Одежда и обувь"},
    {"shop", "bag", "Одежда и обувь"},
    {"shop", "fabric", "Одежда и обувь"},
    {"shop", "electronics", "Электроника и техника"},
    {"shop", "computer", "Электроника и техника"},
    {"shop", "mobile_phone", "Электроника и техника"},
    {"shop", "appliance", "Электроника и техника"},
    {"shop", "hifi", "Электроника и техника"},
    {"shop", "hardware", "Строительство и хозтовары"},
    {"shop", "doityourself", "Строительство и хозтовары"},
    {"shop", "trade", "Строительство и хозтовары"},
    {"shop", "paint", "Строительство и хозтовары"},
    {"shop", "houseware", "Строительство и хозтовары"},
    {"shop", "bathroom_furnishing", "Строительство и хозтовары"},
    {"shop", "cosmetics", "Косметика и бытовая химия"},
    {"shop", "chemist", "Косметика и бытовая химия"},
    {"shop", "perfumery", "Косметика и бытовая химия"},
    {"shop", "furniture", "Мебель"},
    {"shop", "kitchen", "Мебель"},
    {"shop", "bed", "Мебель"},
    {"shop", "toys", "Детские товары"},
    {"shop", "baby_goods", "Детские товары"},
    {"shop", "books", "Книги и канцтовары"},
    {"shop", "stationery", "Книги и канцтовары"},
    {"shop", "newsagent", "Книги и канцтовары"},
    {"shop", "florist", "Цветы"},
    {"shop", "garden_centre", "Цветы"},
    {"shop", "sports", "Спорттовары"},
    {"shop", "outdoor", "Спорттовары"},
    {"shop", "bicycle", "Спорттовары"},
    {"shop", "fishing", "Спорттовары"},
    {"shop", "pet", "Зоотовары"},
    {"shop", "jewelry", "Ювелирные"},
    {"shop", "car_parts", "Автозапчасти"},
    {"shop", "car", "Автосалоны"},
    {"shop", "motorcycle", "Автосалоны"},
    {"shop", "tobacco", "Табак"},
    {"shop", "e-cigarette", "Табак"},
    {"shop", "gift", "Подарки и сувениры"},
    {"shop", "souvenir", "Подарки и сувениры"},
    {"shop", "optician", "Оптики"},
    {"shop", "medical_supply", "Медицинские товары"},
    {"shop", "hearing_aids", "Медицинские товары"},
    {"shop", "hairdresser", "Парикмахерские"},
    {"shop", "beauty", "Салоны красоты"},
    {"shop", "massage", "Салоны красоты"},
    {"shop", "tattoo", "Тату"},
    {"shop", "pawnbroker", "Ломбарды и займы"},
    {"shop", "money_lender", "Ломбарды и займы"},
    {"shop", "car_repair", "Автосервисы"},
    {"shop", "tyres", "Шиномонтаж"},
    {"shop", "outpost", "Пункты выдачи заказов"},
    {"shop", "dry_cleaning", "Химчистки и прачечные"},
    {"shop", "laundry", "Химчистки и прачечные"},
    {"shop", "photo", "Фото и печать"},
    {"shop", "copyshop", "Фото и печать"},
    {"shop", "repair", "Ремонт и мастерские"},
    {"shop", "mobile_phone_repair", "Ремонт и мастерские"},
    {"shop", "funeral_directors", "Ритуальные услуги"},
    {"shop", "travel_agency", "Турагентства"},
    {"shop", "estate_agent", "Недвижимость"},
    // Not a shop at all.
    {"shop", "vacant", "Прочее"},
    {"shop", "no", "Прочее"},

    {"leisure", "stadium", "Стадионы и площадки"},
    {"leisure", "pitch", "Стадионы и площадки"},
    {"leisure", "track", "Стадионы и площадки"},
    {"leisure", "ice_rink", "Стадионы и площадки"},
    {"leisure", "sports_hall", "Спортивные центры"},
    {"leisure", "park", "Парки и зоопарки"},
    {"leisure", "garden", "Парки и зоопарки"},
    {"leisure", "amusement_arcade", "Развлечения"},
    {"leisure", "escape_game", "Развлечения"},
    {"leisure", "bowling_alley", "Развлечения"},
    {"leisure", "trampoline_park", "Развлечения"},
    {"leisure", "dance", "Курсы и кружки"},

    {"tourism", "museum", "Музеи и галереи"},
    {"tourism", "gallery", "Музеи и галереи"},
    {"tourism", "zoo", "Парки и зоопарки"},
    {"tourism", "theme_park", "Парки и зоопарки"},
    {"tourism", "attraction", "Достопримечательности"},
    {"tourism", "viewpoint", "Достопримечательности"},
    {"tourism", "artwork", "Достопримечательности"},
    {"tourism", "information", "Туристическая информация"},

    {"office", "government", "Администрация"},
    {"office", "administrative", "Администрация"},
    {"office", "insurance", "Страхование"},
    {"office", "notary", "Нотариусы и юристы"},
    {"office", "lawyer", "Нотариусы и юристы"},
    {"office", "estate_agent", "Недвижимость"},
    {"office", "telecommunication", "Связь"},
    {"office", "travel_agent", "Турагентства"},
    {"office", "ngo", "Общественные организации"},
    {"office", "association", "Общественные организации"},
    {"office", "political_party", "Общественные организации"},
    {"office", "religion", "Общественные организации"},
    {"office", "courier", "Пункты выдачи заказов"},
    {"office", "financial", "Банки"},

    {"craft", "photographer", "Фото и печать"},

    {"healthcare", "*", "Врачи и медцентры"},
    {"shop", "*", "Другие магазины"},
    {"craft", "*", "Ремонт и мастерские"},
    {"office", "*", "Компании и офисы"},
};

struct Tables {
    std::map<std::string, int, std::less<>> rank; // "key=value" or "key=*" -> index in kRules
    std::vector<int> ruleKind;                    // kind id of each rule
    std::vector<OrgKindHeading> headings;
    std::map<int, const OrgKind*> byId;
    std::vector<std::string_view> keys; // the keys any rule uses
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables t;
        std::map<std::string_view, int> idOf;
        for (const OrgKind& k : kKinds) {
            idOf[k.name] = k.id;
            t.byId[k.id] = &k;
        }
        for (std::size_t i = 0; i < std::size(kRules); ++i) {
            const OrgKindRule& r = kRules[i];
            if (std::find(t.keys.begin(), t.keys.end(), r.key) == t.keys.end())
                t.keys.push_back(r.key);
            const auto kind = idOf.find(r.kind);
            // A rule naming no kind is a slip of this table; the tests list it.
            t.ruleKind.push_back(kind == idOf.end() ? kOtherKind : kind->second);
            t.rank.emplace(std::string(r.key) + '=' + std::string(r.value), int(i));
        }
        t.headings.resize(kHeadings.size());
        for (std::size_t h = 0; h < kHeadings.size(); ++h)
            t.headings[h].name = kHeadings[h];
        for (const OrgKind& k : kKinds)
            t.headings[std::size_t(k.heading)].kinds.push_back(k.id);
        return t;
    }();
    return t;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

int kindOf(std::span<const OrgTag> tags)
{
    const Tables& t = tables();
    int best = int(std::size(kRules));
    std::string probe;
    auto consider = [&](std::string_view key, std::string_view value) {
        probe.assign(key);
        probe += '=';
        probe += value;
        const auto found = t.rank.find(probe);
        if (found != t.rank.end())
            best = std::min(best, found->second);
    };
    for (const OrgTag& tag : tags) {
        // Keys no rule uses are passed over before any lookup.
        if (std::find(t.keys.begin(), t.keys.end(), tag.key) == t.keys.end())
            continue;
        std::string_view rest = tag.value;
        for (;;) {
            const std::size_t semicolon = rest.find(';');
            const std::string_view value = trimmed(rest.substr(0, semicolon));
            if (!value.empty() && value != "*") {
                consider(tag.key, value);
                consider(tag.key, "*");
            }
            if (semicolon == std::string_view::npos)
                break;
            rest.remove_prefix(semicolon + 1);
        }
    }
    return best < int(std::size(kRules)) ? t.ruleKind[std::size_t(best)] : kOtherKind;
}

const OrgKind* orgKindById(int id)
{
    const auto& byId = tables().byId;
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

std::span<const OrgKind> orgKinds()
{
    return kKinds;
}

const std::vector<OrgKindHeading>& orgKindHeadings()
{
    return tables().headings;
}

std::span<const OrgKindRule> orgKindRules()
{
    return kRules;
}
