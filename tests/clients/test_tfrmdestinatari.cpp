#include <memory>

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "common/fonts.h"
#include "clienttestdata.h"
#include "clients/tfrmdestinatari.h"
#include "common/widgets.h"
#include "support/fakes.h"
#include "support/modal.h"
#include "support/seconduser.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kEmptyTitle = QStringLiteral("Visualizzazione dati non applicabile");
const QString kChanged = QStringLiteral("Attenzione: la scheda visualizzata è stata modificata o eliminata da "
                                        "un'altra postazione.\r\n\r\nVisualizzare nuovamente la scheda prima di "
                                        "ripetere l'operazione.");

} // namespace

class TfrmDestinatariTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void boxesSitInTheirPanels_data();
    void boxesSitInTheirPanels();
    void enterMovesAlongTheChain_data();
    void enterMovesAlongTheChain();
    void showingStartsAnEmptyCard();

    void saveRefusesABlankName();
    void saveAppendsThenOverwrites();
    void sameClientTwiceGivesTwoRecords();
    void cardChangedElsewhereIsNeitherSavedNorDeleted_data();
    void cardChangedElsewhereIsNeitherSavedNorDeleted();
    void showingTheCardAgainLetsTheSaveThrough();

    void emptyArchiveIsReported_data();
    void emptyArchiveIsReported();
    void arrowsWalkTheArchive();
    void anArchiveThatCannotBeReadIsReported();
    void loadingFillsEveryBoxAndLabel();

    void deleteNeedsAStoredCard();
    void deleteAnsweredNoKeepsEverything();
    void deleteRemovesAndRenumbers();
    void deletingTheOnlyCardLeavesAnEmptyArchive();
    void deleteWithoutArchiveReportsIt();

    void digitsOnlyBoxes_data();
    void digitsOnlyBoxes();
    void upperCaseBoxesKeepTheCaret_data();
    void upperCaseBoxesKeepTheCaret();
    void notesStopAtTheirCapacity();

    void mailIconOpensAMailLink();
    void helpShowsTheCardTopic();
    void hoverDescribesEveryIcon_data();
    void hoverDescribesEveryIcon();
    void checksOpenTheirDialog_data();
    void checksOpenTheirDialog();

    void attachmentsReachTheArchiveOnlyOnSave();
    void attachmentsClosedWithoutApplyChangeNothing();
    void folderIsStoredWithTheCard();
    void searchLoadsTheChosenCard();
    void closingReturnsToTheStartScreen();

private:
    template <class T> T *find(const char *name) const
    {
        T *widget = m_card->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("missing control %s", name);
        return widget;
    }
    TextBox *box(const char *name) const { return find<TextBox>(name); }
    QLabel *label(const char *name) const { return find<QLabel>(name); }
    QString position() const { return label("lblPosizione")->text(); }
    void click(const char *icon) const { QTest::mouseClick(find<IconButton>(icon), Qt::LeftButton); }
    void type(const char *boxName, const QString &text) const
    {
        box(boxName)->clear();
        typeText(box(boxName), text);
    }

    std::unique_ptr<TestServices> m_t;
    std::unique_ptr<TfrmDestinatari> m_card;
};

void TfrmDestinatariTest::init()
{
    m_t = std::make_unique<TestServices>();
    m_card = std::make_unique<TfrmDestinatari>(m_t->services);
    m_card->showWorking();
    QVERIFY(QTest::qWaitForWindowActive(m_card.get()));
}

void TfrmDestinatariTest::cleanup()
{
    m_card.reset();
    m_t.reset();
}

void TfrmDestinatariTest::boxesSitInTheirPanels_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("capacity");
    const struct
    {
        const char *box, *panel, *caption;
        int capacity;
    } rows[] = {
        {"txtCliente", "panRiquadro01", "Cognome e nome cliente:", 50},
        {"txtDataNasc", "panRiquadro01", "Data di nascita:", 50},
        {"txtLuogoNasc", "panRiquadro01", "Luogo di nascita:", 50},
        {"txtCamera", "panRiquadro01", "Camera / Alloggio:", 50},
        {"txtPermanenza", "panRiquadro01", "Periodo di permanenza:", 50},
        {"txtIndirizzo", "panRiquadro01", "Indirizzo di residenza:", 50},
        {"txtCitta", "panRiquadro01", "CAP, città e sigla provincia:", 50},
        {"txtTipoDoc", "panRiquadro02", "Tipo documento:", 50},
        {"txtNumDoc", "panRiquadro02", "Numero:", 50},
        {"txtEnteDoc", "panRiquadro02", "Ente di rilascio:", 120},
        {"txtRilDoc", "panRiquadro02", "Data di rilascio:", 50},
        {"txtScaDoc", "panRiquadro02", "Data di scadenza:", 50},
        {"txtCodFisc", "panRiquadro03", "Codice fiscale:", 16},
        {"txtIva", "panRiquadro03", "Partita IVA:", 11},
        {"txtCarta", "panRiquadro04", "Carta di credito n.", 50},
        {"txtTipoCarta", "panRiquadro04", "Tipo:", 50},
        {"txtScaCarta", "panRiquadro04", "Scadenza:", 50},
        {"txtIban", "panRiquadro04", "Codice IBAN:", 50},
        {"txtBanca", "panRiquadro04", "Banca:", 120},
        {"txtIntestatario", "panRiquadro04", "Intestatario C/C:", 120},
        {"txtPagamento", "panRiquadro04", "Modalità di pagamento:", 250},
        {"txtTelCasa", "panRiquadro05", "Tel. casa:", 50},
        {"txtTelUff", "panRiquadro05", "Tel. ufficio:", 50},
        {"txtTelCel", "panRiquadro05", "Tel. cellulare:", 50},
        {"txtFax", "panRiquadro05", "Fax:", 50},
        {"txtEmail", "panRiquadro05", "E-mail:", 120},
        {"txtNote", "panRiquadro06", "Note:", 250},
    };
    for (const auto &r : rows)
        QTest::newRow(r.box) << QString::fromUtf8(r.box) << QString::fromUtf8(r.panel) << QString::fromUtf8(r.caption)
                             << r.capacity;
}

