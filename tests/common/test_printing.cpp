#include <QMarginsF>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "common/qtprinting.h"
#include "common/widgets.h"
#include "support/fakeprinting.h"

using velmora::PageOrientation;
using velmora::PrintRequest;
using velmora::PrintService;
using velmora::test::FakePrinter;
using velmora::test::Message;
using velmora::test::TestServices;

Q_DECLARE_METATYPE(velmora::PrintRequest)

namespace {

// The real Qt printing path, sent to a PDF file instead of the system printer. The printer
// reports the settings it was given when the document is done with it.
class PdfPrintService final : public velmora::QtPrintService
{
public:
    struct Probe
    {
        QPrinter::ColorMode colour = QPrinter::GrayScale;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        int resolution = 0;
        bool done = false;
    };

    PdfPrintService(TestServices &test, QString file)
        : QtPrintService(test.messages, test.clock), m_file(std::move(file))
    {
    }
    Probe probe;

protected:
    std::unique_ptr<QPrinter> systemPrinter() override
    {
        auto printer = std::make_unique<ProbePrinter>(probe);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_file);
        // Left at Qt's high resolution (1200 dpi for a PDF), as a real printer reports it.
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        return printer;
    }

private:
    class ProbePrinter final : public QPrinter
    {
    public:
        explicit ProbePrinter(Probe &probe) : QPrinter(QPrinter::HighResolution), m_probe(probe) {}
        ~ProbePrinter() override
        {
            m_probe.colour = colorMode();
            m_probe.orientation = pageLayout().orientation();
            m_probe.resolution = resolution();
            m_probe.done = true;
        }

    private:
        Probe &m_probe;
    };
    QString m_file;
};

struct PdfWord
{
    int page;
    double x;
    double y; // top, in points
    double bottom;
    QString text;
};

// Words of a PDF with their boxes, as poppler's text extraction sees them.
std::vector<PdfWord> pdfWords(const QString &file, QSizeF *pageSize = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression token(QStringLiteral(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    auto it = token.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            ++page;
            if (pageSize)
                *pageSize = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
        } else {
            QString text = m.captured(6);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            words.push_back({page, m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5).toDouble(), text});
        }
    }
    return words;
}

const PdfWord *findWord(const std::vector<PdfWord> &words, const QString &text, int page = 0)
{
    for (const PdfWord &w : words)
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    return nullptr;
}

double pointsAt600(int pixels)
{
    return pixels * 72.0 / 600.0;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyListShowsMessageAndPrintsNothing();
    void answeringNoPrintsNothing();
    void eachCallerAsksItsQuestionAndPrintsItsHeading_data();
    void eachCallerAsksItsQuestionAndPrintsItsHeading();
    void billPrintsTrimmedNameAndTotal();
    void footerTakesDateAndTimeFromTheClock();
    void linesReachThePrinterAsShown();
    void missingPrinterIsExplained();
    void printerFailureIsReported();
    void systemWithoutPrinterIsExplained();
    void pdfOutputHasTheLayoutPositions();
    void pdfBillBreaksPagesAndKeepsTotalOnLastPage();
};

void PrintingTest::emptyListShowsMessageAndPrintsNothing()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    QVERIFY(!printer.printList(nullptr, {}, PrintRequest::clientSearch()));
    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(test.messages.lastText(),
             QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));
    QVERIFY(printer.jobs.empty());
}

void PrintingTest::answeringNoPrintsNothing()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    test.messages.answers = {false};
    QVERIFY(!printer.printList(nullptr, {QStringLiteral("riga")}, PrintRequest::lowStock()));
    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Question);
    QCOMPARE(test.messages.questionIcons.back(), velmora::MessageService::Icon::Question);
    QVERIFY(printer.jobs.empty());
}

void PrintingTest::eachCallerAsksItsQuestionAndPrintsItsHeading_data()
{
    QTest::addColumn<PrintRequest>("request");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("rule");
    QTest::addColumn<bool>("landscape");

    QTest::newRow("product import") << PrintRequest::productImport()
                                    << QStringLiteral("Si vuole stampare il presente elenco di prodotti?")
                                    << QStringLiteral("Prodotti e servizi") << 24 << true;
    QTest::newRow("client search") << PrintRequest::clientSearch()
                                   << QStringLiteral("Si vuole stampare il presente elenco?")
                                   << QStringLiteral("Anagrafica clienti") << 17 << true;
    QTest::newRow("product search") << PrintRequest::productSearch()
                                    << QStringLiteral("Si vuole stampare il presente elenco di prodotti e servizi?")
                                    << QStringLiteral("Elenco prodotti e servizi") << 14 << true;
    QTest::newRow("low stock") << PrintRequest::lowStock()
                               << QStringLiteral("Si vuole stampare il presente elenco di materiali?")
                               << QStringLiteral("Materiali in esaurimento") << 24 << true;
    QTest::newRow("bill") << PrintRequest::bill(QStringLiteral("Camera 12"), QStringLiteral("5,00"))
                          << QStringLiteral("Si vuole stampare il presente conto?") << QStringLiteral("Camera 12") << 50
                          << false;
}

