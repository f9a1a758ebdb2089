#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/listorder.h"
#include "common/record.h"
#include "common/recordfile.h"

// The client archive: one fixed-size record per guest, kept in the order the cards were added.
namespace velmora {

namespace client {

// Field indexes of the client record, in record order.
enum Field : std::size_t {
    Cliente,
    DataNasc,
    LuogoNasc,
    Camera,
    Permanenza,
    Indirizzo,
    Citta,
    TipoDoc,
    NumDoc,
    EnteDoc,
    RilDoc,
    ScaDoc,
    CodFisc,
    Iva,
    Carta,
    TipoCarta,
    ScaCarta,
    Iban,
    Banca,
    Intestatario,
    Pagamento,
    TelCasa,
    TelUff,
    TelCel,
    Fax,
    Email,
    Note,
    File01,
    File02,
    File03,
    Desc01,
    Desc02,
    Desc03,
    Cartella,
    CartellaDesc,
    FieldCount
};

// The fields the card shows in text boxes (Cliente to Note); the rest are attachment references.
inline constexpr std::size_t kVisibleFields = Note + 1;

// Field names as the card's controls are named after them ("txt" or "lbl" followed by the name).
const char *fieldName(std::size_t field);

} // namespace client

inline constexpr const char *kClientArchive = "Anagrafica.pro";
inline constexpr const char *kClientTemp = "Anagrafica.tmp";

// 35 fields, 3992 bytes.
const RecordLayout &clientLayout();

// One criterion of the client search: the text exactly as typed and the field it is looked for in.
struct ClientCriterion
{
    std::size_t field;
    std::string text;
};

// A criterion counts only when its text is not blank.
bool isActiveCriterion(const ClientCriterion &criterion);
std::size_t activeCriteriaCount(const std::vector<ClientCriterion> &criteria);

// True when every active criterion, with A to Z folded, occurs in its own field (folded the same
// way). Blank criteria are ignored, so with none active every record matches.
bool clientMatches(const std::vector<std::string> &values, const std::vector<ClientCriterion> &criteria);

// The same test on a stored record, reading only the fields the criteria name.
bool clientMatches(std::string_view record, const std::vector<ClientCriterion> &criteria);

// The line of the search result list: name, room, stay and mobile in fixed widths, then the e-mail.
std::string clientListLine(const std::vector<std::string> &values);

// The same line read straight from a stored record.
std::string clientListLine(std::string_view record);

// The last card of the archive whose list line, trimmed, equals line trimmed, with its record
// number; when several cards give the same line the later one is the one the user gets.
// nullopt when no card gives the line or the archive cannot be read.
std::optional<NumberedRecord> lastCardWithLine(const RecordFile &archive, std::string_view line);

} // namespace velmora