void TfrmDestinatariTest::boxesSitInTheirPanels()
{
    QFETCH(QString, box);
    QFETCH(QString, panel);
    QFETCH(QString, caption);
    QFETCH(int, capacity);
    auto *widget = m_card->findChild<QWidget *>(box);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), panel);
    QVERIFY(widget->font().bold());
    QCOMPARE(widget->font().family(), fonts::text());
    bool captioned = false;
    for (const QLabel *l : widget->parentWidget()->findChildren<QLabel *>())
        captioned = captioned || (l->text() == caption && l->isVisible());
    QVERIFY2(captioned, qPrintable(caption));
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(line->maxLength(), capacity);
    else
        QVERIFY(qobject_cast<MemoBox *>(widget));
}

void TfrmDestinatariTest::enterMovesAlongTheChain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const char *chain[] = {
        "txtCliente", "txtDataNasc",  "txtLuogoNasc", "txtCamera", "txtPermanenza", "txtIndirizzo",    "txtCitta",
        "txtTipoDoc", "txtNumDoc",    "txtEnteDoc",   "txtRilDoc", "txtScaDoc",     "txtCodFisc",      "txtIva",
        "txtCarta",   "txtTipoCarta", "txtScaCarta",  "txtIban",   "txtBanca",      "txtIntestatario", "txtPagamento",
        "txtTelCasa", "txtTelUff",    "txtTelCel",    "txtFax",    "txtEmail",      "txtNote"};
    const std::size_t n = std::size(chain);
    for (std::size_t i = 0; i < n; ++i)
        QTest::newRow(chain[i]) << QString::fromUtf8(chain[i]) << QString::fromUtf8(chain[(i + 1) % n]);
}

void TfrmDestinatariTest::enterMovesAlongTheChain()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    auto *widget = m_card->findChild<QWidget *>(from);
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
    if (auto *memo = qobject_cast<MemoBox *>(widget))
        QCOMPARE(memo->toPlainText(), QString());
}

void TfrmDestinatariTest::showingStartsAnEmptyCard()
{
    box("txtEmail")->setText(QStringLiteral("a@b.it"));
    find<MemoBox>("txtNote")->setText(QStringLiteral("nota"));
    label("lblFile02")->setText(QStringLiteral("/tmp/x"));
    label("lblCartella")->setText(QStringLiteral("/tmp"));
    label("lblPosizione")->setText(QStringLiteral("4"));
    m_card->close();
    m_card->showWorking();
    QVERIFY(box("txtEmail")->text().isEmpty());
    QVERIFY(find<MemoBox>("txtNote")->text().isEmpty());
    QVERIFY(label("lblFile02")->text().isEmpty());
    QVERIFY(label("lblCartella")->text().isEmpty());
    QVERIFY(position().isEmpty());
    QVERIFY(!label("lblFile02")->isVisible());
    QVERIFY(label("lblPosizione")->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), box("txtCliente"));
}

