#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "common/officefiles.h"
#include "common/qtoffice.h"
#include "support/fakes.h"

using velmora::FileOfficeService;
using velmora::OfficeService;
using velmora::TextGrid;
using velmora::WordCard;
using velmora::test::Message;
using velmora::test::TestServices;

namespace {

// Independent readers: python-docx and openpyxl evaluate expressions over the produced file and
// print their repr, one line each.
// The documents are handed over as templates, which python-docx refuses by their content type
// alone: the reader tells the type ("form") and reads the package as the document it holds.
const char *const kDocxReader = R"py(
import sys, io, zipfile, docx
raw = zipfile.ZipFile(sys.argv[1])
types = raw.read('[Content_Types].xml').decode()
form = ('template' if 'wordprocessingml.template.main+xml' in types else
        'document' if 'wordprocessingml.document.main+xml' in types else 'other')
copy = io.BytesIO()
with zipfile.ZipFile(copy, 'w') as out:
    for item in raw.infolist():
        data = raw.read(item.filename)
        if item.filename == '[Content_Types].xml':
            data = data.replace(b'wordprocessingml.template.main', b'wordprocessingml.document.main')
        out.writestr(item, data)
d = docx.Document(io.BytesIO(copy.getvalue()))
t = d.tables
p = d.paragraphs
s = d.sections
rows = [r._tr for r in t[0].rows] if t else []
def has(element, tag):
    return element.find('.//{http://schemas.openxmlformats.org/wordprocessingml/2006/main}' + tag) is not None
for e in sys.argv[2:]:
    print(repr(eval(e)))
)py";

const char *const kXlsxReader = R"py(
import sys, zipfile, openpyxl
types = zipfile.ZipFile(sys.argv[1]).read('[Content_Types].xml').decode()
form = ('template' if 'spreadsheetml.template.main+xml' in types else
        'document' if 'spreadsheetml.sheet.main+xml' in types else 'other')
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
for e in sys.argv[2:]:
    print(repr(eval(e)))
)py";

QStringList evaluate(const char *reader, const QString &file, const QStringList &expressions)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("/usr/bin/python3"),
            QStringList{QStringLiteral("-c"), QString::fromUtf8(reader), file} + expressions);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return {};
    }
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// A bill-like grid: headings with their leading spaces, then three consumptions.
TextGrid billGrid()
{
    TextGrid grid;
    grid.push_back({QString(), QStringLiteral(" Prodotto o servizio fornito"), QStringLiteral(" Data"),
                    QStringLiteral(" Ora"), QStringLiteral(" Tavolo / Luogo"), QStringLiteral(" Quantità"),
                    QStringLiteral(" Prezzo unitario"), QStringLiteral(" Importo totale"),
                    QStringLiteral(" Unità di misura"), QStringLiteral(" Cameriere / Operatore "),
                    QStringLiteral(" Cliente"), QStringLiteral(" Camera / Alloggio"),
                    QStringLiteral(" Tel. cellulare")});
    grid.push_back({QStringLiteral("1"), QStringLiteral("Caffè"), QStringLiteral("08/12/2026"), QStringLiteral("10:30"),
                    QStringLiteral("Bar"), QStringLiteral("5"), QStringLiteral("2,50"), QStringLiteral("12,50"),
                    QStringLiteral("pz"), QStringLiteral("Luca"), QStringLiteral("Rossi & Figli <srl>"),
                    QStringLiteral("12"), QStringLiteral("0039333123456")});
    grid.push_back({QStringLiteral("2"), QStringLiteral(" rientro "), QStringLiteral("1/2"), QStringLiteral("3e5"),
                    QStringLiteral("=SUM(A1:A2)"), QStringLiteral("TRUE"), QStringLiteral("0,00"),
                    QStringLiteral("007"), QString(), QString(), QString(), QString(), QString()});
    grid.push_back({QStringLiteral("3"), QStringLiteral("riga uno\r\nriga due"), QString(), QString(), QString(),
                    QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString()});
    return grid;
}

TextGrid emptyGrid(int rows, int columns)
{
    return TextGrid(static_cast<std::size_t>(rows), QStringList(columns, QString()));
}

struct Fixture
{
    TestServices test;
    QTemporaryDir root;
    QTemporaryDir documents;
    FileOfficeService office{test.messages, test.shell, root.path(), documents.path()};

