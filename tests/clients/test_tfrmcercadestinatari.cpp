#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "bills/tfrmforniture.h"
#include "clienttestdata.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmdestinatari.h"
#include "support/fakes.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QStringList words(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *t : texts)
        out << QString::fromUtf8(t);
    return out;
}

QStringList names(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text().left(30).trimmed();
    return out;
}

} // namespace

class TfrmCercaDestinatariTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheCriteriaPage();
    void enterMovesAlongTheCriteria_data();
    void enterMovesAlongTheCriteria();
    void blankCriteriaListEveryCardInOrder();
    void criteriaNarrowTheList_data();
    void criteriaNarrowTheList();
    void linesShowTheCardsColumns();
    void missingArchiveIsCreatedEmpty();
    void unusableArchiveIsReported();
    void backKeepsTheCriteriaAsTyped();

    void quickSearchOnAnEmptyList();
    void quickSearchCyclesThroughMatches();
    void showingForgetsTheLastKey();

    void identicalLinesLoadTheLaterCard();
    void consumptionScreenGetsNameRoomAndMobile();
    void doubleClickWithoutSelectionHandsNothingBack();
    void anotherCallerGetsNoCard();
    void closingLeavesTheDialogAsItOpened();

    void everyCardListsSortedInOneStep();

private:
    template <class T> T *find(const char *name) const
    {
        T *widget = m_dialog->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("missing control %s", name);
        return widget;
    }
    QListWidget *list() const { return find<QListWidget>("lstRecords"); }
    void press(const char *button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void doubleClickRow(int row) const;
    // The consumption screen on an empty bill, its client and product boxes holding "prima".
    TfrmForniture *consumptionScreen();
    // Clicks a caller's import or search icon and runs act on the search it opens modally.
    void fromCaller(IconButton *icon, const std::function<void()> &act);

    std::unique_ptr<TestServices> m_t;
    std::unique_ptr<QWidget> m_caller;
    TfrmCercaDestinatari *m_dialog = nullptr;
};

void TfrmCercaDestinatariTest::init()
{
    m_t = std::make_unique<TestServices>();
    m_caller = std::make_unique<QWidget>();
    m_dialog = new TfrmCercaDestinatari(m_t->services, m_caller.get());
    m_dialog->setCaller(Caller::Forniture);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void TfrmCercaDestinatariTest::cleanup()
{
    m_caller.reset();
    m_dialog = nullptr;
    m_t.reset();
}

TfrmForniture *TfrmCercaDestinatariTest::consumptionScreen()
{
    std::ofstream(m_t->file("Conto.for")).flush();
    auto *screen = new TfrmForniture(m_t->services);
    m_caller.reset(screen);
    screen->openBill(m_t->file("Conto.for"), QStringLiteral("Conto"));
    [screen] { QVERIFY(QTest::qWaitForWindowExposed(screen)); }();
    for (QLineEdit *box : {screen->txtProdotto, screen->txtCliente, screen->txtAlloggio, screen->txtTelCel})
        box->setText(QStringLiteral("prima"));
    return screen;
}

void TfrmCercaDestinatariTest::fromCaller(IconButton *icon, const std::function<void()> &act)
{
    bool opened = false;
    whenModal([&](QDialog *d) {
        m_dialog = qobject_cast<TfrmCercaDestinatari *>(d);
        QVERIFY(m_dialog);
        opened = true;
        act();
    });
    QTest::mouseClick(icon, Qt::LeftButton);
    QVERIFY(opened);
    m_dialog = nullptr; // destroyed with the click that opened it
}

void TfrmCercaDestinatariTest::doubleClickRow(int row) const
{
    const QPoint at = list()->visualItemRect(list()->item(row)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
}

void TfrmCercaDestinatariTest::opensOnTheCriteriaPage()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral(" Ricerca clienti in archivio"));
    QVERIFY(find<QWidget>("grpCriteri")->isVisible());
    QVERIFY(!find<QWidget>("grpElenco")->isVisible());
    QVERIFY(find<QPushButton>("cmdTrova")->isEnabled());
    QVERIFY(find<QPushButton>("cmdAnnulla")->isEnabled());
    QVERIFY(!find<QPushButton>("cmdIndietro")->isEnabled());
    QVERIFY(!find<QPushButton>("cmdStampa")->isEnabled());
    QCOMPARE(find<QPushButton>("cmdIndietro")->text(), QStringLiteral("<< Indietro"));
    QCOMPARE(find<QLabel>("lblConta")->text(), QStringLiteral("0"));
    QVERIFY(!find<QLabel>("lblConta")->isVisible());
    QVERIFY(!find<QLabel>("lblMemory")->isVisible());
    QVERIFY(QFontInfo(list()->font()).fixedPitch());
}