void TfrmDestinatariTest::saveRefusesABlankName()
{
    box("txtDataNasc")->setFocus();
    type("txtCliente", QStringLiteral("   "));
    type("txtCamera", QStringLiteral("12"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Warning);
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Salvataggio scheda non applicabile"));
    QCOMPARE(m_t->messages.lastText(),
             QStringLiteral("Per salvare la scheda è necessario indicare il nome del cliente."));
    QVERIFY(!m_t->exists(kClientArchive));
    QTRY_COMPARE(QApplication::focusWidget(), box("txtCliente"));
    QVERIFY(position().isEmpty());
}

void TfrmDestinatariTest::saveAppendsThenOverwrites()
{
    type("txtCliente", QStringLiteral("  Rossi Mario "));
    type("txtCitta", QStringLiteral("00100 Città RM"));
    label("lblFile01")->setText(QStringLiteral(" /doc/a.pdf "));
    label("lblCartellaDesc")->setText(QStringLiteral("Cartella del cliente"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Information);
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
    QCOMPARE(m_t->messages.lastText(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
    QCOMPARE(position(), QStringLiteral("1"));
    QCOMPARE(m_t->bytes(kClientArchive).size(), 3992);
    auto stored = storedClient(*m_t, 1);
    QCOMPARE(stored[client::Cliente], std::string("Rossi Mario"));
    QCOMPARE(stored[client::Citta], std::string("00100 Citt\xE0 RM")); // one byte for the accented letter
    QCOMPARE(stored[client::File01], std::string("/doc/a.pdf"));
    // The card now shows what was stored, not what was typed.
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Rossi Mario"));
    QCOMPARE(label("lblFile01")->text(), QStringLiteral("/doc/a.pdf"));
    QCOMPARE(stored[client::CartellaDesc], std::string("Cartella del cliente"));

    type("txtCliente", QStringLiteral("Rossi Mario Luigi"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
    QCOMPARE(m_t->messages.lastText(),
             QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    QCOMPARE(m_t->bytes(kClientArchive).size(), 3992);
    QCOMPARE(storedClient(*m_t, 1)[client::Cliente], std::string("Rossi Mario Luigi"));
    QCOMPARE(position(), QStringLiteral("1"));

    click("cmdNuovo");
    QVERIFY(box("txtCliente")->text().isEmpty());
    QVERIFY(label("lblFile01")->text().isEmpty());
    type("txtCliente", QStringLiteral("Verdi Anna"));
    click("cmdSalva");
    QCOMPARE(position(), QStringLiteral("2"));
    QCOMPARE(storedClientCount(*m_t), 2u);
    QCOMPARE(storedClient(*m_t, 2)[client::Cliente], std::string("Verdi Anna"));
    QCOMPARE(storedClient(*m_t, 2)[client::File01], std::string());
}

void TfrmDestinatariTest::sameClientTwiceGivesTwoRecords()
{
    for (int i = 0; i < 2; ++i) {
        click("cmdNuovo");
        type("txtCliente", QStringLiteral("Bianchi"));
        click("cmdSalva");
    }
    QCOMPARE(storedClientCount(*m_t), 2u);
    QCOMPARE(storedClient(*m_t, 2)[client::Cliente], std::string("Bianchi"));
    QCOMPARE(position(), QStringLiteral("2"));
}

void TfrmDestinatariTest::cardChangedElsewhereIsNeitherSavedNorDeleted_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("change");
    for (const char *command : {"cmdSalva", "cmdElimina"}) {
        // Another field of the same card, the card moved up by a delete, the card gone.
        for (const char *change : {"changed", "moved", "removed"})
            QTest::addRow("%s %s", command, change) << QString::fromLatin1(command) << QString::fromLatin1(change);
    }
}

void TfrmDestinatariTest::cardChangedElsewhereIsNeitherSavedNorDeleted()
{
    QFETCH(QString, command);
    QFETCH(QString, change);
    writeClients(*m_t, {fullClientCard("Uno"), fullClientCard("Due"), fullClientCard("Tre")});
    click("imgPrimo");
    click("imgAvanti");
    QCOMPARE(position(), QStringLiteral("2"));
    type("txtCamera", QStringLiteral("Camera 12"));

    // Another workstation writes the archive meanwhile.
    if (change == QLatin1String("changed")) {
        auto other = fullClientCard("Due");
        other[client::TelCel] = "333 1234567";
        writeClients(*m_t, {fullClientCard("Uno"), other, fullClientCard("Tre")});
    } else if (change == QLatin1String("moved")) {
        writeClients(*m_t, {fullClientCard("Due"), fullClientCard("Tre")});
    } else {
        writeClients(*m_t, {fullClientCard("Uno")});
    }
    const QByteArray left = m_t->bytes(kClientArchive);
    m_t->messages.clear();
    click(command.toLatin1().constData());

    QCOMPARE(m_t->messages.shown.back().kind, Message::Kind::Plain);
    QCOMPARE(m_t->messages.lastText(), kChanged);
    QCOMPARE(m_t->messages.shown.size(), command == QLatin1String("cmdElimina") ? 2u : 1u);
    QCOMPARE(m_t->bytes(kClientArchive), left);
    QVERIFY(!m_t->exists(kClientTemp));
    // The card stays as typed.
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Due"));
    QCOMPARE(box("txtCamera")->text(), QStringLiteral("Camera 12"));
    QCOMPARE(label("lblFile01")->text(), QStringLiteral("File01 Due"));
    QCOMPARE(position(), QStringLiteral("2"));
}

void TfrmDestinatariTest::showingTheCardAgainLetsTheSaveThrough()
{
    writeClients(*m_t, {clientCard("Uno"), clientCard("Due")});
    click("imgUltimo");
    writeClients(*m_t, {clientCard("Uno"), clientCard("Due", "Suite")});
    type("txtTelCel", QStringLiteral("333"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.lastText(), kChanged);
    QCOMPARE(storedClient(*m_t, 2)[client::TelCel], std::string());

    click("imgUltimo");
    QCOMPARE(box("txtCamera")->text(), QStringLiteral("Suite"));
    type("txtTelCel", QStringLiteral("333"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
    QCOMPARE(storedClient(*m_t, 2), clientCard("Due", "Suite", "333"));
    // What this card saved is what it now expects: a second save goes through too.
    type("txtTelCel", QStringLiteral("444"));
    click("cmdSalva");
    QCOMPARE(storedClient(*m_t, 2)[client::TelCel], std::string("444"));
    click("cmdElimina");
    QCOMPARE(storedClientCount(*m_t), 1u);
}

void TfrmDestinatariTest::emptyArchiveIsReported_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("first") << "imgPrimo"
                           << "3"
                           << "3";
    QTest::newRow("previous") << "imgIndietro"
                              << "3"
                              << "3";
    QTest::newRow("previous on a new card") << "imgIndietro"
                                            << ""
                                            << "";
    QTest::newRow("next empties the number") << "imgAvanti"
                                             << "3"
                                             << "";
    QTest::newRow("last") << "imgUltimo"
                          << ""
                          << "";
}

void TfrmDestinatariTest::emptyArchiveIsReported()
{
    QFETCH(QString, icon);
    QFETCH(QString, before);
    QFETCH(QString, after);
    label("lblPosizione")->setText(before);
    QVERIFY(!m_t->exists(kClientArchive));
    click(qPrintable(icon));
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Information);
    QCOMPARE(m_t->messages.lastTitle(), kEmptyTitle);
    QCOMPARE(m_t->messages.lastText(), kEmpty);
    QCOMPARE(position(), after);
    QVERIFY(m_t->exists(kClientArchive));
    QCOMPARE(m_t->bytes(kClientArchive).size(), 0);
}

// An archive another user keeps to himself shows no card, through the arrows or the search,
// and says why.
void TfrmDestinatariTest::anArchiveThatCannotBeReadIsReported()
{
    writeClients(*m_t, {clientCard("Uno"), clientCard("Due")});
    SecondUser other(m_t->file(kClientArchive).parent_path(), m_t->file(kClientArchive));
    QVERIFY(other.active());
    for (const char *arrow : {"imgPrimo", "imgUltimo", "imgAvanti"}) {
        m_t->messages.clear();
        click(arrow);
        QCOMPARE(m_t->messages.shown.size(), 1u);
        QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(m_t->messages.lastText(), fileErrorMessage());
        QVERIFY(position().isEmpty());
        QVERIFY(box("txtCliente")->text().isEmpty());
    }
    m_t->messages.clear();
    int listed = -1;
    whenModal([&listed](QDialog *d) {
        QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txtCliente")), QStringLiteral("U"));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdTrova")), Qt::LeftButton);
        listed = d->findChild<QListWidget *>(QStringLiteral("lstRecords"))->count();
    });
    click("cmdRicerca");
    QCOMPARE(listed, 0);
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.lastText(), fileErrorMessage());
    QVERIFY(position().isEmpty());
}

void TfrmDestinatariTest::arrowsWalkTheArchive()
{
    writeClients(*m_t, {clientCard("Uno"), clientCard("Due"), clientCard("Tre")});
    const auto shows = [this](const char *name, const char *number) {
        return box("txtCliente")->text() == QLatin1String(name) && position() == QLatin1String(number);
    };
    click("imgAvanti");
    QVERIFY(shows("Uno", "1")); // a new card counts as position 0
    click("imgAvanti");
    QVERIFY(shows("Due", "2"));
    click("imgAvanti");
    click("imgAvanti"); // past the last: nothing happens
    QVERIFY(shows("Tre", "3"));
    click("imgIndietro");
    QVERIFY(shows("Due", "2"));
    click("imgIndietro");
    QVERIFY(shows("Uno", "1"));
    type("txtCliente", QStringLiteral("modificato"));
    click("imgIndietro"); // on the first record: nothing happens, the typing stays
    QVERIFY(shows("modificato", "1"));
    click("imgUltimo");
    QVERIFY(shows("Tre", "3"));
    click("imgPrimo");
    QVERIFY(shows("Uno", "1"));
    click("cmdNuovo");
    click("imgIndietro"); // a new card goes to the first record
    QVERIFY(shows("Uno", "1"));
    QVERIFY(m_t->messages.shown.empty());
}

void TfrmDestinatariTest::loadingFillsEveryBoxAndLabel()
{
    auto full = fullClientCard("Rossi Mario");
    full[client::Citta] = "Forl\xEC";
    writeClients(*m_t, {clientCard("Altro"), full});
    click("imgUltimo");
    for (std::size_t f = 0; f < client::FieldCount; ++f) {
        const QString name = (f < client::kVisibleFields ? QStringLiteral("txt") : QStringLiteral("lbl")) +
                             QLatin1String(client::fieldName(f));
        const QWidget *control = m_card->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QString text;
        if (auto *line = qobject_cast<const QLineEdit *>(control))
            text = line->text();
        else if (auto *memo = qobject_cast<const MemoBox *>(control))
            text = memo->text();
        else
            text = qobject_cast<const QLabel *>(control)->text();
        QCOMPARE(text, fromAnsi(full[f]));
    }
    QCOMPARE(box("txtCitta")->text(), QStringLiteral("Forlì"));
    QCOMPARE(position(), QStringLiteral("2"));
}

void TfrmDestinatariTest::deleteNeedsAStoredCard()
{
    writeClients(*m_t, {clientCard("Uno")});
    type("txtCliente", QStringLiteral("Uno"));
    click("cmdElimina");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Warning);
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Attenzione: operazione non applicabile"));
    QCOMPARE(
        m_t->messages.lastText(),
        QStringLiteral("La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio."));
    QCOMPARE(storedClientCount(*m_t), 1u);
}

void TfrmDestinatariTest::deleteAnsweredNoKeepsEverything()
{
    writeClients(*m_t, {clientCard("Uno"), clientCard("Due")});
    const QByteArray before = m_t->bytes(kClientArchive);
    click("imgUltimo");
    m_t->messages.answers.push_back(false);
    click("cmdElimina");
    QCOMPARE(m_t->messages.shown.back().kind, Message::Kind::Question);
    QCOMPARE(m_t->bytes(kClientArchive), before);
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Due"));
    QCOMPARE(position(), QStringLiteral("2"));
}

void TfrmDestinatariTest::deleteRemovesAndRenumbers()
{
    writeClients(*m_t, {fullClientCard("Uno"), fullClientCard("Due"), fullClientCard("Tre")});
    const QByteArray before = m_t->bytes(kClientArchive);
    click("imgPrimo");
    click("imgAvanti");
    QCOMPARE(position(), QStringLiteral("2"));
    click("cmdElimina");
    QCOMPARE(m_t->messages.shown.size(), 1u);
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Question);
    QCOMPARE(m_t->messages.questionIcons.back(), MessageService::Icon::Question);
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Conferma cancellazione scheda"));
    QCOMPARE(m_t->messages.lastText(),
             QStringLiteral("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non potranno "
                            "essere recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?"));
    const QByteArray after = m_t->bytes(kClientArchive);
    QCOMPARE(after.size(), 2 * 3992);
    QCOMPARE(after.left(3992), before.left(3992));
    QCOMPARE(after.mid(3992), before.mid(2 * 3992)); // the third record became the second
    QVERIFY(!m_t->exists(kClientTemp));
    QVERIFY(box("txtCliente")->text().isEmpty());
    QVERIFY(label("lblFile01")->text().isEmpty());
    QVERIFY(position().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), box("txtCliente"));
    click("imgUltimo");
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Tre"));
    QCOMPARE(position(), QStringLiteral("2"));
}

