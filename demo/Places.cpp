#include "demo/Places.h"

#include <algorithm>
#include <set>

namespace {

// Name, province.
constexpr const char* kCapitals[][2] = {
    {"Agrigento", "AG"},     {"Alessandria", "AL"},   {"Ancona", "AN"},
    {"Aosta", "AO"},         {"Arezzo", "AR"},        {"Ascoli Piceno", "AP"},
    {"Asti", "AT"},          {"Avellino", "AV"},      {"Bari", "BA"},
    {"Barletta", "BT"},      {"Belluno", "BL"},       {"Benevento", "BN"},
    {"Bergamo", "BG"},       {"Biella", "BI"},        {"Bologna", "BO"},
    {"Bolzano", "BZ"},       {"Brescia", "BS"},       {"Brindisi", "BR"},
    {"Cagliari", "CA"},      {"Caltanissetta", "CL"}, {"Campobasso", "CB"},
    {"Caserta", "CE"},       {"Catania", "CT"},       {"Catanzaro", "CZ"},
    {"Chieti", "CH"},        {"Como", "CO"},          {"Cosenza", "CS"},
    {"Cremona", "CR"},       {"Crotone", "KR"},       {"Cuneo", "CN"},
    {"Enna", "EN"},          {"Fermo", "FM"},         {"Ferrara", "FE"},
    {"Firenze", "FI"},       {"Foggia", "FG"},        {"Forl\xEC", "FC"},
    {"Frosinone", "FR"},     {"Genova", "GE"},        {"Gorizia", "GO"},
    {"Grosseto", "GR"},      {"Imperia", "IM"},       {"Isernia", "IS"},
    {"L'Aquila", "AQ"},      {"La Spezia", "SP"},     {"Latina", "LT"},
    {"Lecce", "LE"},         {"Lecco", "LC"},         {"Livorno", "LI"},
    {"Lodi", "LO"},          {"Lucca", "LU"},         {"Macerata", "MC"},
    {"Mantova", "MN"},       {"Massa", "MS"},         {"Matera", "MT"},
    {"Messina", "ME"},       {"Milano", "MI"},        {"Modena", "MO"},
    {"Monza", "MB"},         {"Napoli", "NA"},        {"Novara", "NO"},
    {"Nuoro", "NU"},         {"Oristano", "OR"},      {"Padova", "PD"},
    {"Palermo", "PA"},       {"Parma", "PR"},         {"Pavia", "PV"},
    {"Perugia", "PG"},       {"Pesaro", "PU"},        {"Pescara", "PE"},
    {"Piacenza", "PC"},      {"Pisa", "PI"},          {"Pistoia", "PT"},
    {"Pordenone", "PN"},     {"Potenza", "PZ"},       {"Prato", "PO"},
    {"Ragusa", "RG"},        {"Ravenna", "RA"},       {"Reggio Calabria", "RC"},
    {"Reggio Emilia", "RE"}, {"Rieti", "RI"},         {"Rimini", "RN"},
    {"Roma", "RM"},          {"Rovigo", "RO"},        {"Salerno", "SA"},
    {"Sassari", "SS"},       {"Savona", "SV"},        {"Siena", "SI"},
    {"Siracusa", "SR"},      {"Sondrio", "SO"},       {"Taranto", "TA"},
    {"Teramo", "TE"},        {"Terni", "TR"},         {"Torino", "TO"},
    {"Trapani", "TP"},       {"Trento", "TN"},        {"Treviso", "TV"},
    {"Trieste", "TS"},       {"Udine", "UD"},         {"Varese", "VA"},
    {"Venezia", "VE"},       {"Verbania", "VB"},      {"Vercelli", "VC"},
    {"Verona", "VR"},        {"Vibo Valentia", "VV"}, {"Vicenza", "VI"},
    {"Viterbo", "VT"}};

constexpr const char* kFirst[] = {
    "San Giovanni", "Santa Maria", "San Pietro", "San Martino", "Sant'Angelo", "San Lorenzo",
    "Castel",       "Castelnuovo", "Borgo",      "Monte",       "Villa",       "Rocca",
    "Torre",        "Poggio",      "Colle",      "Ponte",       "Pieve",       "Montecchio",
    "Casale",       "Serra",       "Valle",      "Fonte",       "Porto",       "Campo",
    "Marina",       "Bagni",       "Cerreto",    "Frassino",    "Olmo",        "Pontecorvo"};

constexpr const char* kSecond[] = {
    "del Lago",  "di Sopra",    "di Sotto",     "Marittima", "Alta",       "Bassa",
    "in Piano",  "al Monte",    "sul Mare",     "d'Adda",    "di Po",      "in Val",
    "dei Greci", "Vecchio",     "Nuovo",        "Calabro",   "Lombardo",   "Veneto",
    "Romano",    "Toscano",     "Umbro",        "Sabino",    "Irpino",     "Salentino",
    "in Colle",  "Scalo",       "Terme",        "Pi\xF9",    "Libero",     "Canavese",
    "di Riva",   "della Valle", "delle Grazie", "dei Mille", "in Chianti", "Ligure"};

}  // namespace

std::vector<TPlace> SamplePlaces(int Count) {
  std::vector<TPlace> places;
  std::set<AnsiString> seen;
  for (const auto& c : kCapitals) {
    places.push_back({c[0], c[1]});
    seen.insert(c[0]);
  }
  // The two parts alone, then with a capital's name between them.
  const int capitals = static_cast<int>(std::size(kCapitals));
  for (int round = 0; round <= capitals; ++round) {
    for (const char* a : kFirst) {
      for (const char* b : kSecond) {
        if (static_cast<int>(places.size()) >= capitals + Count) return places;
        AnsiString name = a;
        name += ' ';
        if (round > 0) {
          name += kCapitals[round - 1][0];
          name += ' ';
        }
        name += b;
        if (seen.insert(name).second)
          places.push_back({name, kCapitals[(places.size() * 7) % std::size(kCapitals)][1]});
      }
    }
  }
  return places;
}

std::vector<AnsiString> ProvinceCodes() {
  std::vector<AnsiString> codes;
  for (const auto& c : kCapitals) codes.push_back(c[1]);
  std::sort(codes.begin(), codes.end());
  return codes;
}
