// Lays out the user manual from its HTML source as a PDF file, with numbered A4 pages.
// Usage: velmora_manual <source .html> <output .pdf>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "Uso: velmora_manual <sorgente .html> <destinazione .pdf>\n";
        return 2;
    }

    QFile source(args[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        err << "Impossibile leggere " << args[1] << '\n';
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());

    QTextDocument document;
    // Pictures are named relative to the source file.
    const QUrl base = QUrl::fromLocalFile(QFileInfo(args[1]).absoluteFilePath());
    document.setBaseUrl(base);
    document.setMetaInformation(QTextDocument::DocumentUrl, base.toString());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setHtml(html);

    QPdfWriter pdf(args[2]);
    pdf.setTitle(QStringLiteral("Velmora © - Guida dell'utente"));
    pdf.setCreator(QStringLiteral("Velmora Software"));
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    // The document brings its own margins and numbers the pages at their foot.
    document.print(&pdf);

    if (!QFileInfo(args[2]).isFile() || QFileInfo(args[2]).size() == 0) {
        err << "Impossibile scrivere " << args[2] << '\n';
        return 1;
    }
    return 0;
}