    QString onlyOpened() const { return test.shell.opened.size() == 1 ? test.shell.opened.front() : QString(); }
};

QString repr(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

class OfficeTest : public QObject
{
    Q_OBJECT

private slots:
    void excelSheetHoldsTrimmedTextFromA1();
    void excelHeadingsBoldFromColumnTwo_data();
    void excelHeadingsBoldFromColumnTwo();
    void excelColumnsFittedAndA1Selected();
    void wordGridKeepsTextsAsTheyAre();
    void wordGridOfAnEmptyGridHasItsShape();
    void wordCardHasCentredBoldHeadingsAndJustifiedTable();
    void productCardHasEmptySecondHeading();
    void everyDocumentGetsAFreshFolder();
    void notWrittenShowsTheOperationMessage_data();
    void notWrittenShowsTheOperationMessage();
    void notOpenedIsKeptInTheDocumentsFolder_data();
    void notOpenedIsKeptInTheDocumentsFolder();
    void keptDocumentNeverReplacesAFileOrFollowsALink();
    void templatesAreRemovedWhenNoLongerNeeded();
    void templatesStillBeingReadWaitForTheNextStart();
    void wordTablesAreLaidOutForReading();
    void wideArchivesGoInBandsOfWholeWords();
    void excelSheetsPrintOnePageAcross();
};

void OfficeTest::excelSheetHoldsTrimmedTextFromA1()
{
    Fixture f;
    QVERIFY(f.office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26));
    const QString file = f.onlyOpened();
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Conto consumazioni.xltx"));
    QVERIFY(file.startsWith(f.office.runFolder() + QLatin1Char('/')));
    QVERIFY(f.office.runFolder().startsWith(f.root.path() + QLatin1Char('/')));
    QVERIFY(f.test.messages.shown.empty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    const QStringList expressions = {
        QStringLiteral("form"),
        QStringLiteral("wb.sheetnames"),
        QStringLiteral("ws.dimensions"),
        QStringLiteral("ws['A1'].value"),
        QStringLiteral("ws['B1'].value"),
        QStringLiteral("ws['F1'].value"),
        QStringLiteral("ws['J1'].value"),
        QStringLiteral("[c.value for c in ws['A'][1:]]"),
        QStringLiteral("ws['H2'].value"),
        QStringLiteral("ws['H2'].data_type"),
        QStringLiteral("ws['M2'].value"),
        QStringLiteral("ws['K2'].value"),
        QStringLiteral("[c.value for c in ws[3]]"),
        QStringLiteral("ws['B4'].value"),
        QStringLiteral("sorted({c.number_format for r in ws.iter_rows() for c in r})"),
        QStringLiteral("sorted({c.data_type for r in ws.iter_rows() for c in r})"),
    };
    const QStringList expected = {
        QStringLiteral("'template'"),
        QStringLiteral("['Conto consumazioni']"),
        QStringLiteral("'A1:M4'"),
        QStringLiteral("None"),
        QStringLiteral("'Prodotto o servizio fornito'"),
        QStringLiteral("'Quantità'"),
        QStringLiteral("'Cameriere / Operatore'"),
        QStringLiteral("['1', '2', '3']"),
        QStringLiteral("'12,50'"),
        QStringLiteral("'s'"),
        QStringLiteral("'0039333123456'"),
        QStringLiteral("'Rossi & Figli <srl>'"),
        QStringLiteral("['2', 'rientro', '1/2', '3e5', '=SUM(A1:A2)', 'TRUE', '0,00', '007', None, None, None, None, "
                       "None]"),
        QStringLiteral("'riga uno\\nriga due'"),
        QStringLiteral("['@']"),
        QStringLiteral("['n', 's']"),
    };
    const QStringList got = evaluate(kXlsxReader, file, expressions);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(got[i] == expected[i], qPrintable(expressions[i] + QStringLiteral(" -> ") + got[i]));
}

void OfficeTest::excelHeadingsBoldFromColumnTwo_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("boldUpTo");
    QTest::addColumn<int>("lastBold");
    QTest::newRow("bill") << 13 << 26 << 13;
    QTest::newRow("products") << 17 << 17 << 17;
    QTest::newRow("clients") << 26 << 26 << 26;
    QTest::newRow("narrower bold range") << 10 << 6 << 6;
}

