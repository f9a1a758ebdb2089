#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include "app/helptopics.h"
#include "app/tfrmhelpform.h"
#include "support/fakes.h"

using velmora::test::TestServices;

namespace {

// Delivers a mouse move without buttons to a widget, as the window system would.
void hover(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor linkColour(const TfrmHelpForm &form)
{
    return form.lblPDF->palette().color(QPalette::WindowText);
}

} // namespace

class HelpFormTest : public QObject
{
    Q_OBJECT
private slots:
    void topics_data();
    void topics();
    void everyTopicIsOneTitleAndItsParagraphs();
    void topicFillsTitleAndReadOnlyText();
    void secondTopicReplacesTheFirst();
    void longTopicScrollsAndStartsAtTheTop();
    void showTopicIsModalAndOkCloses();
    void pdfLinkOpensTheManual_data();
    void pdfLinkOpensTheManual();
    void pdfLinkHoverColours();
};

void HelpFormTest::topics_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");
    QTest::newRow("avvio") << QStringLiteral("Uno sguardo a Velmora") << 18;
    QTest::newRow("crea") << QStringLiteral("Creazione di un nuovo conto") << 6;
    QTest::newRow("accedi") << QStringLiteral("Accesso ad un conto esistente") << 11;
    QTest::newRow("forniture") << QStringLiteral("Gestione dei conti delle consumazioni") << 9;
    QTest::newRow("riepilogo") << QStringLiteral("Riepilogo delle consumazioni") << 6;
    QTest::newRow("destinatari") << QStringLiteral("Gestione anagrafica clienti") << 6;
    QTest::newRow("materiali") << QStringLiteral("Gestione dell'archivio dei prodotti e servizi") << 3;
    QTest::newRow("esportades") << QStringLiteral("Esportazione archivio anagrafico clienti in Microsoft Word ed Excel")
                                << 3;
    QTest::newRow("esportafor") << QStringLiteral("Esportazione conto consumazioni in Microsoft Word ed Excel") << 4;
    QTest::newRow("esportamat") << QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Word ed Excel")
                                << 3;
}

void HelpFormTest::topics()
{
    QFETCH(QString, title);
    QFETCH(int, paragraphs);
    const velmora::help::Topic *topic = velmora::help::findTopic(title);
    QVERIFY(topic);
    QCOMPARE(topic->paragraphs.size(), paragraphs);
    // Paragraphs are joined by one empty line and hold no line break of their own.
    const QString text = velmora::help::topicText(*topic);
    QCOMPARE(text.split(QStringLiteral("\r\n\r\n")), topic->paragraphs);
    for (const QString &p : topic->paragraphs) {
        QVERIFY2(!p.contains(QLatin1Char('\n')) && !p.contains(QLatin1Char('\r')), qPrintable(p));
        QVERIFY2(p == p.trimmed() && p.size() > 20, qPrintable(p));
        QVERIFY2(p.endsWith(QLatin1Char('.')), qPrintable(p));
    }
}

void HelpFormTest::everyTopicIsOneTitleAndItsParagraphs()
{
    QCOMPARE(velmora::help::topics().size(), std::size_t(10));
    QVERIFY(!velmora::help::findTopic(QStringLiteral("Titolo argomento guida")));
}

void HelpFormTest::topicFillsTitleAndReadOnlyText()
{
    TestServices t;
    TfrmHelpForm form(t.services);
    QCOMPARE(form.windowTitle(), QStringLiteral(" Guida in linea"));
    form.setTopic(QStringLiteral("Creazione di un nuovo conto"));
    QCOMPARE(form.panTitle->text(), QStringLiteral("Creazione di un nuovo conto"));
    const auto *topic = velmora::help::findTopic(QStringLiteral("Creazione di un nuovo conto"));
    QCOMPARE(form.memTopic->toPlainText(), topic->paragraphs.join(QStringLiteral("\n\n")));
    QVERIFY(form.memTopic->isReadOnly());
    QCOMPARE(form.memTopic->document()->blockCount(), 2 * 6 - 1);

    // Typing into the text changes nothing.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.memTopic->setFocus();
    QTest::keyClicks(form.memTopic, QStringLiteral("xyz"));
    QCOMPARE(form.memTopic->toPlainText(), topic->paragraphs.join(QStringLiteral("\n\n")));
}