void TfrmDestinatariTest::deletingTheOnlyCardLeavesAnEmptyArchive()
{
    writeClients(*m_t, {clientCard("Solo")});
    click("imgPrimo");
    click("cmdElimina");
    QVERIFY(m_t->exists(kClientArchive));
    QCOMPARE(m_t->bytes(kClientArchive).size(), 0);
    QVERIFY(position().isEmpty());
    QVERIFY(box("txtCliente")->text().isEmpty());
}

void TfrmDestinatariTest::deleteWithoutArchiveReportsIt()
{
    writeClients(*m_t, {clientCard("Uno")});
    click("imgPrimo");
    std::filesystem::remove(m_t->file(kClientArchive));
    click("cmdElimina");
    QCOMPARE(m_t->messages.shown.back().kind, Message::Kind::Plain);
    QCOMPARE(m_t->messages.lastText(), fileErrorMessage());
    QVERIFY(!m_t->exists(kClientArchive)); // never created by a delete
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Uno"));
    QCOMPARE(position(), QStringLiteral("1"));
}

void TfrmDestinatariTest::digitsOnlyBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("VAT number") << "txtIva"
                                << "Attenzione: carattere non valido. Indicare il numero di partita IVA digitando solo "
                                   "valori numerici.";
    QTest::newRow("card number")
        << "txtCarta"
        << "Attenzione: carattere non valido. Indicare il numero di carta di credito digitando "
           "solo valori numerici senza trattini o spazi.";
}

