#pragma once

// What the 70 embedded documents must be, document by document, written down here
// independently of the generator and its manifest so that tests can hold both to it.

#include <array>
#include <cstddef>
#include <set>
#include <string>

namespace facts {

inline constexpr int kCount = 70;

inline const std::set<int> kFormB = {5, 6, 18, 24, 32, 37, 38, 39, 42, 43, 53, 62, 65, 67, 68, 69, 70};
inline bool formA(int n) { return kFormB.count(n) == 0; }

inline std::string headerWords(int n)
{
    if (!formA(n))
        return "\\rtf1\\ansi\\ansicpg1251\\uc1\\deff0\\stshfdbch0\\stshfloch0\\stshfhich0\\stshfbi0\\deflang1049"
               "\\deflangfe1049";
    const std::string lead = "\\rtf1\\adeflang1025\\ansi\\ansicpg1251\\uc1";
    const std::string tail = "\\deflang1049\\deflangfe1049\\themelang1049\\themelangfe0\\themelangcs0";
    if (n == 4)
        return lead + "\\adeff0\\deff0\\stshfdbch37\\stshfloch37\\stshfhich37\\stshfbi0" + tail;
    if (n == 17 || n == 33)
        return lead + "\\adeff31507\\deff0\\stshfdbch0\\stshfloch31506\\stshfhich31506\\stshfbi31506" + tail;
    if (n == 30)
        return lead + "\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506\\stshfhich31506\\stshfbi31507" + tail;
    return lead + "\\adeff31507\\deff0\\stshfdbch31506\\stshfloch31506\\stshfhich31506\\stshfbi31507" + tail;
}

inline const std::set<int> kRevisionTableA = {8, 9, 20, 26, 27, 30, 40, 41, 45, 47, 49, 54, 58, 61, 63, 64, 66};
inline bool hasRevisionTable(int n) { return formA(n) ? kRevisionTableA.count(n) > 0 : n != 68; }
inline bool hasParagraphGroupTable(int n) { return n == 17; }

inline const std::set<int> kNoFontZero = {16, 41};
inline const std::set<int> kOtherScripts = {5, 24, 32, 37, 38, 39, 42, 43, 53, 65};
inline const std::set<int> kEighteenColours = {30, 33, 62};
inline const std::set<int> kWordProcessorMargins = {1, 7, 58}; // 1701 left, 850 right, 1134 top and bottom
inline const std::set<int> kOwnMargins = {30, 41, 47};

// Body features and the documents that have them (and no other document).
inline const std::set<int> kNoTabs = {4, 27, 29, 35};
inline const std::set<int> kTabStops = {5, 6, 7, 16, 17, 22, 25, 26, 27, 34, 42, 53, 54, 57, 65};
inline const std::set<int> kBullets = {5, 53, 65};
inline const std::set<int> kNonBreakingSpaces = {17, 18, 27, 36};
inline const std::set<int> kGreen = {27, 67};
inline const std::set<int> kTables = {1, 2, 17, 26, 33, 35, 41, 62};
inline const std::set<int> kMerges = {41, 62};
inline const std::set<int> kSmallTables = {26, 41, 62}; // 9 pt table text
inline const std::set<int> kNoCaps = {1, 2, 3, 4, 30};

inline constexpr std::size_t kSmallestSize = 15'349;
inline constexpr int kSmallestDocument = 69;
inline constexpr std::size_t kLargestSize = 191'903;
inline constexpr int kLargestDocument = 17;
inline constexpr std::size_t kTotalSize = 4'642'520;
inline constexpr std::size_t kMedianSize = 63'000;
inline constexpr std::size_t kMedianTolerance = 1'000;

// The catalogue titles, document 1 first.
inline const std::array<const char *, kCount> kTitles = {
    "протокол_разногласий",
    "протокол_согласования_разногласий",
    "предварительный_договор",
    "сопроводительное_письмо",
    "авторский_договор",
    "авторский_договор_на_передачу_имущественных_прав",
    "агентский_договор",
    "дистрибьютерский_договор_на_поставку_оборудования",
    "договор_(консорциальное_соглашение)",
    "договор_аренды_автомобиля_без_водителя",
    "договор_аренды_квартиры",
    "договор_аренды_конференц_зала",
    "договор_аренды_помещения",
    "договор_аренды_сотового_телефона",
    "договор_аренды_тупика",
    "договор_безвозмездного_пользования_имуществом",
    "Договор_возмездного_оказания_услуг",
    "договор_временного_вывоза_и_ввоза_оборудования",
    "договор_дарения",
    "договор_доверительного_управления_имуществом",
    "договор_залога",
    "договор_комиссии",
    "договор_коммерческого_представительства",
    "договор_коммерческой_концессии",
    "договор_контрактации",
    "договор_купли_продажи",
    "договор_купли_продажи_автомобиля",
    "договор_купли_продажи_квартиры",
    "договор_мены",
    "договор_на_инжиниринговое_обслуживание",
    "договор_на_компьютерное_обслуживание",
    "договор_на_монтаж_локальных_сетей",
    "договор_на_обслуживание_по_поиску_и_подобору_персонала",
    "договор_на_оказание_посреднических_услуг",
    "договор_на_оказание_рекламных_услуг",
    "договор_на_оказание_услуг_по_перевозке_пассажиров_1",
    "договор_на_оказание_услуг_по_таможенному_оформлению",
    "Договор_на_оказание_юридических_и_посреднических_услуг",
    "договор_на_оказание_юридических_услуг",
    "договор_на_перевод_проектной_документации",
    "договор_на_поставку_продукции",
    "договор_на_проведение_работ_по_модификации",
    "Договор_на_проведение_работ_по_сертификации",
    "договор_на_строительно_монтажные_работы",
    "договор_на_участие_в_долевом_строительстве",
    "договор_о_коммерческом_представительстве",
    "договор_о_предоставлении_займа",
    "договор_о_совместной_деятельности",
    "договор_о_совместном_строительстве_коттеджа",
    "договор_о_сотрудничестве",
    "договор_о_транспортных_перевозках",
    "договор_о_финансовой_помощи",
    "договор_об_оказании_услуг_по_таможенному_декларированию",
    "договор_об_организации_пассажирских_перевозок_2",
    "Договор_об_уступке_права_требования",
    "договор_оказания_спонсорской помощи",
    "договор_поручения",
    "Договор_поставки_оборудования",
    "договор_присоединения",
    "договор_присоединения_к_учредительному_договору",
    "договор_субаренды",
    "договор_финансирования_под_уступку_денежного_требования",
    "договор_финансового_лизинга",
    "договор_хранения_на_товарном_складе",
    "издательский_договор",
    "рамочный_договор_купли_продажи",
    "договор_о_конфиденциальности",
    "Соглашение_о_внесении_изменений",
    "соглашение_о_досрочном_расторжении_договора",
    "соглашение_об_уступке_договора",
};

} // namespace facts
