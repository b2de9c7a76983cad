#include "StreetNames.h"

#include "base/Cp1251.h"

#include <vector>

namespace {
const std::vector<std::string> kGenitive = {
    "Мира", "Ленина", "Гагарина", "Пушкина", "Лермонтова", "Чехова", "Гоголя", "Горького", "Некрасова",
    "Тургенева", "Толстого", "Кирова", "Победы", "Свободы", "Дружбы", "Космонавтов", "Строителей",
    "Энергетиков", "Маяковского", "Ломоносова", "Суворова", "Кутузова", "Мичурина", "Калинина", "Чапаева",
    "Островского", "Есенина", "Менделеева", "Циолковского", "Королёва", "Жукова", "Чкалова", "Крылова",
    "Герцена", "Белинского", "Радищева", "Жуковского", "Тимирязева", "Павлова", "Декабристов", "Пионеров",
    "Металлистов", "Железнодорожников", "8 Марта", "1 Мая", "Ветеранов", "Труда", "Юности", "Матросова",
    "Шевченко", "Крупской", "Фрунзе", "Гастелло", "Куйбышева", "Дзержинского", "Карла Маркса",
    "Фурманова", "Некрасова", "Достоевского", "Глинки", "Чайковского", "Репина", "Шишкина",
};
const std::vector<std::string> kFeminine = {
    "Садовая", "Школьная", "Лесная", "Полевая", "Луговая", "Речная", "Зелёная", "Молодёжная", "Первомайская",
    "Советская", "Центральная", "Новая", "Песчаная", "Озёрная", "Солнечная", "Весенняя", "Вишнёвая",
    "Рябиновая", "Сиреневая", "Берёзовая", "Кленовая", "Тихая", "Почтовая", "Вокзальная", "Заводская",
    "Фабричная", "Торговая", "Рабочая", "Парковая", "Комсомольская", "Октябрьская", "Пролетарская",
    "Кооперативная", "Больничная", "Северная", "Южная", "Восточная", "Западная", "Мостовая", "Нагорная",
    "Подгорная", "Липовая", "Дачная", "Огородная", "Майская", "Светлая", "Спортивная", "Полярная",
    "Юбилейная", "Овражная", "Ключевая", "Луговая", "Снежная", "Январская", "Промышленная", "Литейная",
};
const std::vector<std::string> kAvenueBefore = {"Октябрьский", "Комсомольский", "Ленинский", "Советский",
                                                "Московский", "Заводской"};
const std::vector<std::string> kAvenueAfter = {"Мира", "Победы", "Строителей", "Энтузиастов", "Космонавтов",
                                               "Металлургов"};
const std::vector<std::string> kLane = {
    "Школьный", "Садовый", "Почтовый", "Тихий", "Кривой", "Банный", "Лесной", "Речной", "Аптечный",
    "Больничный", "Овражный", "Кузнечный", "Гончарный", "Кирпичный", "Мельничный", "Торговый", "Полевой",
    "Луговой", "Зелёный", "Северный", "Южный", "Глухой", "Весёлый", "Крутой", "Соборный", "Пожарный",
    "Базарный", "Ямской", "Столярный", "Казарменный",
};
const std::vector<std::string> kEmbankment = {"Речная набережная", "Заречная набережная",
                                              "Верхняя набережная", "Нижняя набережная",
                                              "Луговая набережная", "Старая набережная"};
const std::vector<std::string> kSquare = {"площадь Победы", "Советская площадь", "Торговая площадь",
                                          "Соборная площадь", "площадь Свободы", "Вокзальная площадь"};

std::string ordinal(int generation, const char* ending) { return std::to_string(generation + 1) + ending; }
} // namespace

bool StreetNamer::take(const std::string& name)
{
    if (cp1251::fromUtf8(name).size() > 30 || m_used.count(name))
        return false;
    m_used.insert(name);
    return true;
}

std::string StreetNamer::next(StreetKind kind)
{
    for (int generation = 0;; ++generation) {
        std::vector<std::string> options;
        const std::string prefix = generation ? ordinal(generation, "-я ") : "";
        switch (kind) {
        case StreetKind::Avenue:
            if (generation == 0) {
                for (const auto& a : kAvenueBefore)
                    options.push_back(a + " проспект");
                for (const auto& a : kAvenueAfter)
                    options.push_back("проспект " + a);
            }
            break;
        case StreetKind::Lane:
            for (const auto& a : kLane)
                options.push_back((generation ? ordinal(generation, "-й ") : "") + a + " переулок");
            break;
        case StreetKind::Embankment:
            if (generation == 0)
                options = kEmbankment;
            break;
        case StreetKind::Square:
            if (generation == 0)
                options = kSquare;
            break;
        case StreetKind::Street:
            for (const auto& a : kFeminine)
                options.push_back(prefix + a + " улица");
            if (generation == 0)
                for (const auto& a : kGenitive)
                    options.push_back("улица " + a);
            break;
        }
        // Start from a random option and go round, so the pick is random but
        // a free name is always found when one is left.
        const std::size_t start = m_random.index(options.size());
        for (std::size_t k = 0; k < options.size(); ++k) {
            const std::string& candidate = options[(start + k) % options.size()];
            if (take(candidate))
                return candidate;
        }
        if (kind != StreetKind::Street && kind != StreetKind::Lane) {
            kind = StreetKind::Street;
            generation = -1;
        }
    }
}