void TfrmCercaDestinatariTest::enterMovesAlongTheCriteria_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const char *chain[] = {"txtCliente", "txtLuogoNasc", "txtCamera", "txtIndirizzo", "txtCitta",
                           "txtNumDoc",  "txtCodFisc",   "txtIva",    "txtNote"};
    for (std::size_t i = 0; i < std::size(chain); ++i)
        QTest::newRow(chain[i]) << QString::fromUtf8(chain[i]) << QString::fromUtf8(chain[(i + 1) % std::size(chain)]);
}

void TfrmCercaDestinatariTest::enterMovesAlongTheCriteria()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    auto *box = m_dialog->findChild<QLineEdit *>(from);
    box->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), box);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
    QVERIFY(m_dialog->isVisible());
}

void TfrmCercaDestinatariTest::blankCriteriaListEveryCardInOrder()
{
    writeClients(*m_t, {clientCard("verdi Luca"), clientCard("Bianchi Anna"), clientCard("Rossi Mario"),
                        clientCard("bianchi anna")});
    typeText(find<QLineEdit>("txtNote"), QStringLiteral("   "));
    press("cmdTrova");
    QCOMPARE(names(list()), QStringList({QStringLiteral("Bianchi Anna"), QStringLiteral("bianchi anna"),
                                         QStringLiteral("Rossi Mario"), QStringLiteral("verdi Luca")}));
    QCOMPARE(find<QLabel>("lblConta")->text(), QStringLiteral("0"));
    QVERIFY(!find<QWidget>("grpCriteri")->isVisible());
    QVERIFY(find<QWidget>("grpElenco")->isVisible());
    QVERIFY(!find<QPushButton>("cmdTrova")->isEnabled());
    QVERIFY(find<QPushButton>("cmdIndietro")->isEnabled());
    QVERIFY(find<QPushButton>("cmdStampa")->isEnabled());
    QVERIFY(find<QLineEdit>("txtTrova")->text().isEmpty());
    QVERIFY(m_t->messages.shown.empty());
}

void TfrmCercaDestinatariTest::criteriaNarrowTheList_data()
{
    QTest::addColumn<QStringList>("criteria"); // box, text, box, text...
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("count");
    QTest::newRow("part of a surname") << words({"txtCliente", "ross"}) << words({"Mario Rossi", "Rossi Mario"}) << "1";
    QTest::newRow("capitals typed") << words({"txtCliente", "ROSSI"}) << words({"Mario Rossi", "Rossi Mario"}) << "1";
    QTest::newRow("two fields") << words({"txtCliente", "ross", "txtLuogoNasc", "roma"}) << words({"Rossi Mario"})
                                << "2";
    QTest::newRow("each in its own field") << words({"txtLuogoNasc", "rossi"}) << words({}) << "1";
    QTest::newRow("trailing blank") << words({"txtCliente", "rossi "}) << words({"Rossi Mario"}) << "1";
    QTest::newRow("only blanks is no criterion")
        << words({"txtCamera", "  ", "txtCliente", "mario"}) << words({"Mario Rossi", "Rossi Mario"}) << "1";
    QTest::newRow("accented capital") << words({"txtLuogoNasc", "FORLÌ"}) << words({}) << "1";
    QTest::newRow("accented small") << words({"txtLuogoNasc", "FORLì"}) << words({"Mario Rossi"}) << "1";
    QTest::newRow("room") << words({"txtCamera", "10"}) << words({"Anna Verdi", "Rossi Mario"}) << "1";
}