void OfficeTest::excelHeadingsBoldFromColumnTwo()
{
    QFETCH(int, columns);
    QFETCH(int, boldUpTo);
    QFETCH(int, lastBold);
    Fixture f;
    TextGrid grid = emptyGrid(3, columns);
    for (int c = 1; c < columns; ++c) {
        grid[0][c] = QStringLiteral(" Titolo %1").arg(c);
        grid[1][c] = QStringLiteral("dato");
    }
    grid[0][0] = QStringLiteral("n.");
    QVERIFY(f.office.excelGrid(nullptr, grid, QStringLiteral("Foglio di prova"), boldUpTo));
    const QStringList got =
        evaluate(kXlsxReader, f.onlyOpened(),
                 {QStringLiteral("[bool(c.font.b) for c in ws[1]]"),
                  QStringLiteral("any(bool(c.font.b) for c in ws[2])"), QStringLiteral("ws.max_column")});
    QCOMPARE(got.size(), 3);
    QStringList bold;
    for (int c = 1; c <= columns; ++c)
        bold << ((c >= 2 && c <= lastBold) ? QStringLiteral("True") : QStringLiteral("False"));
    QCOMPARE(got[0], QLatin1Char('[') + bold.join(QStringLiteral(", ")) + QLatin1Char(']'));
    QCOMPARE(got[1], QStringLiteral("False"));
    QCOMPARE(got[2], QString::number(columns));
}

void OfficeTest::excelColumnsFittedAndA1Selected()
{
    Fixture f;
    TextGrid grid = emptyGrid(3, 4);
    grid[0] = QStringList{QString(), QStringLiteral(" Breve"), QStringLiteral(" Una intestazione piuttosto lunga"),
                          QString()};
    grid[1] = QStringList{QStringLiteral("1"), QStringLiteral("un testo molto più lungo dell'intestazione"),
                          QStringLiteral("x"), QString()};
    QVERIFY(f.office.excelGrid(nullptr, grid, QStringLiteral("Prodotti e servizi"), 17));
    const QStringList got = evaluate(
        kXlsxReader, f.onlyOpened(),
        {QStringLiteral("ws.column_dimensions['B'].width >= len(\"un testo molto più lungo dell'intestazione\")"),
         QStringLiteral("ws.column_dimensions['C'].width >= len('Una intestazione piuttosto lunga')"),
         QStringLiteral("ws.column_dimensions['B'].width > ws.column_dimensions['C'].width"),
         QStringLiteral("ws.column_dimensions['A'].width < ws.column_dimensions['C'].width"),
         QStringLiteral("ws.sheet_view.selection[0].activeCell"), QStringLiteral("ws.sheet_view.selection[0].sqref")});
    QCOMPARE(got, (QStringList{QStringLiteral("True"), QStringLiteral("True"), QStringLiteral("True"),
                               QStringLiteral("True"), QStringLiteral("'A1'"), QStringLiteral("'A1'")}));
}

void OfficeTest::wordGridKeepsTextsAsTheyAre()
{
    Fixture f;
    const TextGrid grid = billGrid();
    QVERIFY(f.office.wordGrid(nullptr, grid, QStringLiteral("Conto consumazioni")));
    const QString file = f.onlyOpened();
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Conto consumazioni.dotx"));

    QStringList expressions = {QStringLiteral("form"), QStringLiteral("len(t)"), QStringLiteral("len(t[0].rows)"),
                               QStringLiteral("len(t[0].columns)")};
    QStringList expected = {QStringLiteral("'template'"), QStringLiteral("1"), QStringLiteral("4"),
                            QStringLiteral("13")};
    for (std::size_t r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < grid[r].size(); ++c) {
            expressions << QStringLiteral("t[0].cell(%1, %2).text").arg(r).arg(c);
            QString text = grid[r][c];
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            expected << repr(text);
        }
    }
    const QStringList got = evaluate(kDocxReader, file, expressions);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(got[i] == expected[i], qPrintable(expressions[i] + QStringLiteral(" -> ") + got[i] +
                                                   QStringLiteral(", expected ") + expected[i]));
}

void OfficeTest::wordGridOfAnEmptyGridHasItsShape()
{
    Fixture f;
    QVERIFY(f.office.wordGrid(nullptr, emptyGrid(10, 17), QStringLiteral("Prodotti e servizi")));
    const QStringList got = evaluate(kDocxReader, f.onlyOpened(),
                                     {QStringLiteral("len(t[0].rows)"), QStringLiteral("len(t[0].columns)"),
                                      QStringLiteral("{c.text for r in t[0].rows for c in r.cells}")});
    QCOMPARE(got, (QStringList{QStringLiteral("10"), QStringLiteral("17"), QStringLiteral("{''}")}));
}

