#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include "app/tfrmavvio.h"
#include "app/tfrminfo.h"
#include "common/widgets.h"
#include "support/fakes.h"

using velmora::test::TestServices;

namespace {

void hover(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor colourOf(const QWidget *label)
{
    return label->palette().color(QPalette::WindowText);
}

const QString kMailLink = QStringLiteral(
    "mailto:info@velmora.it?subject=Software Velmora&body=Salve, desidererei avere le seguenti informazioni sul "
    "software in oggetto:");

} // namespace

class InfoTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void mailLinkIsWrittenUnencoded();
    void emailLinks_data();
    void emailLinks();
    void webLinks_data();
    void webLinks();
    void hoverColours();
    void okCloses();

private:
    std::unique_ptr<TestServices> t;
    std::unique_ptr<TfrmInfo> form;
};

void InfoTest::init()
{
    t = std::make_unique<TestServices>();
    form = std::make_unique<TfrmInfo>(t->services);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void InfoTest::cleanup()
{
    form.reset();
    t.reset();
}

void InfoTest::mailLinkIsWrittenUnencoded()
{
    QCOMPARE(TfrmInfo::mailLink(), kMailLink);
    QCOMPARE(form->windowTitle(), QStringLiteral(" Informazioni su Velmora ©"));
    QCOMPARE(form->lblEmail->text(), QStringLiteral("Invia e-mail"));
    QCOMPARE(form->lblWeb->text(), QStringLiteral("Visita sito Internet"));
}

void InfoTest::emailLinks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("mailProgram");
    QTest::newRow("label sent") << QStringLiteral("lblEmail") << Qt::LeftButton << true;
    QTest::newRow("icon right button") << QStringLiteral("imgEmail") << Qt::RightButton << true;
    QTest::newRow("no mail program") << QStringLiteral("lblEmail") << Qt::LeftButton << false;
    QTest::newRow("icon, no mail program") << QStringLiteral("imgEmail") << Qt::LeftButton << false;
}

void InfoTest::emailLinks()
{
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, mailProgram);
    t->shell.result = mailProgram;
    QTest::mouseRelease(form->findChild<QWidget *>(control), button, {}, QPoint(3, 3));
    QCOMPARE(t->shell.opened, QStringList{kMailLink});
    if (mailProgram) {
        QVERIFY(t->messages.shown.empty());
    } else {
        QCOMPARE(t->messages.shown.size(), std::size_t(1));
        QCOMPARE(t->messages.shown[0].kind, velmora::test::Message::Kind::Plain);
        QCOMPARE(t->messages.lastText(), QStringLiteral("Invio e-mail non riuscito."));
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(form->isVisible());
}

void InfoTest::webLinks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("shellResult");
    QTest::newRow("label") << QStringLiteral("lblWeb") << true;
    QTest::newRow("icon") << QStringLiteral("imgWeb") << true;
    QTest::newRow("failure is silent") << QStringLiteral("lblWeb") << false;
}

void InfoTest::webLinks()
{
    QFETCH(QString, control);
    QFETCH(bool, shellResult);
    t->shell.result = shellResult;
    QTest::mouseRelease(form->findChild<QWidget *>(control), Qt::RightButton, {}, QPoint(3, 3));
    QCOMPARE(t->shell.opened, QStringList{QStringLiteral("https://www.velmora.it")});
    QCOMPARE(t->shell.opened.first(), TfrmAvvio::webAddress());
    QVERIFY(t->messages.shown.empty());
    QVERIFY(!QApplication::overrideCursor());
}

void InfoTest::hoverColours()
{
    const QColor navy = velmora::colours::navy;
    const QColor red(Qt::red);
    QCOMPARE(colourOf(form->lblEmail), navy);
    QCOMPARE(colourOf(form->lblWeb), navy);
    hover(form->imgEmail);
    QCOMPARE(colourOf(form->lblEmail), red);
    QCOMPARE(colourOf(form->lblWeb), navy);
    hover(form->lblWeb);
    QCOMPARE(colourOf(form->lblEmail), navy);
    QCOMPARE(colourOf(form->lblWeb), red);
    hover(form->grpInfo);
    QCOMPARE(colourOf(form->lblEmail), navy);
    QCOMPARE(colourOf(form->lblWeb), navy);
    hover(form->lblEmail);
    QCOMPARE(colourOf(form->lblEmail), red);
    hover(form->imgWeb);
    QCOMPARE(colourOf(form->lblEmail), navy);
    QCOMPARE(colourOf(form->lblWeb), red);
    hover(form.get());
    QCOMPARE(colourOf(form->lblWeb), navy);
}

void InfoTest::okCloses()
{
    QTest::mouseClick(form->cmdOK, Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Accepted));
}

QTEST_MAIN(InfoTest)
#include "test_tfrminfo.moc"