void TfrmCercaDestinatariTest::criteriaNarrowTheList()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, found);
    QFETCH(QString, count);
    writeClients(*m_t, {clientCard("Rossi Mario", "101", "", "Roma"), clientCard("Anna Verdi", "10", "", "Rossano"),
                        clientCard("Mario Rossi", "7", "", "Forl\xEC")});
    for (qsizetype i = 0; i < criteria.size(); i += 2)
        typeText(m_dialog->findChild<QLineEdit *>(criteria[i]), criteria[i + 1]);
    press("cmdTrova");
    QCOMPARE(names(list()), found);
    QCOMPARE(find<QLabel>("lblConta")->text(), count);
}

void TfrmCercaDestinatariTest::linesShowTheCardsColumns()
{
    auto card = clientCard("Città Nuova", "12", "333 9876543");
    card[client::Cliente] = "Citt\xE0 Nuova";
    card[client::Permanenza] = "1-15 agosto";
    card[client::Email] = "info@citta.it";
    writeClients(*m_t, {card});
    press("cmdTrova");
    QCOMPARE(list()->count(), 1);
    QCOMPARE(list()->item(0)->text(), fromAnsi(clientListLine(card)));
    QVERIFY(list()->item(0)->text().startsWith(QStringLiteral("Città Nuova                     Camera: 12")));
}

void TfrmCercaDestinatariTest::missingArchiveIsCreatedEmpty()
{
    QVERIFY(!m_t->exists(kClientArchive));
    press("cmdTrova");
    QVERIFY(m_t->exists(kClientArchive));
    QCOMPARE(m_t->bytes(kClientArchive).size(), 0);
    QCOMPARE(list()->count(), 0);
    QVERIFY(find<QWidget>("grpElenco")->isVisible());
    QVERIFY(m_t->messages.shown.empty());
}

void TfrmCercaDestinatariTest::unusableArchiveIsReported()
{
    std::filesystem::create_directory(m_t->file(kClientArchive));
    press("cmdTrova");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(m_t->messages.lastText(), fileErrorMessage());
    QVERIFY(find<QWidget>("grpCriteri")->isVisible());
    QVERIFY(find<QPushButton>("cmdTrova")->isEnabled());
}

void TfrmCercaDestinatariTest::backKeepsTheCriteriaAsTyped()
{
    writeClients(*m_t, {clientCard("Rossi Mario"), clientCard("Verdi")});
    typeText(find<QLineEdit>("txtCliente"), QStringLiteral("rossi "));
    typeText(find<QLineEdit>("txtIva"), QStringLiteral("0"));
    press("cmdTrova");
    QCOMPARE(find<QLabel>("lblConta")->text(), QStringLiteral("2"));
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    press("cmdIndietro");
    QCOMPARE(find<QLineEdit>("txtCliente")->text(), QStringLiteral("rossi "));
    QCOMPARE(find<QLineEdit>("txtIva")->text(), QStringLiteral("0"));
    QCOMPARE(list()->count(), 0);
    QCOMPARE(find<QLabel>("lblConta")->text(), QStringLiteral("0"));
    QVERIFY(find<QWidget>("grpCriteri")->isVisible());
    QVERIFY(!find<QWidget>("grpElenco")->isVisible());
    QVERIFY(find<QPushButton>("cmdTrova")->isEnabled());
    QVERIFY(!find<QPushButton>("cmdIndietro")->isEnabled());
    QVERIFY(!find<QPushButton>("cmdStampa")->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>("txtCliente"));
}

