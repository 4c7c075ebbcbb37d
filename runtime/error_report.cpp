#include "error_report.h"

#include <QMessageBox>
#include <QString>

namespace wienbridge {

void MessageBoxErrorReport::report(const RuntimeError& error)
{
    QMessageBox::critical(parent_, QStringLiteral("Errore di run-time"),
                          QString::fromUtf8(error.what()));
}

}  // namespace wienbridge
