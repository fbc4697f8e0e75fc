#include "ui/PrintJob.h"

#include <QPageLayout>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include <cups/cups.h>

#include <cerrno>

#include <utility>
#include <vector>

namespace tw {

namespace {

// The property under which Qt's print dialog leaves the server options it
// collected (page set, banners, priority, and the printer's own options),
// as name, value, name, value...
constexpr auto ServerOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The job options that Qt's print engine sends for printer as it stands.
std::vector<std::pair<QByteArray, QByteArray>> printJobOptions(const QPrinter &printer)
{
    std::vector<std::pair<QByteArray, QByteArray>> options;
    const QPageLayout layout = printer.pageLayout();
    const bool landscape = layout.orientation() == QPageLayout::Landscape;
    options.emplace_back("media", layout.pageSize().key().toLocal8Bit());
    const int copies = printer.copyCount();
    if (copies > 1)
        options.emplace_back("copies", QByteArray::number(copies));
    if (copies > 1 && printer.collateCopies())
        options.emplace_back("Collate", "True");
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        options.emplace_back("sides", "one-sided");
        break;
    case QPrinter::DuplexAuto:
        options.emplace_back("sides", landscape ? "two-sided-short-edge" : "two-sided-long-edge");
        break;
    case QPrinter::DuplexLongSide:
        options.emplace_back("sides", "two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        options.emplace_back("sides", "two-sided-short-edge");
        break;
    }
    if (landscape)
        options.emplace_back("landscape", "");
    const QStringList server = printer.printEngine()->property(ServerOptions).toStringList();
    for (qsizetype k = 0; k + 1 < server.size(); k += 2)
        options.emplace_back(server[k].toLocal8Bit(), server[k + 1].toLocal8Bit());
    return options;
}

} // namespace

QString printServerTrouble()
{
    // A server that is not running, or went away in the middle of a job,
    // leaves the failed connection's own words ("No such file or
    // directory"), which tell a user nothing.
    const ipp_status_t status = cupsLastError();
    const int reason = errno;
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
        (status == IPP_STATUS_ERROR_INTERNAL &&
         (reason == ENOENT || reason == ECONNREFUSED || reason == ECONNRESET || reason == EPIPE)))
        return QStringLiteral("the print server cannot be reached");
    return QString::fromLocal8Bit(cupsLastErrorString());
}

bool sendPrintJob(const QPrinter &printer, const QByteArray &pdf, QString *error)
{
    const auto fail = [&] {
        if (error)
            *error = printServerTrouble();
        return false;
    };
    // The server knows a printer by its name without the instance
    // ("office/duplex" is printer "office" with saved settings).
    const QByteArray queue = printer.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray title = printer.docName().toLocal8Bit();
    std::vector<std::pair<QByteArray, QByteArray>> options = printJobOptions(printer);
    std::vector<cups_option_t> list;
    list.reserve(static_cast<std::size_t>(options.size()));
    for (auto &[name, value] : options)
        list.push_back({name.data(), value.data()});

    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(),
                                  static_cast<int>(list.size()), list.data());
    if (job == 0)
        return fail();
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, title.constData(),
                          CUPS_FORMAT_AUTO, 1) != HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                             static_cast<std::size_t>(pdf.size())) != HTTP_STATUS_CONTINUE) {
        // The server's answer, when it gives one, says more than the broken
        // write: it is read before the reason is taken.
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
        fail();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
        return false;
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) > IPP_STATUS_OK_CONFLICTING)
        return fail();
    return true;
}

} // namespace tw
