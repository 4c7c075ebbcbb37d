#include "help/help_window.h"

#include <QPointer>
#include <QScrollBar>
#include <QUrl>

#include "ui_help_window.h"

namespace wienbridge {
namespace {

QPointer<HelpWindow> theHelp;

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), ui(std::make_unique<Ui::HelpWindow>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    ui->text->setSource(QUrl(QStringLiteral("qrc:/guida.html")));
}

HelpWindow::~HelpWindow() = default;

HelpWindow* HelpWindow::showSection(const QString& section, QWidget* owner)
{
    if (!theHelp)
        theHelp = new HelpWindow(owner ? owner->window() : nullptr);
    theHelp->show();
    theHelp->raise();
    theHelp->activateWindow();
    theHelp->section_ = section;
    if (section.isEmpty())
        theHelp->ui->text->verticalScrollBar()->setValue(0);
    else
        theHelp->ui->text->scrollToAnchor(section);
    return theHelp;
}

QString HelpWindow::section() const
{
    return section_;
}

}  // namespace wienbridge
