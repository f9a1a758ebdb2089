#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>

#include "clients/clientrecord.h"
#include "support/fakes.h"

// Client archives written and read byte by byte, as the screens must leave them.
namespace velmora::test {

inline std::vector<std::string> clientCard(const std::string &name, const std::string &room = {},
                                           const std::string &mobile = {}, const std::string &place = {})
{
    std::vector<std::string> v(client::FieldCount);
    v[client::Cliente] = name;
    v[client::Camera] = room;
    v[client::TelCel] = mobile;
    v[client::LuogoNasc] = place;
    return v;
}

// A card with a distinct value in every field, so a mix-up of fields shows.
inline std::vector<std::string> fullClientCard(const std::string &name)
{
    std::vector<std::string> v(client::FieldCount);
    for (std::size_t f = 0; f < client::FieldCount; ++f)
        v[f] = std::string(client::fieldName(f)) + " " + name;
    v[client::Cliente] = name;
    v[client::CodFisc] = "RSSMRA80A01H501U";
    v[client::Iva] = "01234567890";
    v[client::Iban] = "IT60X0542811101000000123456";
    return v;
}

inline void writeClients(const TestServices &t, const std::vector<std::vector<std::string>> &cards)
{
    QByteArray data;
    for (const auto &c : cards)
        data += QByteArray::fromStdString(clientLayout().encode(c));
    QFile f(QString::fromStdString(t.file(kClientArchive).string()));
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

// The values of record n (1-based) as stored; empty when the file holds no such record.
inline std::vector<std::string> storedClient(const TestServices &t, std::size_t n)
{
    const QByteArray bytes = t.bytes(kClientArchive);
    const auto size = static_cast<qsizetype>(clientLayout().size());
    if (n == 0 || bytes.size() < static_cast<qsizetype>(n) * size)
        return {};
    return clientLayout().decode(bytes.mid(static_cast<qsizetype>(n - 1) * size, size).toStdString());
}

inline std::size_t storedClientCount(const TestServices &t)
{
    return static_cast<std::size_t>(t.bytes(kClientArchive).size()) / clientLayout().size();
}

} // namespace velmora::test
