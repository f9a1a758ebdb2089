#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
const char *const kDocxReader = R"py(
import sys, docx
d = docx.Document(sys.argv[1])
t = d.tables
p = d.paragraphs
for e in sys.argv[2:]:
    print(repr(eval(e)))
)py";

const char *const kXlsxReader = R"py(
import sys, openpyxl
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
    FileOfficeService office{test.messages, test.shell, root.path()};

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
    void failuresShowTheOperationMessage_data();
    void failuresShowTheOperationMessage();
};

void OfficeTest::excelSheetHoldsTrimmedTextFromA1()
{
    Fixture f;
    QVERIFY(f.office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26));
    const QString file = f.onlyOpened();
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Conto consumazioni.xlsx"));
    QVERIFY(file.startsWith(f.root.path() + QLatin1Char('/')));
    QVERIFY(f.test.messages.shown.empty());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    const QStringList expressions = {
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
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Conto consumazioni.docx"));

    QStringList expressions = {QStringLiteral("len(t)"), QStringLiteral("len(t[0].rows)"),
                               QStringLiteral("len(t[0].columns)")};
    QStringList expected = {QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("13")};
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
    QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Scheda anagrafica cliente.docx"));

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
    QCOMPARE(QFileInfo(f.onlyOpened()).fileName(), QStringLiteral("Scheda prodotto o servizio.docx"));
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
    QCOMPARE(QFileInfo(f.test.shell.opened[1]).fileName(), QStringLiteral("Conto consumazioni.xlsx"));
    QVERIFY(QFileInfo::exists(f.test.shell.opened[0]));
    QVERIFY(QFileInfo::exists(f.test.shell.opened[1]));
}

void OfficeTest::failuresShowTheOperationMessage_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<QString>("message");
    const QString card = OfficeService::cardFailedMessage();
    const QString word = OfficeService::wordFailedMessage();
    const QString excel = OfficeService::excelFailedMessage();
    QTest::newRow("card not opened") << 0 << false << card;
    QTest::newRow("card not written") << 0 << true << card;
    QTest::newRow("word not opened") << 1 << false << word;
    QTest::newRow("word not written") << 1 << true << word;
    QTest::newRow("excel not opened") << 2 << false << excel;
    QTest::newRow("excel not written") << 2 << true << excel;
}

void OfficeTest::failuresShowTheOperationMessage()
{
    QFETCH(int, operation);
    QFETCH(bool, unwritable);
    QFETCH(QString, message);

    TestServices test;
    QTemporaryDir dir;
    // A plain file where the documents' folder should be cannot hold documents.
    const QString blocked = dir.filePath(QStringLiteral("occupato"));
    if (unwritable) {
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    test.shell.result = false;
    FileOfficeService office(test.messages, test.shell, unwritable ? blocked : dir.path());
    WordCard card;
    card.headings = {QStringLiteral("SCHEDA PRODOTTO O SERVIZIO")};
    card.rows = {{QStringLiteral("Codice articolo:"), QStringLiteral("A1")}};
    bool done = true;
    switch (operation) {
    case 0:
        done = office.wordCard(nullptr, card);
        break;
    case 1:
        done = office.wordGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"));
        break;
    default:
        done = office.excelGrid(nullptr, billGrid(), QStringLiteral("Conto consumazioni"), 26);
        break;
    }
    QVERIFY(!done);
    QCOMPARE(test.messages.shown.size(), std::size_t(1));
    QCOMPARE(test.messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(test.messages.lastText(), message);
    QCOMPARE(test.shell.opened.size(), unwritable ? 0 : 1);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(OfficeTest)
#include "test_office.moc"
