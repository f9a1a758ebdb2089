#pragma once

// Which screen opened a search. A search keeps the caller's marker in its hidden label
// lblMemory and decides by it what a choice in its list hands back.
namespace velmora {

enum class Caller { Anagrafica, Materiali, Forniture };

// The marker as lblMemory holds it: "anagrafica", "materiali" or "forniture".
constexpr const char *callerMarker(Caller caller)
{
    switch (caller) {
    case Caller::Anagrafica:
        return "anagrafica";
    case Caller::Materiali:
        return "materiali";
    case Caller::Forniture:
        return "forniture";
    }
    return "";
}

} // namespace velmora