void TfrmDestinatariTest::digitsOnlyBoxes()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    TextBox *b = box(qPrintable(name));
    b->setFocus();
    QTest::keyClicks(b, QStringLiteral("12 3a-4"));
    QCOMPARE(b->text(), QStringLiteral("1234"));
    QCOMPARE(m_t->messages.shown.size(), 3u);
    for (const Message &m : m_t->messages.shown) {
        QCOMPARE(m.kind, Message::Kind::Plain);
        QCOMPARE(m.text, message);
    }
    QTest::keyClick(b, Qt::Key_Backspace);
    QCOMPARE(b->text(), QStringLiteral("123"));
    QCOMPARE(m_t->messages.shown.size(), 3u);
    // Ctrl+V obeys the filter as typing does: a non-digit drops the whole paste, with one message.
    QGuiApplication::clipboard()->setText(QStringLiteral("45 6"));
    QTest::keySequence(b, QKeySequence::Paste);
    QCOMPARE(b->text(), QStringLiteral("123"));
    QCOMPARE(m_t->messages.shown.size(), 4u);
    QCOMPARE(m_t->messages.lastText(), message);
    QGuiApplication::clipboard()->setText(QStringLiteral("456"));
    QTest::keySequence(b, QKeySequence::Paste);
    QCOMPARE(b->text(), QStringLiteral("123456"));
    QCOMPARE(m_t->messages.shown.size(), 4u);
    QTest::keyClick(b, Qt::Key_Backspace);
    QTest::keyClick(b, Qt::Key_Backspace);
    QTest::keyClick(b, Qt::Key_Backspace);
    // Only typed keys are filtered: text arriving otherwise (the context menu's paste) passes.
    QGuiApplication::clipboard()->setText(QStringLiteral("A B"));
    b->paste();
    QCOMPARE(b->text(), QStringLiteral("123A B"));
    QCOMPARE(m_t->messages.shown.size(), 4u);
    QTest::keyClick(b, Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != b);
    QCOMPARE(m_t->messages.shown.size(), 4u);
}

