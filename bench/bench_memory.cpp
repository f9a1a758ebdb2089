// Memory of the screens holding the large archives at once: the client search listing all
// 50,000 cards, the product search listing all 10,000 products, the 10,000-line bill open and
// the three export grids. The archives are written by a child process first, so the figures
// are the screens' own.
// Runs offscreen: QT_QPA_PLATFORM=offscreen velmora_bench_memory
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archives.h"
#include "bills/tfrmesportafor.h"
#include "bills/tfrmforniture.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/exportdialog.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmesportamat.h"
#include "support/fakes.h"

using namespace velmora;

namespace {

constexpr double kTargetMb = 150;

double residentMb()
{
    long pages = 0;
    long resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double peakMb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void report(const QString &step)
{
    std::printf("%-60s %8.1f MB now %8.1f MB peak\n", qPrintable(step), residentMb(), peakMb());
    std::fflush(stdout);
}

bool writeArchivesInAChild(const std::filesystem::path &folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        bench::writeArchives(folder, bench::kLarge);
        std::_Exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void quietPlatformNotes(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtWarningMsg || !message.contains(QLatin1String("does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatformNotes);
    report(QStringLiteral("before the application"));
    QApplication app(argc, argv);
    test::TestServices ts;
    if (!writeArchivesInAChild(ts.services.folder)) {
        std::fprintf(stderr, "the archives could not be written\n");
        return 1;
    }
    report(QStringLiteral("application started"));

    TfrmCercaDestinatari clients(ts.services);
    clients.show();
    clients.cmdTrova->click();
    QCoreApplication::processEvents();
    report(QStringLiteral("client search listing %1 cards").arg(clients.lstRecords->count()));

    TfrmCercaMateriale products(ts.services);
    products.show();
    products.cmdTrova->click();
    QCoreApplication::processEvents();
    report(QStringLiteral("and the product search listing %1 products").arg(products.lstRecords->count()));

    const std::string bill = bench::billFileName(0);
    TfrmForniture screen(ts.services);
    screen.openBill(ts.file(bill), QString::fromStdString(bill));
    QCoreApplication::processEvents();
    report(QStringLiteral("and the bill open, %1 lines").arg(screen.lstStudenti->count()));

    TfrmEsportaDes clientGrid(ts.services);
    clientGrid.show();
    QCoreApplication::processEvents();
    report(QStringLiteral("and the client export grid, %1 rows").arg(clientGrid.gridModel()->gridRows() - 1));

    TfrmEsportaMat productGrid(ts.services);
    productGrid.show();
    QCoreApplication::processEvents();
    report(QStringLiteral("and the product export grid, %1 rows").arg(productGrid.gridModel()->gridRows() - 1));

    TfrmEsportaFor billGrid(ts.services);
    billGrid.setBill(ts.file(bill));
    billGrid.show();
    QCoreApplication::processEvents();
    report(QStringLiteral("and the bill export grid, %1 rows").arg(billGrid.gridModel()->gridRows() - 1));

    // Shown a second time, a grid is reloaded: the old rows go before the new ones come.
    clientGrid.hide();
    clientGrid.show();
    QCoreApplication::processEvents();
    report(QStringLiteral("and the client export grid shown again"));

    const double peak = peakMb();
    std::printf("\npeak memory with the large archives open at once: %.1f MB (target < %.0f MB: %s)\n", peak,
                kTargetMb, peak < kTargetMb ? "met" : "MISSED");
    return 0;
}
