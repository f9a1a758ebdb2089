#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QTemporaryDir>
#include <QTest>

#include "common/qtoffice.h"
#include "support/fakes.h"

using velmora::FileOfficeService;
using velmora::TextGrid;
using velmora::WordCard;
using velmora::test::TestServices;

namespace {

QString run(const QString &program, const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Pages of a PDF as poppler sees them: their text (one string per page) and their size.
struct Pdf
{
    QStringList pages;
    bool landscape = false;
};

Pdf readPdf(const QString &file)
{
    Pdf pdf;
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    pdf.pages = text.split(QLatin1Char('\f'));
    if (!pdf.pages.isEmpty() && pdf.pages.back().trimmed().isEmpty())
        pdf.pages.removeLast();
    const QString info = run(QStringLiteral("pdfinfo"), {file});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+))")).match(info);
    pdf.landscape = m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble();
    return pdf;
}

TextGrid billGrid(int rows)
{
    TextGrid grid;
    grid.push_back({QString(), QStringLiteral(" Prodotto o servizio fornito"), QStringLiteral(" Data"),
                    QStringLiteral(" Ora"), QStringLiteral(" Tavolo / Luogo"), QStringLiteral(" Quantità"),
                    QStringLiteral(" Prezzo unitario"), QStringLiteral(" Importo totale"),
                    QStringLiteral(" Unità di misura"), QStringLiteral(" Cameriere / Operatore "),
                    QStringLiteral(" Cliente"), QStringLiteral(" Camera / Alloggio"),
                    QStringLiteral(" Tel. cellulare")});
    for (int r = 1; r <= rows; ++r)
        grid.push_back({QString::number(r), QStringLiteral("Caffè macchiato con latte di soia"),
                        QStringLiteral("07/12/2026"), QStringLiteral("10:30"), QStringLiteral("Bar esterno"),
                        QStringLiteral("2"), QStringLiteral("2,50"), QStringLiteral("5,00"), QStringLiteral("pz"),
                        QStringLiteral("Luca Bianchi"), QStringLiteral("Rossi Mario"), QStringLiteral("12"),
                        QStringLiteral("0039333123456")});
    return grid;
}

} // namespace

// What LibreOffice makes of the documents: they open (as templates, without a name), and on
// paper their tables read as tables.
class OfficeConvertTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void documentsConvertAndReadOnPaper();

private:
    QTemporaryDir m_profile;
};

void OfficeConvertTest::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty(), "soffice is needed");
}

void OfficeConvertTest::documentsConvertAndReadOnPaper()
{
    TestServices test;
    QTemporaryDir root;
    QTemporaryDir out;
    FileOfficeService office(test.messages, test.shell, root.path());
    WordCard card;
    card.headings = {QStringLiteral("SCHEDA ANAGRAFICA CLIENTE")};
    card.rows = {{QStringLiteral("Cognome e nome cliente:"), QStringLiteral("Rossi Mario")},
                 {QStringLiteral("Codice fiscale:"), QStringLiteral("RSSMRA80A01H501U")}};
    QVERIFY(office.wordCard(nullptr, card));
    QVERIFY(office.wordGrid(nullptr, billGrid(30), QStringLiteral("Conto breve")));
    QVERIFY(office.wordGrid(nullptr, billGrid(120), QStringLiteral("Conto lungo")));
    QVERIFY(office.excelGrid(nullptr, billGrid(120), QStringLiteral("Conto consumazioni"), 26));
    QCOMPARE(test.shell.opened.size(), 4);

    QStringList arguments = {QStringLiteral("-env:UserInstallation=") +
                                 QUrl::fromLocalFile(m_profile.path()).toString(),
                             QStringLiteral("--headless"),
                             QStringLiteral("--convert-to"),
                             QStringLiteral("pdf"),
                             QStringLiteral("--outdir"),
                             out.path()};
    arguments += test.shell.opened;
    QVERIFY(!run(QStringLiteral("soffice"), arguments, 240000).isNull());

    // The card: one portrait page, headed and complete.
    const Pdf cardPdf = readPdf(out.filePath(QStringLiteral("Scheda anagrafica cliente.pdf")));
    QCOMPARE(cardPdf.pages.size(), 1);
    QVERIFY(!cardPdf.landscape);
    QVERIFY(cardPdf.pages[0].contains(QStringLiteral("SCHEDA ANAGRAFICA CLIENTE")));
    QVERIFY(cardPdf.pages[0].contains(QStringLiteral("RSSMRA80A01H501U")));

    // A bill of 30 consumptions: one landscape page, each consumption on one line, dates whole.
    const Pdf shortBill = readPdf(out.filePath(QStringLiteral("Conto breve.pdf")));
    QCOMPARE(shortBill.pages.size(), 1);
    QVERIFY(shortBill.landscape);
    QCOMPARE(shortBill.pages[0].count(QStringLiteral("07/12/2026")), 30);
    QCOMPARE(shortBill.pages[0].count(QStringLiteral("Caffè macchiato con latte di soia")), 30);
    QCOMPARE(shortBill.pages[0].count(QStringLiteral("0039333123456")), 30);

    // A longer one: every page starts with the headings, and no consumption is cut between pages.
    const Pdf longBill = readPdf(out.filePath(QStringLiteral("Conto lungo.pdf")));
    QVERIFY(longBill.pages.size() >= 2);
    int dates = 0;
    for (const QString &page : longBill.pages) {
        QVERIFY(page.contains(QStringLiteral("Prodotto o servizio fornito")));
        QCOMPARE(page.count(QStringLiteral("07/12/2026")), page.count(QStringLiteral("0039333123456")));
        dates += page.count(QStringLiteral("07/12/2026"));
    }
    QCOMPARE(dates, 120);

    // The sheet: every column on the first page across, landscape, the headings on every page.
    const Pdf sheet = readPdf(out.filePath(QStringLiteral("Conto consumazioni.pdf")));
    QVERIFY(sheet.pages.size() >= 2);
    QVERIFY(sheet.landscape);
    for (const QString &page : sheet.pages) {
        QVERIFY(page.contains(QStringLiteral("Prodotto o servizio fornito")));
        QVERIFY(page.contains(QStringLiteral("Tel. cellulare")));
    }
}

QTEST_MAIN(OfficeConvertTest)
#include "test_officeconvert.moc"
