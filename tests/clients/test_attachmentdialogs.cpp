#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "clients/tfrmallegatides.h"
#include "clients/tfrmcartellades.h"
#include "clients/tfrmdestinatari.h"
#include "common/widgets.h"
#include "products/tfrmallegatimat.h"
#include "products/tfrmcartellamat.h"
#include "products/tfrmmateriali.h"
#include "support/fakes.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

namespace {

enum class Kind { ClientFiles, ClientFolder, ProductFiles, ProductFolder };

// The hidden reference labels of a card screen, by name.
template <class Card> QLabel *referenceLabel(const Card &card, const QString &name)
{
    const std::pair<const char *, QLabel *> labels[] = {
        {"lblFile01", card.lblFile01},     {"lblFile02", card.lblFile02},
        {"lblFile03", card.lblFile03},     {"lblDesc01", card.lblDesc01},
        {"lblDesc02", card.lblDesc02},     {"lblDesc03", card.lblDesc03},
        {"lblCartella", card.lblCartella}, {"lblCartellaDesc", card.lblCartellaDesc}};
    for (const auto &[n, label] : labels)
        if (name == QLatin1String(n))
            return label;
    qFatal("no card label %s", qPrintable(name));
    return nullptr;
}

bool isFolder(Kind kind)
{
    return kind == Kind::ClientFolder || kind == Kind::ProductFolder;
}

// The card's labels behind slot n (0-based) of a dialog.
QString cardPath(Kind kind, int n)
{
    return isFolder(kind) ? QStringLiteral("lblCartella") : QStringLiteral("lblFile0%1").arg(n + 1);
}

QString cardDescription(Kind kind, int n)
{
    return isFolder(kind) ? QStringLiteral("lblCartellaDesc") : QStringLiteral("lblDesc0%1").arg(n + 1);
}

QString slotName(const char *stem, int n)
{
    return QLatin1String(stem) + QStringLiteral("0%1").arg(n + 1);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class AttachmentDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void textsOfEachDialog_data();
    void textsOfEachDialog();
    void emptyCardGivesEmptySlots_data() { kinds(); }
    void emptyCardGivesEmptySlots();
    void cardValuesArriveTrimmed_data() { kinds(); }
    void cardValuesArriveTrimmed();
    void browsingFillsThePath_data() { kinds(); }
    void browsingFillsThePath();
    void backspaceIsTheOnlyWayToClearAPath_data() { kinds(); }
    void backspaceIsTheOnlyWayToClearAPath();
    void openingGoesThroughTheShell_data() { kinds(); }
    void openingGoesThroughTheShell();
    void applyWritesEveryBoxBackTrimmed_data() { kinds(); }
    void applyWritesEveryBoxBackTrimmed();
    void closeBoxChangesNothing_data() { kinds(); }
    void closeBoxChangesNothing();

private:
    void kinds();
    // Shows the card screen whose dialog the test is about: the client card or the product card.
    void useCard(Kind kind);
    // A hidden reference label of that card.
    QLabel *cardLabel(const QString &name) const;
    // Opens the dialog from the card's icon and runs act while it is up; it is gone afterwards.
    void withDialog(const std::function<void()> &act);
    int slotCount() const { return isFolder(m_kind) ? 1 : 3; }
    QLineEdit *box(const char *stem, int n) const { return m_dialog->findChild<QLineEdit *>(slotName(stem, n)); }
    QPushButton *button(const char *stem, int n) const { return m_dialog->findChild<QPushButton *>(slotName(stem, n)); }

    std::unique_ptr<TestServices> m_t;
    std::unique_ptr<TfrmDestinatari> m_clientCard;
    std::unique_ptr<TfrmMateriali> m_productCard;
    QDialog *m_dialog = nullptr;
    Kind m_kind = Kind::ClientFiles;
};

void AttachmentDialogsTest::init()
{
    m_t = std::make_unique<TestServices>();
}

void AttachmentDialogsTest::cleanup()
{
    m_clientCard.reset();
    m_productCard.reset();
    m_dialog = nullptr;
    m_t.reset();
}

void AttachmentDialogsTest::useCard(Kind kind)
{
    m_kind = kind;
    if (kind == Kind::ClientFiles || kind == Kind::ClientFolder) {
        m_clientCard = std::make_unique<TfrmDestinatari>(m_t->services);
        m_clientCard->showWorking();
        QVERIFY(QTest::qWaitForWindowExposed(m_clientCard.get()));
    } else {
        m_productCard = std::make_unique<TfrmMateriali>(m_t->services);
        m_productCard->showWorking();
        QVERIFY(QTest::qWaitForWindowExposed(m_productCard.get()));
    }
}

QLabel *AttachmentDialogsTest::cardLabel(const QString &name) const
{
    return m_clientCard ? referenceLabel(*m_clientCard, name) : referenceLabel(*m_productCard, name);
}

void AttachmentDialogsTest::withDialog(const std::function<void()> &act)
{
    IconButton *icon = nullptr;
    switch (m_kind) {
    case Kind::ClientFiles:
        icon = m_clientCard->cmdAllega;
        break;
    case Kind::ClientFolder:
        icon = m_clientCard->cmdAssocia;
        break;
    case Kind::ProductFiles:
        icon = m_productCard->imgFile;
        break;
    case Kind::ProductFolder:
        icon = m_productCard->imgCartella;
        break;
    }
    bool opened = false;
    whenModal([&](QDialog *d) {
        m_dialog = d;
        opened = true;
        act();
    });
    QTest::mouseClick(icon, Qt::LeftButton);
    QVERIFY(opened);
    m_dialog = nullptr;
}

void AttachmentDialogsTest::kinds()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("client files") << Kind::ClientFiles;
    QTest::newRow("client folder") << Kind::ClientFolder;
    QTest::newRow("product files") << Kind::ProductFiles;
    QTest::newRow("product folder") << Kind::ProductFolder;
}

