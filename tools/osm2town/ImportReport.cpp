#include "ImportReport.h"

#include "base/Cp1251.h"

#include <QList>
#include <QString>
#include <cstdio>

namespace {
std::string line(const char* format, auto... values)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, values...);
    return std::string(buf) + "\n";
}

std::string text(const std::string& cp1251Bytes) { return cp1251::decode(cp1251Bytes).toStdString(); }

std::string codePoint(const std::string& utf8)
{
    const QString s = QString::fromUtf8(utf8);
    if (s.isEmpty())
        return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", unsigned(s.toUcs4().value(0)));
    return buf;
}
} // namespace

std::string formatReport(const ImportReport& r)
{
    std::string out;
    out += line("Прочитано объектов: %zu (повторов одного объекта отброшено: %zu)", r.objectsRead, r.duplicates);
    if (r.titleGiven)
        out += "Заголовок окна: из --title\n";
    else if (!r.placeName.empty())
        out += "Заголовок окна: «" + r.placeName + "» (place=" + r.placeKind + ", ближайшее к центру карты)\n";
    else
        out += "Заголовок окна: в выгрузке нет названия города (place=city|town|village|suburb), town.ini не записан\n";
    out += line("Мультиполигоны без части членов или с незамкнутыми контурами: %zu; самопересекающихся контуров "
                "взято как есть: %zu",
                r.brokenRelations, r.unassembledWays);
    out += line("Дома: %zu на карте из %zu зданий выгрузки", r.houses, r.buildings);
    out += line("  с адресом: %zu (из них от адресной точки внутри здания: %zu, от связи улицы: %zu, "
                "от организации в нём: %zu)",
                r.housesWithAddress, r.addressFromNode, r.addressFromStreetRelation, r.addressFromOrganisation);
    out += line("  этажность из данных: %zu (building:levels %zu, по частям здания %zu, по высоте / 3 м %zu)",
                r.floorsFromLevels + r.floorsFromParts + r.floorsFromHeight, r.floorsFromLevels, r.floorsFromParts,
                r.floorsFromHeight);
    if (!r.defaultFloors.empty()) {
        out += "  этажность по умолчанию для типа здания:";
        bool first = true;
        for (const auto& [type, v] : r.defaultFloors) {
            out += first ? " " : ", ";
            out += type + " → " + std::to_string(v.first) + " (" + std::to_string(v.second) + ")";
            first = false;
        }
        out += "\n";
    }
    out += line("  отброшено внутренних контуров (дворов): %zu", r.innerRingsDropped);
    out += line("  частей зданий (building:part): %zu не взяты, так как есть общий контур; %zu без контура стали домами",
                r.partsFolded, r.partsAsHouses);
    out += line("  не вошли: вне квадрата карты %zu, вырожденный контур %zu, нет точек или членов в выгрузке %zu",
                r.housesOutside, r.housesDegenerate, r.housesIncomplete);
    out += line("  номер без улицы (дом оставлен без адреса): %zu; лишних адресных точек: %zu", r.numberWithoutStreet,
                r.spareAddressNodes);
    out += line("Номера домов: сжато %zu, укорочено до 5 знаков %zu, неразличимы %zu", r.numbersCompacted,
                r.numbersCut, r.numbersAmbiguous);
    for (const auto& c : r.collisions) {
        out += "  " + text(c.street) + ", «" + text(c.written) + "»:";
        for (const std::string& n : c.numbers)
            out += " «" + n + "»";
        out += "\n";
    }
    out += line("  длинных названий улиц укорочено: %zu", r.streetsCut);
    out += line("Дороги: %zu линий в %zu кусках, %zu площадей", r.roads, r.roadPieces, r.squares);
    out += line("Вода: %zu водотоков, %zu водоёмов; зелень: %zu площадей; плиток площадей: %zu", r.waterLines,
                r.waterAreas, r.greenAreas, r.areaTiles);
    out += line("  не вошли: тоннели и трубы %zu, кусков вне квадрата %zu, неполных площадей %zu", r.underground,
                r.piecesOutside, r.areasIncomplete);
    out += line("  линий с разрывом (нет точки в выгрузке): %zu; вырезано островов и полян: %zu", r.linesIncomplete,
                r.areaHoles);
    out += line("Организации: %zu (с домом на карте %zu, без дома %zu)", r.organisations, r.orgsWithHouse,
                r.orgsWithoutHouse);
    out += line("  адрес свой %zu, от здания %zu, без адреса %zu; не вошли: вне квадрата карты %zu, без единой точки "
                "в выгрузке %zu",
                r.orgAddressOwn, r.orgAddressFromBuilding, r.orgsWithoutAddress, r.orgsOutside, r.orgsWithoutPlace);
    out += line("  телефон: первый из нескольких %zu, без пробелов и скобок %zu, не поместился %zu",
                r.phonesFirstOfSeveral, r.phonesCompacted, r.phonesDropped);
    out += line("  e-mail: первый из нескольких %zu, не поместился %zu; сайт: укорочен %zu, не поместился %zu",
                r.emailsFirstOfSeveral, r.emailsDropped, r.websShortened, r.websDropped);
    out += line("  укорочено названий: %zu", r.namesCut);
    out += line("  место на карте: в доме %zu (сама здание %zu, внутри %zu, у ближайшего в пределах %g м %zu), "
                "точкой %zu",
                r.orgsMappedAsHouse + r.orgsInsideHouse + r.orgsNearHouse, r.orgsMappedAsHouse, r.orgsInsideHouse,
                double(r.attachMetres), r.orgsNearHouse, r.orgsAtPoint);
    out += line("  свой адрес не тот, что у дома, в который организация попала: %zu", r.orgsAddressElsewhere);
    out += line("  рубрика не «Прочее»: %zu; часы работы: указаны %zu, прочитаны полностью %zu, отброшены "
                "(длиннее 255 байт или не UTF-8) %zu",
                r.orgsWithKind, r.orgsWithHours, r.hoursReadable, r.hoursDropped);
    out += line("Замены символов, которых нет в Windows-1251: %zu (подходящей заменой %zu, знаком «?» %zu)",
                r.standIns + r.questionMarks, r.standIns, r.questionMarks);
    for (const auto& [from, rep] : r.replacements)
        out += "  " + codePoint(from) + " «" + from + "» → «" + text(rep.to) + "» × " + std::to_string(rep.count) + "\n";
    out += line("Время: %.2f с", r.seconds);
    return out;
}