void PrintingTest::eachCallerAsksItsQuestionAndPrintsItsHeading()
{
    QFETCH(PrintRequest, request);
    QFETCH(QString, question);
    QFETCH(QString, title);
    QFETCH(int, rule);
    QFETCH(bool, landscape);

    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    QVERIFY(printer.printList(nullptr, {QStringLiteral("una riga")}, request));

    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Question);
    QCOMPARE(test.messages.shown[0].title, QStringLiteral("Conferma operazione di stampa"));
    QCOMPARE(test.messages.shown[0].text, question);

    QCOMPARE(printer.jobs.size(), std::size_t(1));
    QCOMPARE(printer.jobs[0].orientation, landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
    const auto texts = printer.lastTexts();
    QVERIFY(texts.size() >= 4);
    QCOMPARE(texts[0], std::string(static_cast<std::size_t>(rule), '-'));
    QCOMPARE(velmora::fromAnsi(texts[1]), title);
    QCOMPARE(texts[2], texts[0]);
    QCOMPARE(texts[3], std::string("una riga"));
}

void PrintingTest::billPrintsTrimmedNameAndTotal()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    QVERIFY(printer.printList(nullptr, {QStringLiteral("08/12/2026 Quant. 1")},
                              PrintRequest::bill(QStringLiteral("  Rossi camera 3  "), QStringLiteral(" 12,50 "))));
    const auto texts = printer.lastTexts();
    QCOMPARE(velmora::fromAnsi(texts[1]), QStringLiteral("Rossi camera 3"));
    QCOMPARE(velmora::fromAnsi(texts[texts.size() - 3]), QStringLiteral("TOTALE IMPORTI:  € 12,50"));
}

void PrintingTest::footerTakesDateAndTimeFromTheClock()
{
    TestServices test;
    test.clock.date = QDate(2027, 3, 4);
    test.clock.time = QTime(7, 8, 9);
    FakePrinter printer(test.messages, test.clock);
    QVERIFY(printer.printList(nullptr, {QStringLiteral("x")}, PrintRequest::productSearch()));
    QCOMPARE(printer.lastTexts().back(), std::string("Stampa eseguita in data 04/03/2027 alle ore 07:08:09"));
}

void PrintingTest::linesReachThePrinterAsShown()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    const QStringList lines = {QStringLiteral("Caffè macchiato      € 1,50"), QStringLiteral("  rientrata  "),
                               QStringLiteral("Perché sì")};
    QVERIFY(printer.printList(nullptr, lines, PrintRequest::productImport()));
    const auto texts = printer.lastTexts();
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(velmora::fromAnsi(texts[static_cast<std::size_t>(3 + i)]), lines[i]);
}

void PrintingTest::missingPrinterIsExplained()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    printer.available = false;
    QVERIFY(!printer.printList(nullptr, {QStringLiteral("x")}, PrintRequest::clientSearch()));
    QCOMPARE(test.messages.shown.size(), std::size_t(2));
    QCOMPARE(test.messages.shown[1].kind, Message::Kind::Plain);
    QCOMPARE(test.messages.lastText(), PrintService::noPrinterMessage());
    QVERIFY(test.messages.lastText().contains(QStringLiteral("stampante")));
    QVERIFY(printer.jobs.empty());
}

void PrintingTest::printerFailureIsReported()
{
    TestServices test;
    FakePrinter printer(test.messages, test.clock);
    printer.failsWhilePrinting = true;
    QVERIFY(!printer.printList(nullptr, {QStringLiteral("x")}, PrintRequest::clientSearch()));
    QCOMPARE(test.messages.lastText(), PrintService::failedMessage());
}