void OfficeTest::wordCardHasCentredBoldHeadingsAndJustifiedTable()
{
    Fixture f;
    WordCard card;
    card.headings = {QStringLiteral("SCHEDA ANAGRAFICA CLIENTE")};
    for (int r = 1; r <= 27; ++r)
        card.rows.emplace_back(QStringLiteral("Voce %1:").arg(r),
                               r == 2 ? QString() : QStringLiteral("valore è %1").arg(r));
    card.rows[0] = {QStringLiteral("Cognome e nome cliente:"), QStringLiteral("Rossi Mario")};
    QVERIFY(f.office.wordCard(nullptr, card));
    const QString file = f.onlyOpened();
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Scheda anagrafica cliente.dotx"));

    const QStringList expressions = {
        QStringLiteral("p[0].text"),
        QStringLiteral("int(p[0].alignment)"),
        QStringLiteral("all(r.bold for r in p[0].runs)"),
        QStringLiteral("{r.font.name for r in p[0].runs}"),
        QStringLiteral("{r.font.size.pt for r in p[0].runs}"),
        QStringLiteral("len(t)"),
        QStringLiteral("(len(t[0].rows), len(t[0].columns))"),
        QStringLiteral("t[0].cell(0, 0).text"),
        QStringLiteral("t[0].cell(0, 1).text"),
        QStringLiteral("t[0].cell(1, 1).text"),
        QStringLiteral("t[0].cell(26, 0).text"),
        QStringLiteral("t[0].cell(26, 1).text"),
        QStringLiteral("{int(q.alignment) for r in t[0].rows for c in r.cells for q in c.paragraphs}"),
        QStringLiteral("any(run.bold for r in t[0].rows for c in r.cells for q in c.paragraphs for run in q.runs)"),
    };
    const QStringList expected = {
        QStringLiteral("'SCHEDA ANAGRAFICA CLIENTE'"),
        QStringLiteral("1"),
        QStringLiteral("True"),
        QStringLiteral("{'Arial'}"),
        QStringLiteral("{10.0}"),
        QStringLiteral("1"),
        QStringLiteral("(27, 2)"),
        QStringLiteral("'Cognome e nome cliente:'"),
        QStringLiteral("'Rossi Mario'"),
        QStringLiteral("''"),
        QStringLiteral("'Voce 27:'"),
        QStringLiteral("'valore è 27'"),
        QStringLiteral("{3}"),
        QStringLiteral("False"),
    };
    const QStringList got = evaluate(kDocxReader, file, expressions);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(got[i] == expected[i], qPrintable(expressions[i] + QStringLiteral(" -> ") + got[i]));
}

void OfficeTest::productCardHasEmptySecondHeading()
{
    Fixture f;
    WordCard card;
    card.headings = {QStringLiteral("SCHEDA PRODOTTO O SERVIZIO"), QString()};
    for (int r = 1; r <= 16; ++r)
        card.rows.emplace_back(QStringLiteral("Voce %1:").arg(r), QStringLiteral("%1").arg(r));
    QVERIFY(f.office.wordCard(nullptr, card));
    QCOMPARE(QFileInfo(f.onlyOpened()).fileName(), QStringLiteral("Scheda prodotto o servizio.dotx"));
    const QStringList got =
        evaluate(kDocxReader, f.onlyOpened(),
                 {QStringLiteral("[q.text for q in p[:2]]"), QStringLiteral("[int(q.alignment) for q in p[:2]]"),
                  QStringLiteral("(len(t[0].rows), len(t[0].columns))"), QStringLiteral("t[0].cell(15, 1).text")});
    QCOMPARE(got, (QStringList{QStringLiteral("['SCHEDA PRODOTTO O SERVIZIO', '']"), QStringLiteral("[1, 1]"),
                               QStringLiteral("(16, 2)"), QStringLiteral("'16'")}));
}

