// Times the screens that show a whole archive at once, on the large and on the realistic
// archives, from the user's action until the list or grid is laid out and painted, and sets
// each beside its target. The fakes of the screen tests stand in for the platform.
// Runs offscreen: QT_QPA_PLATFORM=offscreen velmora_bench_screens
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archives.h"
#include "bills/tfrmesportafor.h"
#include "bills/tfrmforniture.h"
#include "clients/clientrecord.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/exportdialog.h"
#include "measure.h"
#include "products/productrecord.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmesportamat.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

// The platform cannot raise or activate a window offscreen; its notes on that are no figures.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtWarningMsg || !message.contains(QLatin1String("does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void settle()
{
    QCoreApplication::processEvents(); // the list or grid lays out and paints its first page
}

// The search dialogs with blank criteria list every card: Trova reads the archive, builds and
// sorts the lines and fills the list; Indietro, outside the time, goes back to the criteria.
template <class Dialog> bench::Figure searchList(int runs, Dialog &dialog, std::size_t lines)
{
    dialog.show();
    settle();
    return bench::measure(
        runs,
        [&] {
            dialog.cmdIndietro->click();
            settle();
        },
        [&] {
            dialog.cmdTrova->click();
            settle();
            check(static_cast<std::size_t>(dialog.lstRecords->count()) == lines, "every line listed");
        });
}

// Every showing of an export reloads its grid from the archive.
bench::Figure exportGrid(int runs, ExportDialog &dialog, std::size_t rows)
{
    return bench::measure(
        runs, [&] { dialog.hide(); },
        [&] {
            dialog.show();
            settle();
            check(static_cast<std::size_t>(dialog.gridModel()->gridRows()) == rows + 1, "every row shown");
        });
}

void runSet(bench::Report &report, const bench::ArchiveSet &set, double target)
{
    const int runs = set.clients > 10000 ? 7 : 21;
    TestServices ts;
    bench::writeArchives(ts.services.folder, set);
    report.section("Screens, " + std::string(set.name) + " archives");

    {
        TfrmCercaDestinatari dialog(ts.services);
        report.line("client search listing every card (" + std::to_string(set.clients) + ")",
                    searchList(runs, dialog, set.clients), target);
    }
    {
        TfrmCercaMateriale dialog(ts.services);
        report.line("product search listing every product (" + std::to_string(set.products) + ")",
                    searchList(runs, dialog, set.products), target);
    }
    {
        // One bill after another, as the user opens them from the bill list.
        TfrmForniture screen(ts.services);
        std::size_t next = 0;
        report.line("bill opened, its " + std::to_string(set.linesPerBill) + " lines listed with the total",
                    bench::measure(
                        runs, [&] { screen.hide(); },
                        [&] {
                            const std::string name = bench::billFileName(next++ % set.bills);
                            screen.openBill(ts.file(name), QString::fromStdString(name));
                            settle();
                            check(static_cast<std::size_t>(screen.lstStudenti->count()) == set.linesPerBill,
                                  "every consumption listed");
                        }),
                    target);
    }
    {
        TfrmEsportaDes dialog(ts.services);
        report.line("client export grid shown (" + std::to_string(set.clients) + " rows)",
                    exportGrid(runs, dialog, set.clients), target);
    }
    {
        TfrmEsportaMat dialog(ts.services);
        report.line("product export grid shown (" + std::to_string(set.products) + " rows)",
                    exportGrid(runs, dialog, set.products), target);
    }
    {
        TfrmEsportaFor dialog(ts.services);
        dialog.setBill(ts.file(bench::billFileName(0)));
        report.line("bill export grid shown (" + std::to_string(set.linesPerBill) + " rows)",
                    exportGrid(runs, dialog, set.linesPerBill), target);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatformNotes);
    QApplication app(argc, argv);
    bench::Report report;
    runSet(report, bench::kLarge, 250);
    runSet(report, bench::kRealistic, 20);
    report.summary();
    return 0;
}
