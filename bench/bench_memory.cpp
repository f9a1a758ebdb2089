// Memory of the screens holding the largest archives at once: the client search listing all
// 50,000 cards, the 10,000-line bill open and the client export grid of 50,000 rows. The
// archives are written by a child process first, so the figures are the screens' own.
// Runs offscreen: QT_QPA_PLATFORM=offscreen velmora_bench_memory
#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archives.h"
#include "bills/tfrmforniture.h"
#include "clients/clientrecord.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/exportdialog.h"
#include "common/memorypolicy.h"
#include "support/fakes.h"

using namespace velmora;

namespace {

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

void report(const char *step)
{
    std::printf("%-58s %8.1f MB now %8.1f MB peak\n", step, residentMb(), peakMb());
    std::fflush(stdout);
}

bool writeArchivesInAChild(const std::filesystem::path &folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        bench::writeArchives(folder, bench::Sizes{});
        std::_Exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedMemoryForReuse(); // as the program does
    char pattern[] = "/tmp/velmora-memory-XXXXXX";
    const std::filesystem::path archives = ::mkdtemp(pattern);
    if (!writeArchivesInAChild(archives)) {
        std::fprintf(stderr, "the archives could not be written\n");
        return 1;
    }
    report("before the application");
    QApplication app(argc, argv);
    test::TestServices ts;
    for (const char *name : {kClientArchive, "Conto lungo.for"})
        std::filesystem::rename(archives / name, ts.file(name));
    report("application started");

    TfrmCercaDestinatari search(ts.services);
    search.show();
    QCoreApplication::processEvents();
    search.cmdTrova->click();
    QCoreApplication::processEvents();
    report(qPrintable(QStringLiteral("client search, %1 lines").arg(search.lstRecords->count())));

    TfrmForniture bill(ts.services);
    bill.openBill(ts.file("Conto lungo.for"), QStringLiteral("Conto lungo"));
    QCoreApplication::processEvents();
    report(qPrintable(QStringLiteral("and the bill open, %1 lines").arg(bill.lstStudenti->count())));

    TfrmEsportaDes grid(ts.services);
    grid.show();
    QCoreApplication::processEvents();
    report(qPrintable(QStringLiteral("and the client export grid, %1 rows").arg(grid.gridModel()->gridRows() - 1)));

    // Shown a second time, the grid is reloaded: the old rows go before the new ones come.
    grid.hide();
    grid.show();
    QCoreApplication::processEvents();
    report("and the grid shown again");

    std::filesystem::remove_all(archives);
    return 0;
}