void HelpFormTest::secondTopicReplacesTheFirst()
{
    TestServices t;
    TfrmHelpForm form(t.services);
    form.setTopic(QStringLiteral("Uno sguardo a Velmora"));
    form.setTopic(QStringLiteral("Esportazione conto consumazioni in Microsoft Word ed Excel"));
    QCOMPARE(form.panTitle->text(), QStringLiteral("Esportazione conto consumazioni in Microsoft Word ed Excel"));
    const QString text = form.memTopic->toPlainText();
    QCOMPARE(text.split(QStringLiteral("\n\n")).size(), 4);
    const auto *first = velmora::help::findTopic(QStringLiteral("Uno sguardo a Velmora"));
    for (const QString &p : first->paragraphs)
        QVERIFY(!text.contains(p));
}

void HelpFormTest::longTopicScrollsAndStartsAtTheTop()
{
    TestServices t;
    TfrmHelpForm form(t.services);
    form.setTopic(QStringLiteral("Uno sguardo a Velmora"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QScrollBar *bar = form.memTopic->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);
    bar->setValue(bar->maximum());
    form.memTopic->moveCursor(QTextCursor::End);

    form.setTopic(QStringLiteral("Gestione anagrafica clienti"));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(form.memTopic->textCursor().position(), 0);
    form.setTopic(QStringLiteral("Uno sguardo a Velmora"));
    QCOMPARE(bar->value(), 0);
}

void HelpFormTest::showTopicIsModalAndOkCloses()
{
    TestServices t;
    TfrmHelpForm form(t.services);
    bool wasModal = false;
    QString shownTitle;
    QTimer::singleShot(0, &form, [&] {
        wasModal = form.isVisible() && QApplication::activeModalWidget() == &form;
        shownTitle = form.panTitle->text();
        QTest::mouseClick(form.cmdOK, Qt::LeftButton);
    });
    form.showTopic(QStringLiteral("Gestione anagrafica clienti"));
    QVERIFY(wasModal);
    QCOMPARE(shownTitle, QStringLiteral("Gestione anagrafica clienti"));
    QVERIFY(!form.isVisible());
}

void HelpFormTest::pdfLinkOpensTheManual_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("shellResult");
    QTest::newRow("label left") << QStringLiteral("lblPDF") << Qt::LeftButton << true;
    QTest::newRow("icon right") << QStringLiteral("imgPDF") << Qt::RightButton << true;
    QTest::newRow("missing manual") << QStringLiteral("lblPDF") << Qt::LeftButton << false;
}

void HelpFormTest::pdfLinkOpensTheManual()
{
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, shellResult);
    TestServices t;
    t.shell.result = shellResult;
    TfrmHelpForm form(t.services);
    form.setTopic(QStringLiteral("Uno sguardo a Velmora"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *link = form.findChild<QWidget *>(control);
    QVERIFY(link);
    QTest::mouseRelease(link, button, {}, QPoint(4, 4));
    QCOMPARE(t.shell.openedFiles, std::vector<std::filesystem::path>{t.file("Guida.pdf")});
    QVERIFY(t.shell.opened.isEmpty());
    const QString manual = QString::fromStdString(t.file("Guida.pdf").string());
    if (shellResult) {
        QVERIFY(t.messages.shown.empty());
    } else {
        // No reader, or no manual: the program tells where the manual should be.
        QCOMPARE(t.messages.shown.size(), std::size_t(1));
        QCOMPARE(t.messages.lastText(), velmora::fileNotOpenedMessage(manual));
        QVERIFY(t.messages.lastText().contains(manual));
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(form.isVisible());
}

void HelpFormTest::pdfLinkHoverColours()
{
    TestServices t;
    TfrmHelpForm form(t.services);
    form.setTopic(QStringLiteral("Uno sguardo a Velmora"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(linkColour(form), QColor(Qt::white));
    hover(form.lblPDF);
    QCOMPARE(linkColour(form), QColor(Qt::red));
    hover(form.memTopic->viewport());
    QCOMPARE(linkColour(form), QColor(Qt::white));
    hover(form.imgPDF);
    QCOMPARE(linkColour(form), QColor(Qt::red));
    hover(&form); // the viewer's background
    QCOMPARE(linkColour(form), QColor(Qt::white));
}

QTEST_MAIN(HelpFormTest)
#include "test_tfrmhelpform.moc"