void TfrmCercaDestinatariTest::quickSearchOnAnEmptyList()
{
    press("cmdTrova");
    typeText(find<QLineEdit>("txtTrova"), QStringLiteral("x"));
    press("cmdTrova02");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(m_t->messages.lastText(), QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TfrmCercaDestinatariTest::quickSearchCyclesThroughMatches()
{
    writeClients(*m_t, {clientCard("Anna"), clientCard("Marco"), clientCard("Bruno"), clientCard("Damiano Marini"),
                        clientCard("Tamara")});
    press("cmdTrova"); // Anna, Bruno, Damiano Marini, Marco, Tamara
    auto *key = find<QLineEdit>("txtTrova");
    typeText(key, QStringLiteral("zzz"));
    press("cmdTrova02");
    QCOMPARE(list()->currentRow(), 0); // nothing selected: the first line is taken, and stays
    key->clear();
    typeText(key, QStringLiteral("MAR"));
    QList<int> rows;
    for (int i = 0; i < 4; ++i) {
        press("cmdTrova02");
        rows << list()->currentRow();
    }
    QCOMPARE(rows, QList<int>({2, 3, 4, 2}));
    key->clear();
    typeText(key, QStringLiteral("zzz"));
    press("cmdTrova02");
    QCOMPARE(list()->currentRow(), 2); // an absent key leaves the selection where it was
    key->clear();
    typeText(key, QStringLiteral("mar"));
    QTest::keyClick(key, Qt::Key_Return); // Enter searches too; a new key starts from the top
    QCOMPARE(list()->currentRow(), 2);
    QTest::keyClick(key, Qt::Key_Return);
    QCOMPARE(list()->currentRow(), 3);
    QVERIFY(m_t->messages.shown.empty());
    QVERIFY(m_dialog->isVisible());
}

void TfrmCercaDestinatariTest::showingForgetsTheLastKey()
{
    writeClients(*m_t, {clientCard("Mario"), clientCard("Marta")});
    press("cmdTrova");
    auto *key = find<QLineEdit>("txtTrova");
    typeText(key, QStringLiteral("mar"));
    press("cmdTrova02");
    QCOMPARE(list()->currentRow(), 0);
    m_dialog->hide();
    m_dialog->show();
    QVERIFY(key->text().isEmpty());
    typeText(key, QStringLiteral("mar"));
    press("cmdTrova02");
    QCOMPARE(list()->currentRow(), 0); // a fresh key, not the next match
}

void TfrmCercaDestinatariTest::identicalLinesLoadTheLaterCard()
{
    auto first = fullClientCard("Neri Luca");
    auto later = first;
    later[client::LuogoNasc] = "Napoli"; // not on the list line
    later[client::File02] = "/doc/neri.pdf";
    for (int row = 0; row < 2; ++row) {
        auto *card = new TfrmDestinatari(m_t->services);
        m_caller.reset(card);
        card->showWorking();
        writeClients(*m_t, {first, fullClientCard("Altri"), later});
        fromCaller(card->cmdRicerca, [&] {
            press("cmdTrova");
            QCOMPARE(list()->count(), 3);
            QCOMPARE(list()->item(1)->text(), list()->item(2)->text());
            doubleClickRow(1 + row);
            QVERIFY(!m_dialog->isVisible());
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        });
        QCOMPARE(card->txtLuogoNasc->text(), QStringLiteral("Napoli"));
        QCOMPARE(card->lblFile02->text(), QStringLiteral("/doc/neri.pdf"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("3"));
    }
}

void TfrmCercaDestinatariTest::consumptionScreenGetsNameRoomAndMobile()
{
    writeClients(*m_t, {clientCard("Rossi Mario", "101", "333 1234567", "Roma"), clientCard("Verdi", "2", "1")});
    TfrmForniture *caller = consumptionScreen();
    fromCaller(caller->impCliente, [&] {
        typeText(find<QLineEdit>("txtCliente"), QStringLiteral("rossi"));
        press("cmdTrova");
        doubleClickRow(0);
        QVERIFY(!m_dialog->isVisible());
    });
    QCOMPARE(caller->txtCliente->text(), QStringLiteral("Rossi Mario"));
    QCOMPARE(caller->txtAlloggio->text(), QStringLiteral("101"));
    QCOMPARE(caller->txtTelCel->text(), QStringLiteral("333 1234567"));
    QCOMPARE(caller->txtProdotto->text(), QStringLiteral("prima"));
    QVERIFY(!m_t->exists(kClientTemp));
}

void TfrmCercaDestinatariTest::doubleClickWithoutSelectionHandsNothingBack()
{
    writeClients(*m_t, {clientCard("Rossi")});
    TfrmForniture *caller = consumptionScreen();
    fromCaller(caller->impCliente, [&] {
        press("cmdTrova");
        const QPoint below(20, list()->viewport()->height() - 5);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->chosen());
    });
    QCOMPARE(caller->txtCliente->text(), QStringLiteral("prima"));
    QVERIFY(m_t->messages.shown.empty());
}

void TfrmCercaDestinatariTest::anotherCallerGetsNoCard()
{
    // Only the client card and the consumption screen take a card from the search.
    writeClients(*m_t, {clientCard("Rossi")});
    m_dialog->setCaller(Caller::Materiali);
    QCOMPARE(find<QLabel>("lblMemory")->text(), QStringLiteral("materiali"));
    press("cmdTrova");
    doubleClickRow(0);
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_dialog->chosen());
    m_dialog->setCaller(Caller::Forniture);
    m_dialog->show();
    press("cmdTrova");
    doubleClickRow(0);
    QVERIFY(m_dialog->chosen());
    QCOMPARE(m_dialog->chosen()->number, std::size_t(1));
    QCOMPARE(m_dialog->chosen()->values[client::Cliente], std::string("Rossi"));
}

void TfrmCercaDestinatariTest::closingLeavesTheDialogAsItOpened()
{
    writeClients(*m_t, {clientCard("Rossi")});
    TfrmForniture *caller = consumptionScreen();
    fromCaller(caller->impCliente, [&] {
        typeText(find<QLineEdit>("txtCliente"), QStringLiteral("ro"));
        typeText(find<QLineEdit>("txtNote"), QStringLiteral("vip"));
        press("cmdTrova");
        m_dialog->close();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(find<QLineEdit>("txtCliente")->text().isEmpty());
        QVERIFY(find<QLineEdit>("txtNote")->text().isEmpty());
        QCOMPARE(list()->count(), 0);
        QCOMPARE(find<QLabel>("lblConta")->text(), QStringLiteral("0"));
        QVERIFY(!find<QPushButton>("cmdIndietro")->isEnabled());
        QVERIFY(find<QPushButton>("cmdTrova")->isEnabled());
        QVERIFY(!find<QWidget>("grpElenco")->isVisibleTo(m_dialog));
        QVERIFY(find<QWidget>("grpCriteri")->isVisibleTo(m_dialog));
    });
    QCOMPARE(caller->txtCliente->text(), QStringLiteral("prima"));
}

void TfrmCercaDestinatariTest::everyCardListsSortedInOneStep()
{
    QByteArray data;
    const int cards = 2000;
    data.reserve(cards * 3992);
    for (int i = 0; i < cards; ++i) {
        auto card = clientCard("Cliente " + std::to_string((i * 7919) % cards), std::to_string(i % 300),
                               "333 " + std::to_string(i));
        data += QByteArray::fromStdString(clientLayout().encode(card));
    }
    QFile f(QString::fromStdString(m_t->file(kClientArchive).string()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    data.clear();

    press("cmdTrova");
    QCOMPARE(list()->count(), cards);
    // Ordered as text, not as numbers: 0, 1, 10, 100, 1000, 1001, ... 999.
    QVERIFY(list()->item(0)->text().startsWith(QStringLiteral("Cliente 0 ")));
    QVERIFY(list()->item(1)->text().startsWith(QStringLiteral("Cliente 1 ")));
    QVERIFY(list()->item(2)->text().startsWith(QStringLiteral("Cliente 10 ")));
    QVERIFY(list()->item(cards - 1)->text().startsWith(QStringLiteral("Cliente 999 ")));
}

QTEST_MAIN(TfrmCercaDestinatariTest)
#include "test_tfrmcercadestinatari.moc"
