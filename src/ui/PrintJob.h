#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class QPrinter;

namespace tw {

// A job for a printer, handed to the print server (CUPS) by the program
// itself: a PDF the program wrote, with the choices made in the print
// dialog sent as Qt's own print engine sends them.

// The job options that Qt's print engine sends for printer as it stands:
// the paper and orientation of the last page set on it, copies, collation,
// sides, and the dialog's own server options.
std::vector<std::pair<QByteArray, QByteArray>> printJobOptions(const QPrinter &printer);

// Sends pdf to printer's queue as one job, named after the printer's
// document name. On failure returns false and sets error to what the print
// server said.
bool sendPrintJob(const QPrinter &printer, const QByteArray &pdf, QString *error);

} // namespace tw