void TfrmDestinatariTest::upperCaseBoxesKeepTheCaret_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("fiscal code") << "txtCodFisc";
    QTest::newRow("IBAN") << "txtIban";
}

void TfrmDestinatariTest::upperCaseBoxesKeepTheCaret()
{
    QFETCH(QString, name);
    TextBox *b = box(qPrintable(name));
    QTest::keyClicks(b, QStringLiteral("rss"));
    QCOMPARE(b->text(), QStringLiteral("RSS"));
    QCOMPARE(b->cursorPosition(), 3);
    b->setCursorPosition(1);
    QTest::keyClicks(b, QStringLiteral("x"));
    QCOMPARE(b->text(), QStringLiteral("RXSS"));
    QCOMPARE(b->cursorPosition(), 2);
    typeText(b, QStringLiteral("è"));
    QCOMPARE(b->text(), QStringLiteral("RXèSS")); // only a to z are raised
}

void TfrmDestinatariTest::notesStopAtTheirCapacity()
{
    auto *note = find<MemoBox>("txtNote");
    note->setFocus();
    QTest::keyClicks(note, QString(248, QLatin1Char('n')));
    QTest::keyClicks(note, QStringLiteral("abcd"));
    QCOMPARE(note->text().size(), 250);
    QVERIFY(note->text().endsWith(QStringLiteral("nab")));
    note->setPlainText(QString(300, QLatin1Char('p')));
    QCOMPARE(note->text().size(), 250);
}

void TfrmDestinatariTest::mailIconOpensAMailLink()
{
    type("txtEmail", QStringLiteral("  mario@rossi.it "));
    click("imgEmail");
    type("txtEmail", QString());
    click("imgEmail");
    QCOMPARE(m_t->shell.opened, QStringList({QStringLiteral("mailto:mario@rossi.it"), QStringLiteral("mailto:")}));
    QVERIFY(m_t->messages.shown.empty());

    // No mail program answers the link: the user is told, as on the information screen.
    m_t->shell.result = false;
    click("imgEmail");
    QCOMPARE(m_t->messages.shown.size(), std::size_t(1));
    QCOMPARE(m_t->messages.shown[0].kind, Message::Kind::Plain);
    QCOMPARE(m_t->messages.lastText(), QStringLiteral("Invio e-mail non riuscito."));
}

void TfrmDestinatariTest::helpShowsTheCardTopic()
{
    click("cmdGuida");
    QCOMPARE(m_t->navigator.helpTopics, QStringList(QStringLiteral("Gestione anagrafica clienti")));
}

void TfrmDestinatariTest::hoverDescribesEveryIcon_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("text");
    const struct
    {
        const char *icon, *text;
    } rows[] = {
        {"cmdNuovo", " Prepara la schermata ad accogliere una nuova scheda."},
        {"cmdSalva", " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente."},
        {"cmdRicerca", " Trova una scheda in archivio."},
        {"cmdWord", " Esporta la scheda corrente in un file di Microsoft Word."},
        {"cmdExcel", " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
        {"imgPrimo", " Visualizza la prima scheda in archivio."},
        {"imgIndietro", " Visualizza la scheda precedente in archivio."},
        {"imgAvanti", " Visualizza la scheda successiva in archivio."},
        {"imgUltimo", " Visualizza l'ultima scheda in archivio"},
        {"cmdElimina", " Elimina la scheda corrente dall'archivio."},
        {"cmdAllega", " Allega file alla scheda corrente."},
        {"cmdAssocia", " Associa una cartella alla scheda corrente."},
        {"imgEmail", " Invia un messaggio e-mail all'indirizzo indicato."},
        {"chkCodFisc", " Controlla il codice fiscale."},
        {"chkIva", " Controlla il numero di partita IVA."},
        {"chkNumCarta", " Controlla il numero di carta di credito."},
        {"chkIban", " Controlla le coordinate bancarie IBAN."},
        {"cmdGuida", " Visualizza una pagina della guida in linea sensibile al contesto."},
        {"cmdEsci", " Esce dalla schermata di lavoro corrente."},
    };
    for (const auto &r : rows)
        QTest::newRow(r.icon) << QString::fromUtf8(r.icon) << QString::fromUtf8(r.text);
}