void AttachmentDialogsTest::textsOfEachDialog_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("instructions");
    QTest::addColumn<QStringList>("pathLabels");
    QTest::addColumn<QString>("descriptionLabel");
    const QString filesFirst =
        QStringLiteral("Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia.");
    const QString filesLast = QStringLiteral("Per visualizzare un file è sufficiente premere il pulsante Apri.");
    const QString folderFirst =
        QStringLiteral("Selezionare la cartella da associare alla scheda corrente servendosi del pulsante Sfoglia.");
    const QString folderLast = QStringLiteral("Per aprire la cartella è sufficiente premere il pulsante Apri.");
    const QString saveButton =
        QStringLiteral("Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche.");
    QTest::newRow("client files")
        << Kind::ClientFiles << QStringLiteral(" File allegati")
        << QStringList{filesFirst,
                       QStringLiteral("Quindi fare clic su Applica e chiudi e poi sull'icona del floppy per salvare la "
                                      "scheda."),
                       filesLast}
        << QStringList{QStringLiteral("File allegato 1"), QStringLiteral("File allegato 2"),
                       QStringLiteral("File allegato 3")}
        << QStringLiteral("Descrizione");
    QTest::newRow("client folder") << Kind::ClientFolder << QStringLiteral(" Associa cartella")
                                   << QStringList{folderFirst, saveButton, folderLast}
                                   << QStringList{QStringLiteral("Cartella associata")}
                                   << QStringLiteral("Descrizione");
    QTest::newRow("product files") << Kind::ProductFiles << QStringLiteral(" Allega file")
                                   << QStringList{filesFirst, saveButton, filesLast}
                                   << QStringList{QStringLiteral("File allegato 1:"),
                                                  QStringLiteral("File allegato 2:"),
                                                  QStringLiteral("File allegato 3:")}
                                   << QStringLiteral("Descrizione:");
    QTest::newRow("product folder") << Kind::ProductFolder << QStringLiteral(" Associa cartella")
                                    << QStringList{folderFirst, saveButton, folderLast}
                                    << QStringList{QStringLiteral("Cartella associata:")}
                                    << QStringLiteral("Descrizione:");
}