void OfficeTest::everyDocumentGetsAFreshFolder()
{
    Fixture f;
    QVERIFY(f.office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26));
    QVERIFY(f.office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26));
    QCOMPARE(f.test.shell.opened.size(), 2);
    QVERIFY(f.test.shell.opened[0] != f.test.shell.opened[1]);
    QCOMPARE(QFileInfo(f.test.shell.opened[1]).fileName(), QStringLiteral("Conto consumazioni.xltx"));
    QVERIFY(QFileInfo::exists(f.test.shell.opened[0]));
    QVERIFY(QFileInfo::exists(f.test.shell.opened[1]));
}

namespace {

// Runs one of the three operations on a small grid or card.
bool runOperation(FileOfficeService &office, int operation)
{
    WordCard card;
    card.headings = {QStringLiteral("SCHEDA PRODOTTO O SERVIZIO")};
    card.rows = {{QStringLiteral("Codice articolo:"), QStringLiteral("A1")}};
    switch (operation) {
    case 0:
        return office.wordCard(nullptr, card);
    case 1:
        return office.wordGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"));
    default:
        return office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26);
    }
}

} // namespace

void OfficeTest::notWrittenShowsTheOperationMessage_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("message");
    QTest::newRow("card") << 0 << OfficeService::cardFailedMessage();
    QTest::newRow("word") << 1 << OfficeService::wordFailedMessage();
    QTest::newRow("excel") << 2 << OfficeService::excelFailedMessage();
}

void OfficeTest::notWrittenShowsTheOperationMessage()
{
    QFETCH(int, operation);
    QFETCH(QString, message);
    TestServices test;
    QTemporaryDir dir;
    // A plain file where the templates' folder should be cannot hold documents.
    const QString blocked = dir.filePath(QStringLiteral("occupato"));
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    FileOfficeService office(test.messages, test.shell, blocked, dir.filePath(QStringLiteral("Documenti")));
    QVERIFY(!runOperation(office, operation));
    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(test.messages.lastText(), message);
    QVERIFY(test.shell.opened.isEmpty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void OfficeTest::notOpenedIsKeptInTheDocumentsFolder_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::newRow("card") << 0 << QStringLiteral("Scheda prodotto o servizio") << QStringLiteral("docx");
    QTest::newRow("word") << 1 << QStringLiteral("Conto consumazioni") << QStringLiteral("docx");
    QTest::newRow("excel") << 2 << QStringLiteral("Conto consumazioni") << QStringLiteral("xlsx");
}

void OfficeTest::notOpenedIsKeptInTheDocumentsFolder()
{
    QFETCH(int, operation);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    TestServices test;
    QTemporaryDir root;
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documenti")); // made when first needed
    test.shell.result = false;
    FileOfficeService office(test.messages, test.shell, root.path(), documents);
    QVERIFY(runOperation(office, operation));
    QVERIFY(runOperation(office, operation)); // a second one at the same second gets its own name

    const QStringList kept = QDir(documents).entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), 2);
    const QRegularExpression pattern(QStringLiteral(R"(^%1 \d\d-\d\d-\d{4} \d\d\.\d\d\.\d\d( \(2\))?\.%2$)")
                                         .arg(QRegularExpression::escape(name), extension));
    for (const QString &k : kept)
        QVERIFY2(pattern.match(k).hasMatch(), qPrintable(k));
    QCOMPARE(test.messages.shown.size(), std::size_t(2));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Plain);
    // The message names the place of the kept file, which is a document proper, not a template.
    const QString first = QDir(documents).filePath(kept.front());
    const QString second = QDir(documents).filePath(kept.back());
    QVERIFY(test.messages.shown[0].text == FileOfficeService::notOpenedMessage(first) ||
            test.messages.shown[0].text == FileOfficeService::notOpenedMessage(second));
    QVERIFY(test.messages.lastText().contains(documents));
    QVERIFY(test.messages.shown[0].text != test.messages.shown[1].text);
    QCOMPARE(QFileInfo(first).permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther),
             QFileDevice::Permissions());
    const QStringList got =
        operation == 2 ? evaluate(kXlsxReader, first, {QStringLiteral("form"), QStringLiteral("ws['B2'].value")})
                       : evaluate(kDocxReader, first, {QStringLiteral("form"), QStringLiteral("t[0].cell(0, 1).text")});
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0], QStringLiteral("'document'"));
    QCOMPARE(got[1], operation == 0   ? QStringLiteral("'A1'")
                     : operation == 1 ? QStringLiteral("' Prodotto o servizio fornito'")
                                      : QStringLiteral("'Caffè'"));
}

