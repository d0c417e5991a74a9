#include "help/frmAbout.h"
#include "help/HelpLinks.h"
#include "help/ReleaseNotes.h"
#include "services/Shell.h"
#include "widgets/Controls.h"
#include "widgets/OwnedWindow.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Controls;

frmAbout::frmAbout(Shell& shell, QWidget* owner) : QWidget(nullptr, Qt::Window), m_shell(shell)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Quirkpad - About"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* header = label("lblHeader", QStringLiteral("About Quirkpad"), this);
    QFont headerFont = header->font();
    headerFont.setPointSizeF(headerFont.pointSizeF() * 1.5);
    headerFont.setBold(true);
    header->setFont(headerFont);

    auto* tabAbout = tabs("tabAbout", this);
    tabAbout->addTab(buildAboutTab(), QStringLiteral("About Quirkpad"));
    tabAbout->addTab(buildSupportTab(), QStringLiteral("Support"));
    tabAbout->addTab(buildSystemTab(), QStringLiteral("System Information"));
    tabAbout->addTab(buildWhatsNewTab(), QStringLiteral("What's New"));

    setLayout(column({header, {tabAbout, 1}}));
    // The size it opens at is the least it can be: any smaller and the
    // wrapped Support text gets cut off, as a tab strip sizes itself by its
    // pages' unwrapped minimums.
    resize(sizeHint().expandedTo(QSize(620, 360)));
    setMinimumSize(size());

    OwnedWindow::setOwner(this, owner);
    if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
}

QWidget* frmAbout::buildAboutTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(label("lblVersion", QStringLiteral("Version: 1.6 (December 2004)"), page), 0, 0, 1, 3);
    grid->setRowMinimumHeight(1, 8);
    grid->addWidget(label("lblCreator1", QStringLiteral("Creator:"), page), 2, 0);
    grid->addWidget(label("lblCreator2", HelpLinks::creator(), page), 2, 1);
    grid->addWidget(label("lbHome1", QStringLiteral("Home:"), page), 3, 0);
    grid->addWidget(label("lblHome2", HelpLinks::homePage(), page), 3, 1);
    // The links and the donation are pressed with the mouse or Space only.
    auto* visit = button("cmdVisitSite", QStringLiteral("Go ->"), page, Enter::Ignored);
    grid->addWidget(visit, 3, 2);
    grid->addWidget(label("lblEMail1", QStringLiteral("E-Mail:"), page), 4, 0);
    grid->addWidget(label("lblEMail2", HelpLinks::emailAddress(), page), 4, 1);
    auto* mail = button("cmdEMail", QStringLiteral("Mail ->"), page, Enter::Ignored);
    grid->addWidget(mail, 4, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);

    connect(visit, &QPushButton::clicked, this, [this] { m_shell.openUrl(HelpLinks::homePage()); });
    connect(mail, &QPushButton::clicked, this, [this] { m_shell.openUrl(HelpLinks::mailLink()); });
    return page;
}

QWidget* frmAbout::buildSupportTab()
{
    auto* page = new QWidget;
    auto* text = label("lblSupport",
                       QStringLiteral("Quirkpad is a freeware project, however, like all other applications "
                                      "(especially freeware and opensource), applications are not free to make. "
                                      "If you use Quirkpad, please seriously consider donating money towards the "
                                      "Quirkpad project by clicking the button and donating any ammount via "
                                      "PayPal. Any donations are fully appreciated and mean Quirkpad can go on "
                                      "as freeware."),
                       page);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* support = button("cmdSupport", QStringLiteral("Support >>"), page, Enter::Ignored);
    connect(support, &QPushButton::clicked, this, [this] { m_shell.openUrl(HelpLinks::supportPage()); });

    page->setLayout(column({text, stretch, row({stretch, support})}));
    return page;
}

QWidget* frmAbout::buildSystemTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(label("lblPCName1", QStringLiteral("PC Name:"), page), 0, 0);
    grid->addWidget(label("lblPCName2", QSysInfo::machineHostName(), page), 0, 1);
    grid->addWidget(label("lblCurrentUser1", QStringLiteral("Current user:"), page), 1, 0);
    grid->addWidget(label("lblUsername2", currentUser(), page), 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget* frmAbout::buildWhatsNewTab()
{
    auto* page = new QWidget;
    auto* notes = named(new QPlainTextEdit(page), "txtWhatsNew");
    notes->setReadOnly(true);
    // A long note wraps rather than hiding its end behind sideways scrolling.
    notes->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    notes->setPlainText(ReleaseNotes::text());
    page->setLayout(column({notes}));
    return page;
}

QString frmAbout::currentUser()
{
    for (const char* name : {"USER", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}