void TfrmDestinatariTest::hoverDescribesEveryIcon()
{
    QFETCH(QString, icon);
    QFETCH(QString, text);
    auto *button = find<IconButton>(qPrintable(icon));
    QVERIFY(button->isVisible());
    QVERIFY(!button->pixmap().isNull());
    QMouseEvent over(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(button, &over);
    QCOMPARE(label("panInfo")->text(), text);
    QMouseEvent away(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(find<QFrame>("panRiquadro04"), &away);
    QCOMPARE(label("panInfo")->text(), QString());
}

void TfrmDestinatariTest::checksOpenTheirDialog_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("fiscal code") << "chkCodFisc"
                                 << "txtCodFisc"
                                 << "RSSMRA80A01H501U"
                                 << "TfrmCodFisc"
                                 << "txtCodice"
                                 << "RSSMRA80A01H501U";
    QTest::newRow("empty fiscal code") << "chkCodFisc"
                                       << "txtCodFisc"
                                       << ""
                                       << "TfrmCodFisc"
                                       << "txtCodice"
                                       << "";
    QTest::newRow("fiscal code with a letter") << "chkCodFisc"
                                               << "txtCodFisc"
                                               << "0123456789A"
                                               << "TfrmCodFisc"
                                               << "txtCodice"
                                               << "0123456789A";
    QTest::newRow("numeric fiscal code") << "chkCodFisc"
                                         << "txtCodFisc"
                                         << "01234567890 "
                                         << "TfrmIva"
                                         << "txtCodice"
                                         << "01234567890";
    QTest::newRow("VAT number") << "chkIva"
                                << "txtIva"
                                << "01234567890"
                                << "TfrmIva"
                                << "txtCodice"
                                << "01234567890";
    QTest::newRow("card number") << "chkNumCarta"
                                 << "txtCarta"
                                 << "4111111111111111"
                                 << "TfrmCarta"
                                 << "txtNumero"
                                 << "4111111111111111";
    QTest::newRow("IBAN") << "chkIban"
                          << "txtIban"
                          << "IT60X0542811101000000123456 "
                          << "TfrmIban"
                          << "txtCodice"
                          << "IT60X0542811101000000123456";
}

void TfrmDestinatariTest::checksOpenTheirDialog()
{
    QFETCH(QString, icon);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, value);
    this->box(qPrintable(box))->setText(typed);
    const bool numericCode = icon == QLatin1String("chkCodFisc") && dialog == QLatin1String("TfrmIva");
    bool opened = false;
    whenModal([&](QDialog *d) {
        opened = true;
        QCOMPARE(QString::fromUtf8(d->metaObject()->className()), dialog);
        QCOMPARE(d->parentWidget(), m_card.get());
        if (numericCode)
            QCOMPARE(d->windowTitle(), QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
        else
            QVERIFY(!d->windowTitle().contains(QStringLiteral("numerico")));
        // The entry field receives the trimmed value once the check dialog provides one.
        if (auto *entry = d->findChild<QLineEdit *>(field))
            QCOMPARE(entry->text(), value);
        if (auto *info = d->findChild<QLabel *>(QStringLiteral("lblInfo")); info && numericCode)
            QCOMPARE(info->text(),
                     QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
        if (auto *info = d->findChild<QLabel *>(QStringLiteral("lblInfo02")); info && numericCode)
            QCOMPARE(info->text(), QStringLiteral("sottostante e premere il pulsante di controllo."));
    });
    click(qPrintable(icon));
    QVERIFY(opened);
    QVERIFY(m_card->findChildren<QDialog *>().isEmpty()); // destroyed after use
}

void TfrmDestinatariTest::attachmentsReachTheArchiveOnlyOnSave()
{
    type("txtCliente", QStringLiteral("Rossi"));
    label("lblFile02")->setText(QStringLiteral("  /doc/contratto.pdf "));
    label("lblDesc02")->setText(QStringLiteral("Contratto"));
    m_t->dialogs.files.push_back(QStringLiteral("/doc/documento.pdf"));
    whenModal([&](QDialog *d) {
        QCOMPARE(QString::fromUtf8(d->metaObject()->className()), QStringLiteral("TfrmAllegatiDes"));
        QCOMPARE(d->findChild<QLineEdit *>(QStringLiteral("txtFile02"))->text(), QStringLiteral("/doc/contratto.pdf"));
        QVERIFY(d->findChild<QPushButton *>(QStringLiteral("cmdApri02"))->isEnabled());
        QVERIFY(!d->findChild<QPushButton *>(QStringLiteral("cmdApri01"))->isEnabled());
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdSfoglia01")), Qt::LeftButton);
        d->findChild<QLineEdit *>(QStringLiteral("txtDesc01"))->setText(QString(260, QLatin1Char('d')));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdApplica")), Qt::LeftButton);
    });
    click("cmdAllega");
    QCOMPARE(label("lblFile01")->text(), QStringLiteral("/doc/documento.pdf"));
    QCOMPARE(label("lblFile02")->text(), QStringLiteral("/doc/contratto.pdf"));
    QCOMPARE(label("lblDesc02")->text(), QStringLiteral("Contratto"));
    QVERIFY(!m_t->exists(kClientArchive));

    click("cmdSalva");
    const auto stored = storedClient(*m_t, 1);
    QCOMPARE(stored[client::File01], std::string("/doc/documento.pdf"));
    QCOMPARE(stored[client::Desc01], std::string(250, 'd'));
    QCOMPARE(stored[client::File02], std::string("/doc/contratto.pdf"));

    // Applied but never saved: New loses the references.
    m_t->dialogs.files.push_back(QStringLiteral("/doc/altro.pdf"));
    whenModal([](QDialog *d) {
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdSfoglia03")), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdApplica")), Qt::LeftButton);
    });
    click("cmdAllega");
    QCOMPARE(label("lblFile03")->text(), QStringLiteral("/doc/altro.pdf"));
    click("cmdNuovo");
    QVERIFY(label("lblFile03")->text().isEmpty());
    QCOMPARE(storedClient(*m_t, 1)[client::File03], std::string());
}

