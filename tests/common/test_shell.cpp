#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>

#include "common/qtservices.h"

using velmora::QtShellService;

namespace {

// A stand-in for xdg-open in a folder of its own: it writes its arguments, one a line, to
// "chiamate" beside it (and its process number to "pid"), then runs the given shell lines.
class FakeOpener
{
public:
    explicit FakeOpener(const QByteArray &body)
    {
        QFile script(path());
        if (script.open(QIODevice::WriteOnly)) {
            script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" +
                         QFile::encodeName(m_dir.filePath(QStringLiteral("chiamate"))) + "\"\necho $$ > \"" +
                         QFile::encodeName(m_dir.filePath(QStringLiteral("pid"))) + "\"\n" + body + "\n");
            script.close();
            script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        }
    }
    ~FakeOpener()
    {
        // An opener left running by a test ends with it.
        QFile pid(m_dir.filePath(QStringLiteral("pid")));
        if (pid.open(QIODevice::ReadOnly))
            ::kill(static_cast<pid_t>(pid.readAll().trimmed().toLongLong()), SIGKILL);
    }
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("xdg-open")); }
    QStringList calls() const
    {
        QFile f(m_dir.filePath(QStringLiteral("chiamate")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_dir;
};

// Puts a folder first on the search path for the life of a test.
class SearchPath
{
public:
    explicit SearchPath(const QString &first) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(first) + ':' + m_saved);
    }
    ~SearchPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

// The real shell service against fake openers: what the opener answers is what the caller hears.
class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void noOpenerInstalledFailsAtOnce();
    void openerAnswerIsExamined_data();
    void openerAnswerIsExamined();
    void anOpenerStillRunningHasOpened();
    void targetsArePassedAsWritten();
    void failuresAreOptional();
};

void ShellTest::noOpenerInstalledFailsAtOnce()
{
    QTemporaryDir empty;
    const QByteArray saved = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    QtShellService shell; // looks for xdg-open on the search path
    int failures = 0;
    shell.openPath(QStringLiteral("/tmp/Guida.pdf"), [&] { ++failures; });
    shell.openAddress(QStringLiteral("mailto:info@velmora.it"), [&] { ++failures; });
    qputenv("PATH", saved);
    QCOMPARE(failures, 2);
    QCOMPARE(shell.pendingOpeners(), 0);
}

void ShellTest::openerAnswerIsExamined_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("fails");
    // xdg-open's own exit statuses: 0 done, 3 no tool for the job, 4 the action failed.
    QTest::newRow("opened") << QByteArray("exit 0") << false;
    QTest::newRow("no program for the file type") << QByteArray("exit 3") << true;
    QTest::newRow("the program failed") << QByteArray("exit 4") << true;
    QTest::newRow("opener crashed") << QByteArray("kill -9 $$") << true;
}

void ShellTest::openerAnswerIsExamined()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, fails);
    FakeOpener opener(body);
    SearchPath path(opener.folder());
    QtShellService shell;
    int failures = 0;
    shell.openAddress(QStringLiteral("mailto:info@velmora.it"), [&] { ++failures; });
    QCOMPARE(shell.pendingOpeners(), 1);
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(failures, fails ? 1 : 0);
    QCOMPARE(opener.calls(), QStringList{QStringLiteral("mailto:info@velmora.it")});
}

void ShellTest::anOpenerStillRunningHasOpened()
{
    // An opener that runs the application in the foreground does not end while it is open; it
    // failing later is the application's own life, not an answer. The wait does not hold the
    // test's output open, or the test runner would wait for it too.
    FakeOpener opener("sleep 30 </dev/null >/dev/null 2>&1; exit 4");
    QtShellService shell(opener.path(), 0.3);
    int failures = 0;
    shell.openPath(QStringLiteral("/tmp/Anagrafica clienti.xltx"), [&] { ++failures; });
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(failures, 0);
    QCOMPARE(opener.calls(), QStringList{QStringLiteral("/tmp/Anagrafica clienti.xltx")});
}

void ShellTest::targetsArePassedAsWritten()
{
    FakeOpener opener("exit 0");
    QtShellService shell(opener.path());
    const QString mail = QStringLiteral("mailto:info@velmora.it?subject=Software Velmora&body=Salve, desidererei");
    shell.openAddress(mail);
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(opener.calls(), QStringList{mail});

    // A relative path goes as an absolute one, so it never reads as an option.
    shell.openPath(QStringLiteral("-cartella"));
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(opener.calls(), QStringList{QDir::current().absoluteFilePath(QStringLiteral("-cartella"))});

    // A file known by its bytes goes as a file address the opener turns back into those bytes.
    shell.openFile(std::filesystem::path("/dati/Velmora caff\xe8/Guida.pdf"));
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(opener.calls(), QStringList{QStringLiteral("file:///dati/Velmora%20caff%E8/Guida.pdf")});
}

void ShellTest::failuresAreOptional()
{
    // A caller that ignores failures (the web site from the start screen) gives no callback.
    FakeOpener opener("exit 4");
    QtShellService shell(opener.path());
    shell.openAddress(QStringLiteral("https://www.velmora.it"));
    QTRY_COMPARE(shell.pendingOpeners(), 0);
    QCOMPARE(opener.calls(), QStringList{QStringLiteral("https://www.velmora.it")});
}

QTEST_GUILESS_MAIN(ShellTest)
#include "test_shell.moc"