void AttachmentDialogsTest::textsOfEachDialog()
{
    QFETCH(Kind, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, instructions);
    QFETCH(QStringList, pathLabels);
    QFETCH(QString, descriptionLabel);
    useCard(kind);
    withDialog([&] {
        QCOMPARE(m_dialog->windowTitle(), caption);
        QStringList shown;
        for (const QLabel *l : m_dialog->findChildren<QLabel *>())
            if (l->isVisible())
                shown << l->text();
        for (const QString &line : instructions)
            QVERIFY2(shown.contains(line), qPrintable(line));
        QCOMPARE(pathLabels.size(), slotCount());
        for (int n = 0; n < slotCount(); ++n) {
            QVERIFY(m_dialog->findChild<QWidget *>(slotName("grpAllegato", n)));
            QCOMPARE(m_dialog->findChild<QLabel *>(slotName("lblFile", n))->text(), pathLabels[n]);
            QCOMPARE(m_dialog->findChild<QLabel *>(slotName("lblDesc", n))->text(), descriptionLabel);
            QCOMPARE(button("cmdSfoglia", n)->text(), QStringLiteral("Sfoglia..."));
            QCOMPARE(button("cmdApri", n)->text(), QStringLiteral("Apri"));
        }
        QVERIFY(!m_dialog->findChild<QWidget *>(slotName("grpAllegato", slotCount())));
        QCOMPARE(m_dialog->findChild<QPushButton *>(QStringLiteral("cmdApplica"))->text(),
                 QStringLiteral("Applica e chiudi"));
        QVERIFY(m_dialog->findChild<QLabel *>(QStringLiteral("imgGuida"))->isVisible());
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(!(m_dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
    });
}

void AttachmentDialogsTest::emptyCardGivesEmptySlots()
{
    QFETCH(Kind, kind);
    useCard(kind);
    withDialog([&] {
        for (int n = 0; n < slotCount(); ++n) {
            QVERIFY(box("txtFile", n)->text().isEmpty());
            QVERIFY(box("txtFile", n)->isReadOnly());
            QVERIFY(box("txtDesc", n)->text().isEmpty());
            QVERIFY(!box("txtDesc", n)->isReadOnly());
            QVERIFY(!button("cmdApri", n)->isEnabled());
            QVERIFY(button("cmdSfoglia", n)->isEnabled());
        }
    });
}

void AttachmentDialogsTest::cardValuesArriveTrimmed()
{
    QFETCH(Kind, kind);
    useCard(kind);
    cardLabel(cardPath(kind, 0))->setText(QStringLiteral("  /dati/primo.pdf "));
    cardLabel(cardDescription(kind, 0))->setText(QStringLiteral(" Primo "));
    if (!isFolder(kind))
        cardLabel(cardPath(kind, 2))->setText(QStringLiteral("   "));
    withDialog([&] {
        QCOMPARE(box("txtFile", 0)->text(), QStringLiteral("/dati/primo.pdf"));
        QCOMPARE(box("txtDesc", 0)->text(), QStringLiteral("Primo"));
        QVERIFY(button("cmdApri", 0)->isEnabled());
        for (int n = 1; n < slotCount(); ++n) {
            QVERIFY(box("txtFile", n)->text().isEmpty());
            QVERIFY(!button("cmdApri", n)->isEnabled());
        }
    });
}

void AttachmentDialogsTest::browsingFillsThePath()
{
    QFETCH(Kind, kind);
    useCard(kind);
    withDialog([&] {
        const int last = slotCount() - 1;
        auto &queue = isFolder(kind) ? m_t->dialogs.folders : m_t->dialogs.files;
        queue.push_back(QStringLiteral("/dati/scelto"));
        QTest::mouseClick(button("cmdSfoglia", last), Qt::LeftButton);
        QCOMPARE(box("txtFile", last)->text(), QStringLiteral("/dati/scelto"));
        QVERIFY(button("cmdApri", last)->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // Cancelling the dialog keeps what the slot held.
        QTest::mouseClick(button("cmdSfoglia", last), Qt::LeftButton);
        QCOMPARE(box("txtFile", last)->text(), QStringLiteral("/dati/scelto"));
    });
    if (isFolder(kind)) {
        QCOMPARE(m_t->dialogs.captions, QStringList(2, QStringLiteral("Selezionare una cartella:")));
        QVERIFY(m_t->dialogs.titles.isEmpty());
    } else {
        QCOMPARE(m_t->dialogs.titles, QStringList(2, QStringLiteral("Selezionare un file e premere Apri:")));
        QCOMPARE(m_t->dialogs.filters, QStringList(2, QStringLiteral("Tutti i file (*.*)")));
        QVERIFY(m_t->dialogs.captions.isEmpty());
    }
}

void AttachmentDialogsTest::backspaceIsTheOnlyWayToClearAPath()
{
    QFETCH(Kind, kind);
    useCard(kind);
    cardLabel(cardPath(kind, 0))->setText(QStringLiteral("/dati/a.pdf"));
    withDialog([&] {
        QLineEdit *path = box("txtFile", 0);
        QTest::keyClicks(path, QStringLiteral("xyz"));
        QTest::keyClick(path, Qt::Key_Delete);
        QCOMPARE(path->text(), QStringLiteral("/dati/a.pdf"));
        QTest::keyClick(path, Qt::Key_Backspace);
        QVERIFY(path->text().isEmpty());
        QVERIFY(!button("cmdApri", 0)->isEnabled());
    });
}

void AttachmentDialogsTest::openingGoesThroughTheShell()
{
    QFETCH(Kind, kind);
    useCard(kind);
    cardLabel(cardPath(kind, 0))->setText(QStringLiteral("/dati/sparito.pdf"));
    withDialog([&] {
        QTest::mouseClick(button("cmdApri", 0), Qt::LeftButton);
        QCOMPARE(m_t->shell.opened, QStringList(QStringLiteral("/dati/sparito.pdf")));
        QVERIFY(m_t->messages.shown.empty());

        // The file or folder is gone: the opener's failure is told, naming what could not be opened.
        m_t->shell.result = false;
        QTest::mouseClick(button("cmdApri", 0), Qt::LeftButton);
        QCOMPARE(m_t->messages.shown.size(), std::size_t(1));
        const bool folder = kind == Kind::ClientFolder || kind == Kind::ProductFolder;
        QCOMPARE(m_t->messages.lastText(), folder ? velmora::folderNotOpenedMessage(QStringLiteral("/dati/sparito.pdf"))
                                                  : velmora::fileNotOpenedMessage(QStringLiteral("/dati/sparito.pdf")));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(m_dialog->isVisible());
    });
}

void AttachmentDialogsTest::applyWritesEveryBoxBackTrimmed()
{
    QFETCH(Kind, kind);
    useCard(kind);
    cardLabel(cardPath(kind, 0))->setText(QStringLiteral("/dati/vecchio.pdf"));
    cardLabel(cardDescription(kind, 0))->setText(QStringLiteral("Vecchio"));
    if (!isFolder(kind))
        cardLabel(cardDescription(kind, 1))->setText(QStringLiteral("Resta"));
    withDialog([&] {
        QTest::keyClick(box("txtFile", 0), Qt::Key_Backspace); // drops the reference
        box("txtDesc", 0)->setText(QStringLiteral("  Nuova descrizione  "));
        if (!isFolder(kind)) {
            m_t->dialogs.files.push_back(QStringLiteral("/dati/terzo.odt"));
            QTest::mouseClick(button("cmdSfoglia", 2), Qt::LeftButton);
        }
        QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("cmdApplica")), Qt::LeftButton);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        // The dialog's own captions share the card labels' names and stay as they were.
        QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("lblFile01"))->text().left(isFolder(kind) ? 18 : 13),
                 isFolder(kind) ? QStringLiteral("Cartella associata") : QStringLiteral("File allegato"));
    });
    QCOMPARE(cardLabel(cardPath(kind, 0))->text(), QString());
    QCOMPARE(cardLabel(cardDescription(kind, 0))->text(), QStringLiteral("Nuova descrizione"));
    if (!isFolder(kind)) {
        QCOMPARE(cardLabel(cardDescription(kind, 1))->text(), QStringLiteral("Resta"));
        QCOMPARE(cardLabel(cardPath(kind, 2))->text(), QStringLiteral("/dati/terzo.odt"));
        QVERIFY(cardLabel(QStringLiteral("lblCartella"))->text().isEmpty());
    } else {
        QVERIFY(cardLabel(QStringLiteral("lblFile01"))->text().isEmpty());
    }
}

void AttachmentDialogsTest::closeBoxChangesNothing()
{
    QFETCH(Kind, kind);
    useCard(kind);
    cardLabel(cardPath(kind, 0))->setText(QStringLiteral("/dati/tenuto.pdf"));
    withDialog([&] {
        (isFolder(kind) ? m_t->dialogs.folders : m_t->dialogs.files).push_back(QStringLiteral("/dati/altro"));
        QTest::mouseClick(button("cmdSfoglia", 0), Qt::LeftButton);
        box("txtDesc", 0)->setText(QStringLiteral("cambiata"));
        m_dialog->close();
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    });
    QCOMPARE(cardLabel(cardPath(kind, 0))->text(), QStringLiteral("/dati/tenuto.pdf"));
    QVERIFY(cardLabel(cardDescription(kind, 0))->text().isEmpty());
}

QTEST_MAIN(AttachmentDialogsTest)
#include "test_attachmentdialogs.moc"