void OfficeTest::keptDocumentNeverReplacesAFileOrFollowsALink()
{
    TestServices test;
    QTemporaryDir root;
    QTemporaryDir documents;
    test.shell.result = false;
    // Every name of this second and the next is taken by a link to a file of the user's: the
    // document finds a name of its own or is not kept, and the linked file stays as it was.
    QTemporaryDir elsewhere;
    const QString precious = elsewhere.filePath(QStringLiteral("prezioso.txt"));
    {
        QFile f(precious);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("dati");
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (int s = 0; s <= 2; ++s) {
        const QString stamp = now.addSecs(s).toString(QStringLiteral("dd-MM-yyyy hh.mm.ss"));
        QVERIFY(QFile::link(precious, documents.filePath(QStringLiteral("Conto consumazioni %1.xlsx").arg(stamp))));
    }
    FileOfficeService office(test.messages, test.shell, root.path(), documents.path());
    QVERIFY(runOperation(office, 2));
    QFile f(precious);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("dati"));
    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QVERIFY(test.messages.lastText().contains(QStringLiteral(" (2).xlsx")));
}

void OfficeTest::templatesAreRemovedWhenNoLongerNeeded()
{
    TestServices test;
    QTemporaryDir root;
    // What an earlier run left: its folder, a template with personal data inside.
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("abc123/1")));
    {
        QFile left(root.filePath(QStringLiteral("abc123/1/Anagrafica clienti.xltx")));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write("RSSMRA80A01H501U");
    }
    QString run;
    QString opened;
    {
        FileOfficeService office(test.messages, test.shell, root.path());
        office.setReadingTime(std::chrono::seconds(0));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("abc123"))));
        run = office.runFolder();
        QVERIFY(!run.isEmpty());
        QCOMPARE(QFileInfo(run).permissions() &
                     ~(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
                 QFileDevice::Permissions());
        QVERIFY(office.excelGrid(nullptr, billGrid(), QStringLiteral("Anagrafica clienti"), 26));
        opened = test.shell.opened.front();
        QVERIFY(QFileInfo::exists(opened));
    }
    // The program ends: its templates go with it.
    QVERIFY(!QFileInfo::exists(opened));
    QVERIFY(!QFileInfo::exists(run));
    QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void OfficeTest::templatesStillBeingReadWaitForTheNextStart()
{
    TestServices test;
    QTemporaryDir root;
    // Another copy of the program, still running, has its templates here.
    const pid_t other = ::fork();
    if (other == 0) {
        ::pause();
        ::_exit(0);
    }
    QVERIFY(other > 0);
    const QString others = root.filePath(QString::number(other) + QStringLiteral("-abc123"));
    QVERIFY(QDir().mkpath(others + QStringLiteral("/1")));
    QString opened;
    {
        FileOfficeService office(test.messages, test.shell, root.path());
        QVERIFY(office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26));
        opened = test.shell.opened.front();
    }
    // Ended at once after handing a document over: the office program may not have read it yet.
    QVERIFY(QFileInfo::exists(opened));
    {
        const FileOfficeService next(test.messages, test.shell, root.path());
        QVERIFY(!QFileInfo::exists(opened));
        QVERIFY(QFileInfo::exists(others));
    }
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    {
        const FileOfficeService after(test.messages, test.shell, root.path());
        QVERIFY(!QFileInfo::exists(others));
    }
}