void TfrmDestinatariTest::attachmentsClosedWithoutApplyChangeNothing()
{
    label("lblFile01")->setText(QStringLiteral("/doc/a.pdf"));
    m_t->dialogs.files.push_back(QStringLiteral("/doc/b.pdf"));
    whenModal([](QDialog *d) {
        auto *path = d->findChild<QLineEdit *>(QStringLiteral("txtFile01"));
        QTest::keyClick(path, Qt::Key_Backspace);
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdSfoglia02")), Qt::LeftButton);
        d->close();
    });
    click("cmdAllega");
    QCOMPARE(label("lblFile01")->text(), QStringLiteral("/doc/a.pdf"));
    QVERIFY(label("lblFile02")->text().isEmpty());
}

void TfrmDestinatariTest::folderIsStoredWithTheCard()
{
    type("txtCliente", QStringLiteral("Verdi"));
    m_t->dialogs.folders.push_back(QStringLiteral("/home/clienti/verdi"));
    whenModal([](QDialog *d) {
        QCOMPARE(QString::fromUtf8(d->metaObject()->className()), QStringLiteral("TfrmCartellaDes"));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdSfoglia01")), Qt::LeftButton);
        d->findChild<QLineEdit *>(QStringLiteral("txtDesc01"))->setText(QStringLiteral(" Documenti "));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdApplica")), Qt::LeftButton);
    });
    click("cmdAssocia");
    QCOMPARE(m_t->dialogs.captions, QStringList(QStringLiteral("Selezionare una cartella:")));
    QCOMPARE(label("lblCartella")->text(), QStringLiteral("/home/clienti/verdi"));
    QCOMPARE(label("lblCartellaDesc")->text(), QStringLiteral("Documenti"));
    click("cmdSalva");
    const auto stored = storedClient(*m_t, 1);
    QCOMPARE(stored[client::Cartella], std::string("/home/clienti/verdi"));
    QCOMPARE(stored[client::CartellaDesc], std::string("Documenti"));
}

void TfrmDestinatariTest::searchLoadsTheChosenCard()
{
    writeClients(*m_t, {fullClientCard("Bianchi Anna"), fullClientCard("Rossi Mario"), fullClientCard("Verdi Luca")});
    whenModal([](QDialog *d) {
        QCOMPARE(QString::fromUtf8(d->metaObject()->className()), QStringLiteral("TfrmCercaDestinatari"));
        QCOMPARE(d->findChild<QLabel *>(QStringLiteral("lblMemory"))->text(), QStringLiteral("anagrafica"));
        QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txtCliente")), QStringLiteral("ROSSI"));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdTrova")), Qt::LeftButton);
        auto *list = d->findChild<QListWidget *>(QStringLiteral("lstRecords"));
        QCOMPARE(list->count(), 1);
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!d->isVisible());
    });
    click("cmdRicerca");
    QCOMPARE(box("txtCliente")->text(), QStringLiteral("Rossi Mario"));
    QCOMPARE(box("txtIva")->text(), QStringLiteral("01234567890"));
    QCOMPARE(find<MemoBox>("txtNote")->text(), QStringLiteral("Note Rossi Mario"));
    QCOMPARE(label("lblCartellaDesc")->text(), QStringLiteral("CartellaDesc Rossi Mario"));
    QCOMPARE(position(), QStringLiteral("2"));
    click("cmdSalva");
    QCOMPARE(m_t->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
    QCOMPARE(storedClientCount(*m_t), 3u);

    // A card found by the search is guarded like one reached with the arrows.
    writeClients(*m_t, {fullClientCard("Bianchi Anna"), fullClientCard("Verdi Luca")});
    const QByteArray left = m_t->bytes(kClientArchive);
    click("cmdElimina");
    QCOMPARE(m_t->messages.lastText(), kChanged);
    QCOMPARE(m_t->bytes(kClientArchive), left);
}

void TfrmDestinatariTest::closingReturnsToTheStartScreen()
{
    click("cmdEsci");
    QVERIFY(!m_card->isVisible());
    QCOMPARE(m_t->navigator.startShown, 1);
}

QTEST_MAIN(TfrmDestinatariTest)
#include "test_tfrmdestinatari.moc"
