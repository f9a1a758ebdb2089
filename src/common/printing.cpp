#include "common/printing.h"

#include <algorithm>

#include <QCursor>
#include <QGuiApplication>
#include <QListWidget>

#include "common/widgets.h"
#include "common/waitcursor.h"

namespace velmora {

namespace {

PrintRequest listRequest(const QString &question, const QString &title, int ruleLength)
{
    PrintRequest r;
    r.question = question;
    r.title = title;
    r.ruleLength = ruleLength;
    r.orientation = PageOrientation::Landscape;
    r.layout = PrintLayout::List;
    return r;
}

} // namespace

PrintRequest PrintRequest::productImport()
{
    return listRequest(QStringLiteral("Si vuole stampare il presente elenco di prodotti?"),
                       QStringLiteral("Prodotti e servizi"), 24);
}

PrintRequest PrintRequest::clientSearch()
{
    return listRequest(QStringLiteral("Si vuole stampare il presente elenco?"), QStringLiteral("Anagrafica clienti"),
                       17);
}

PrintRequest PrintRequest::productSearch()
{
    return listRequest(QStringLiteral("Si vuole stampare il presente elenco di prodotti e servizi?"),
                       QStringLiteral("Elenco prodotti e servizi"), 14);
}

PrintRequest PrintRequest::lowStock()
{
    return listRequest(QStringLiteral("Si vuole stampare il presente elenco di materiali?"),
                       QStringLiteral("Materiali in esaurimento"), 24);
}

PrintRequest PrintRequest::summary(const QString &title)
{
    // The rule runs under the title, which names the grouping and the period.
    return listRequest(QStringLiteral("Si vuole stampare il presente riepilogo?"), title,
                       static_cast<int>(std::min<qsizetype>(title.size(), 60)));
}

PrintRequest PrintRequest::bill(const QString &billName, const QString &total)
{
    PrintRequest r;
    r.question = QStringLiteral("Si vuole stampare il presente conto?");
    r.title = billName.trimmed();
    r.ruleLength = 50;
    r.orientation = PageOrientation::Portrait;
    r.layout = PrintLayout::Bill;
    r.total = total.trimmed();
    return r;
}

PrintService::PrintService(MessageService &messages, ClockService &clock) : m_messages(messages), m_clock(clock) {}

QString PrintService::emptyListMessage()
{
    return QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce.");
}

QString PrintService::questionTitle()
{
    return QStringLiteral("Conferma operazione di stampa");
}

QString PrintService::failedMessage()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la stampa.\r\n\r\nIl documento potrebbe non "
                          "essere stato stampato completamente: controllare la stampante e ripetere l'operazione.");
}

QString PrintService::noPrinterMessage()
{
    return QStringLiteral("Attenzione: nel sistema non è configurata nessuna stampante predefinita.\r\n\r\nInstallare "
                          "una stampante o sceglierne una come predefinita, quindi ripetere l'operazione di stampa.");
}

QString PrintService::cannotStartMessage()
{
    return QStringLiteral(
        "Attenzione: non è possibile avviare la stampa sulla stampante predefinita.\r\n\r\n"
        "Controllare che la stampante sia accesa e collegata, quindi ripetere l'operazione di stampa.");
}

bool PrintService::printList(QWidget *owner, const QStringList &lines, const PrintRequest &request)
{
    if (lines.isEmpty()) {
        m_messages.plain(owner, emptyListMessage());
        return false;
    }
    if (!m_messages.question(owner, questionTitle(), request.question, MessageService::Icon::Question))
        return false;

    PrintContent content;
    content.title = toAnsi(request.title);
    content.ruleLength = static_cast<std::size_t>(request.ruleLength);
    content.layout = request.layout;
    content.total = toAnsi(request.total);
    std::vector<std::string> ansiLines;
    ansiLines.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString &line : lines)
        ansiLines.push_back(toAnsi(line));
    const QDate date = m_clock.today();
    const QTime time = m_clock.now();
    const std::string footer =
        printFooter(date.day(), date.month(), date.year(), time.hour(), time.minute(), time.second());

    // Messages come after the hourglass is gone.
    QString failure;
    {
        WaitCursor wait;
        std::unique_ptr<PrintDocument> document = beginDocument(request.orientation, failure);
        if (document) {
            layOutPrint(*document, ansiLines, content, footer);
            if (document->finish())
                return true;
            failure = failedMessage();
        }
    }
    m_messages.plain(owner, failure.isEmpty() ? failedMessage() : failure);
    return false;
}

QStringList shownLines(const QListWidget *list)
{
    QStringList lines;
    lines.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

} // namespace velmora