void OfficeTest::wordTablesAreLaidOutForReading()
{
    Fixture f;
    // The client archive: 26 columns, 12 cards.
    TextGrid archive;
    QStringList headings{QString()};
    for (int c = 1; c < 26; ++c)
        headings << QStringLiteral(" Intestazione %1").arg(c);
    archive.push_back(headings);
    for (int r = 1; r <= 12; ++r) {
        QStringList row{QString::number(r)};
        for (int c = 1; c < 26; ++c)
            row << (c == 11 ? QStringLiteral("RSSMRA80A01H501U") : QStringLiteral("dato %1").arg(c));
        archive.push_back(row);
    }
    QVERIFY(f.office.wordGrid(nullptr, archive, QStringLiteral("Anagrafica clienti")));
    QVERIFY(f.office.wordGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni")));
    TextGrid narrow{{QString(), QStringLiteral(" Prodotto")}, {QStringLiteral("1"), QStringLiteral("Caffè")}};
    QVERIFY(f.office.wordGrid(nullptr, narrow, QStringLiteral("Elenco")));
    QCOMPARE(f.test.shell.opened.size(), 3);

    const QStringList layout = {
        QStringLiteral("int(s[0].orientation)"),
        QStringLiteral("s[0].page_width > s[0].page_height"),
        QStringLiteral("all(has(r, 'cantSplit') for r in rows)"),
        QStringLiteral("[i for i, r in enumerate(rows) if has(r, 'tblHeader')]"),
        QStringLiteral("sorted({run.font.size.pt for r in t[0].rows for c in r.cells for q in c.paragraphs "
                       "for run in q.runs})"),
        QStringLiteral("abs(sum(c.width for c in t[0].columns) - (s[0].page_width - s[0].left_margin - "
                       "s[0].right_margin)) < 30000"),
        QStringLiteral("len({c.width for c in t[0].columns}) > 1"),
        QStringLiteral("t[0].columns[0].width < t[0].columns[1].width"),
    };
    const QStringList archiveLayout = evaluate(kDocxReader, f.test.shell.opened[0], layout);
    QCOMPARE(archiveLayout, (QStringList{QStringLiteral("1"), QStringLiteral("True"), QStringLiteral("True"),
                                         QStringLiteral("[0]"), QStringLiteral("[7.0]"), QStringLiteral("True"),
                                         QStringLiteral("True"), QStringLiteral("True")}));
    // The fiscal code column is at least as wide as a short one, the numbers narrower still.
    QCOMPARE(evaluate(kDocxReader, f.test.shell.opened[0],
                      {QStringLiteral("t[0].columns[11].width >= t[0].columns[12].width > t[0].columns[0].width")}),
             QStringList{QStringLiteral("True")});
    const QStringList billLayout = evaluate(kDocxReader, f.test.shell.opened[1], layout);
    QCOMPARE(billLayout.size(), layout.size());
    QCOMPARE(billLayout[0], QStringLiteral("1")); // landscape
    QCOMPARE(billLayout[3], QStringLiteral("[0]"));
    const double billSize = billLayout[4].mid(1, billLayout[4].size() - 2).toDouble();
    QVERIFY2(billSize >= 7.0 && billSize <= 10.0, qPrintable(billLayout[4]));
    const QStringList narrowLayout = evaluate(kDocxReader, f.test.shell.opened[2], layout);
    QCOMPARE(narrowLayout.mid(0, 6),
             (QStringList{QStringLiteral("0"), QStringLiteral("False"), QStringLiteral("True"), QStringLiteral("[0]"),
                          QStringLiteral("[10.0]"), QStringLiteral("True")}));
}

void OfficeTest::wideArchivesGoInBandsOfWholeWords()
{
    // A real client archive: long names, addresses, codes and e-mail addresses in 26 columns,
    // whose longest words together are far wider than a landscape page.
    const std::vector<std::string> client = {
        "", "Bianchi Alessandro", "Roma 12/03/1975", "Camera 12 dal 01/12/2026 al 08/12/2026",
        "Via Giuseppe Garibaldi 123", "00184 Roma (RM)", "Carta d'identit\xe0", "CA12345AB", "Comune di Roma",
        "12/03/2020", "12/03/2030", "BNCLSN75C12H501X", "01234567890", "4111111111111111", "Visa", "12/2028",
        "IT60X0542811101000000123456", "Banca Popolare di Sondrio", "Bianchi Alessandro", "Carta di credito",
        "06 1234567", "06 7654321", "333 1234567", "06 1111111", "alessandro.bianchi@esempio.it",
        "Cliente abituale, preferisce una camera silenziosa"};
    velmora::TextTable grid;
    std::vector<std::string> headings{""};
    for (int c = 1; c < 26; ++c)
        headings.push_back(" Intestazione " + std::to_string(c));
    grid.push_back(headings);
    for (int r = 1; r <= 12; ++r) {
        grid.push_back(client);
        grid.back()[0] = std::to_string(r);
    }
    QVERIFY(!velmora::layOutWordTable(grid).wordsWhole);

    const auto bands = velmora::wordTableBands(grid);
    QVERIFY(bands.size() > 1);
    std::vector<int> seen(26, 0);
    for (const auto &band : bands) {
        QVERIFY(band.size() > 2);
        QCOMPARE(band[0], std::size_t(0));
        QCOMPARE(band[1], std::size_t(1));
        velmora::TextTable part;
        for (const auto &row : grid) {
            part.emplace_back();
            for (std::size_t c : band)
                part.back().push_back(row[c]);
        }
        const velmora::WordTableLayout layout = velmora::layOutWordTable(part);
        QVERIFY(layout.wordsWhole);
        QVERIFY(layout.fontPoints >= 8);
        for (std::size_t i = 2; i < band.size(); ++i)
            ++seen[band[i]];
    }
    for (std::size_t c = 2; c < 26; ++c)
        QCOMPARE(seen[c], 1);

    // A grid whose words fit stays one table.
    velmora::TextTable narrow{{"", " Prodotto", " Data", " Note"}, {"1", "Caff\xe8", "07/12/2026", "al banco"}};
    QCOMPARE(velmora::wordTableBands(narrow).size(), std::size_t(1));

    // As written: one table a band, on landscape pages, each repeating its headings, the row
    // numbers and the client in every band, every other column once.
    Fixture f;
    TextGrid shown;
    for (const auto &row : grid) {
        QStringList cells;
        for (const std::string &cell : row)
            cells << QString::fromLatin1(cell.c_str()).replace(QChar(0xe0), QStringLiteral("\u00e0"));
        shown.push_back(cells);
    }
    QVERIFY(f.office.wordGrid(nullptr, shown, QStringLiteral("Anagrafica clienti")));
    const QStringList read = evaluate(
        kDocxReader, f.test.shell.opened[0],
        {QStringLiteral("len(t)"), QStringLiteral("int(s[0].orientation)"),
         QStringLiteral("all(has(x.rows[0]._tr, 'tblHeader') for x in t)"),
         QStringLiteral("all([r.cells[0].text for r in x.rows] == [''] + [str(i) for i in range(1, 13)] for x in t)"),
         QStringLiteral("all(x.rows[5].cells[1].text == 'Bianchi Alessandro' for x in t)"),
         QStringLiteral("sum(len(x.columns) - 2 for x in t)"),
         QStringLiteral("sum(1 for x in t for c in x.rows[3].cells if c.text == 'IT60X0542811101000000123456')"),
         QStringLiteral("len(d.element.body.findall('.//{http://schemas.openxmlformats.org/wordprocessingml/2006/main}br'))")});
    QCOMPARE(read, (QStringList{QString::number(bands.size()), QStringLiteral("1"), QStringLiteral("True"),
                                QStringLiteral("True"), QStringLiteral("True"), QStringLiteral("24"),
                                QStringLiteral("1"), QString::number(bands.size() - 1)}));
}

void OfficeTest::excelSheetsPrintOnePageAcross()
{
    Fixture f;
    TextGrid wide = emptyGrid(4, 26);
    for (int c = 1; c < 26; ++c)
        wide[0][c] = QStringLiteral(" Intestazione di colonna %1").arg(c);
    QVERIFY(f.office.excelGrid(nullptr, wide, QStringLiteral("Anagrafica clienti"), 26));
    TextGrid narrow{{QString(), QStringLiteral(" Prodotto")}, {QStringLiteral("1"), QStringLiteral("Caffè")}};
    QVERIFY(f.office.excelGrid(nullptr, narrow, QStringLiteral("Prodotti e servizi"), 17));
    const QStringList setup = {
        QStringLiteral("ws.page_setup.orientation"),
        QStringLiteral("ws.sheet_properties.pageSetUpPr.fitToPage"),
        // One page across is the file's default for a sheet fitted to pages (an absent fitToWidth).
        QStringLiteral("ws.page_setup.fitToWidth in (None, 1)"),
        QStringLiteral("ws.page_setup.fitToHeight"),
        QStringLiteral("ws.print_title_rows"),
        QStringLiteral("ws.page_setup.paperSize"),
    };
    QCOMPARE(evaluate(kXlsxReader, f.test.shell.opened[0], setup),
             (QStringList{QStringLiteral("'landscape'"), QStringLiteral("True"), QStringLiteral("True"),
                          QStringLiteral("0"), QStringLiteral("'$1:$1'"), QStringLiteral("9")}));
    QCOMPARE(evaluate(kXlsxReader, f.test.shell.opened[1], setup).value(0), QStringLiteral("'portrait'"));
}

QTEST_MAIN(OfficeTest)
#include "test_office.moc"