void PrintingTest::systemWithoutPrinterIsExplained()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer");
    TestServices test;
    velmora::QtPrintService service(test.messages, test.clock);
    QVERIFY(!service.printList(nullptr, {QStringLiteral("x")}, PrintRequest::clientSearch()));
    QCOMPARE(test.messages.lastText(), PrintService::noPrinterMessage());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PrintingTest::pdfOutputHasTheLayoutPositions()
{
    TestServices test;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("lista.pdf"));
    PdfPrintService service(test, file);
    QVERIFY(service.printList(nullptr, {QStringLiteral("PRIMA riga"), QStringLiteral("SECONDA riga")},
                              PrintRequest::clientSearch()));
    QVERIFY(service.probe.done);
    QCOMPARE(service.probe.resolution, 600);
    QCOMPARE(service.probe.colour, QPrinter::Color);
    QCOMPARE(service.probe.orientation, QPageLayout::Landscape);

    QSizeF page;
    const auto words = pdfWords(file, &page);
    QVERIFY2(!words.empty(), "pdftotext found no text");
    QVERIFY2(page.width() > page.height(), "landscape page expected");

    // Glyph tops as poppler measures them sit within a point of the layout's text tops.
    const struct
    {
        QString text;
        int y;
    } expected[] = {
        {QString(17, QLatin1Char('-')), 234},
        {QStringLiteral("Anagrafica"), 334},
        {QStringLiteral("PRIMA"), 635},
        {QStringLiteral("SECONDA"), 769},
        {QString(20, QLatin1Char('_')), 903 + 50},
        {QStringLiteral("Stampa"), 903 + 150},
    };
    for (const auto &e : expected) {
        const PdfWord *w = findWord(words, e.text);
        QVERIFY2(w, qPrintable(e.text));
        QVERIFY2(qAbs(w->y - pointsAt600(e.y)) < 1.5,
                 qPrintable(QStringLiteral("%1 at %2 pt, expected %3").arg(e.text).arg(w->y).arg(pointsAt600(e.y))));
        QVERIFY2(qAbs(w->x - pointsAt600(150)) < 1.0, qPrintable(e.text));
    }
    // Second rule under the title.
    int rules = 0;
    for (const PdfWord &w : words)
        if (w.text == QString(17, QLatin1Char('-'))) {
            ++rules;
            if (rules == 2)
                QVERIFY(qAbs(w.y - pointsAt600(434)) < 1.5);
        }
    QCOMPARE(rules, 2);
    QVERIFY(findWord(words, QStringLiteral("08/12/2026")));
    QVERIFY(findWord(words, QStringLiteral("10:30:15")));
    // The closing line ends above the footer; at a higher resolution than the layout's it ran
    // through it.
    const PdfWord *closing = findWord(words, QString(20, QLatin1Char('_')));
    const PdfWord *footer = findWord(words, QStringLiteral("Stampa"));
    QVERIFY2(closing->bottom < footer->y,
             qPrintable(
                 QStringLiteral("closing line down to %1 pt, footer from %2 pt").arg(closing->bottom).arg(footer->y)));
}

void PrintingTest::pdfBillBreaksPagesAndKeepsTotalOnLastPage()
{
    TestServices test;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("conto.pdf"));
    PdfPrintService service(test, file);
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("CONSUMO%1 Quant. 1 € 2,00").arg(i);
    QVERIFY(service.printList(nullptr, lines, PrintRequest::bill(QStringLiteral("Conto"), QStringLiteral("120,00"))));
    QCOMPARE(service.probe.orientation, QPageLayout::Portrait);

    QSizeF page;
    const auto words = pdfWords(file, &page);
    QVERIFY(page.height() > page.width());
    // A4 portrait at 600 dpi is 7016 pixels high: lines from 635 every 134 while y < 7016 − 201,
    // so 47 lines fit on the first page.
    const PdfWord *last = findWord(words, QStringLiteral("CONSUMO60"));
    QVERIFY(last);
    QCOMPARE(last->page, 2);
    const PdfWord *firstOnTwo = nullptr;
    for (const PdfWord &w : words)
        if (w.page == 2 && w.text.startsWith(QStringLiteral("CONSUMO")) && (!firstOnTwo || w.y < firstOnTwo->y))
            firstOnTwo = &w;
    QVERIFY(firstOnTwo);
    QCOMPARE(firstOnTwo->text, QStringLiteral("CONSUMO48"));
    QVERIFY(qAbs(firstOnTwo->y - pointsAt600(134)) < 1.5);
    QVERIFY(!findWord(words, QStringLiteral("Conto"), 2));
    // Every line at its place: from 635 on the first page, from 134 on the second, 134 apart.
    for (int i = 1; i <= 60; ++i) {
        const PdfWord *w = findWord(words, QStringLiteral("CONSUMO%1").arg(i));
        QVERIFY2(w, qPrintable(QString::number(i)));
        const int y = i <= 47 ? 635 + (i - 1) * 134 : 134 + (i - 48) * 134;
        QCOMPARE(w->page, i <= 47 ? 1 : 2);
        QVERIFY2(qAbs(w->y - pointsAt600(y)) < 1.5, qPrintable(QStringLiteral("line %1 at %2 pt").arg(i).arg(w->y)));
    }
    // After the last line (1742): rule, total, rule, footer.
    const struct
    {
        QString text;
        int y;
    } closing[] = {{QStringLiteral("TOTALE"), 1742 + 134 + 100},
                   {QStringLiteral("Stampa"), 1742 + 134 + 200 + 67 + 150}};
    for (const auto &e : closing) {
        const PdfWord *w = findWord(words, e.text, 2);
        QVERIFY2(w, qPrintable(e.text));
        QVERIFY2(qAbs(w->y - pointsAt600(e.y)) < 1.5, qPrintable(QStringLiteral("%1 at %2 pt").arg(e.text).arg(w->y)));
    }
    const PdfWord *total = findWord(words, QStringLiteral("TOTALE"));
    QVERIFY(total);
    QCOMPARE(total->page, 2);
    QVERIFY(findWord(words, QStringLiteral("120,00"), 2));
    QVERIFY(findWord(words, QStringLiteral("Stampa"), 2));
}

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
