#pragma once

#include <QByteArray>
#include <QString>

class QPrinter;

namespace tw {

// What went wrong in the last exchange with the print server, in words.
QString printServerTrouble();

// Hands pdf to the print server (CUPS) as one job for printer, named after
// its document name, with the choices made in the print dialog sent as Qt's
// own print engine sends them: the paper and orientation last set on
// printer, copies, collation, sides, and the dialog's server options. On
// failure returns false and sets error to what the print server said.
bool sendPrintJob(const QPrinter &printer, const QByteArray &pdf, QString *error);

} // namespace tw
