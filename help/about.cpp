#include <QMessageBox>
#include <QtGlobal>

#include "help/help_window.h"

namespace wienbridge {

void showAbout(QWidget* parent)
{
    QMessageBox::about(parent, QStringLiteral("Informazioni su Oscillatore a ponte di Wien"),
                       QStringLiteral("<h3>Oscillatore a ponte di Wien, verifica</h3>"
                                      "<p>Versione 1.00</p>"
                                      "<p>Verifica come si comporta un oscillatore a ponte di Wien quando "
                                      "l'amplificatore operazionale ha una frequenza di crossover finita.</p>"
                                      "<p>Licenza MIT. Realizzato con Qt %1.</p>")
                           .arg(QString::fromLatin1(qVersion())));
}

}  // namespace wienbridge
