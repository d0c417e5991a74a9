#include "dbwizard/frmDatabaseWizard.h"
#include "dbwizard/DatabaseCode.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "widgets/Controls.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Controls;

namespace {

constexpr int kFieldLength = 50;

}

frmDatabaseWizard::frmDatabaseWizard(RichTextBox& pad, Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_prompts(prompts)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmDatabaseWizard"));
    setWindowTitle(QStringLiteral("Quirkpad - Database Connection Wizard"));

    auto* instructions = label("lblInstructions",
                               QStringLiteral("You can use this wizard to generate a connection to a database in a "
                                              "Server-Side Language for a web page."),
                               this);
    instructions->setWordWrap(true);

    m_pages = named(new QStackedWidget(this), "stkPages");
    m_pages->addWidget(m_fraWiz1 = buildChoicePage());
    m_pages->addWidget(m_fraASP1 = buildAspPage());
    m_pages->addWidget(m_fraPHP1 = buildPhpPage());
    m_pages->addWidget(m_fraWiz2 = buildCodePage());
    m_pages->setCurrentWidget(m_fraWiz1);

    auto* help = button("cmdHelp", QStringLiteral("Help"), this);
    auto* cancel = button("cmdCancel", QStringLiteral("Cancel"), this);
    connect(help, &QPushButton::clicked, this, &frmDatabaseWizard::showHelp);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    setLayout(column({instructions, {m_pages, 1}, row({help, stretch, cancel})}));
    resize(sizeHint());
}

QSize frmDatabaseWizard::sizeHint() const
{
    // Room for the generated code's longest lines without scrolling sideways.
    return QWidget::sizeHint().expandedTo(QSize(640, 460));
}

QWidget* frmDatabaseWizard::buildChoicePage()
{
    auto* page = named(new QFrame, "fraWiz1");
    m_optASP = optionButton("optASP", QStringLiteral("ASP (Microsoft Access)"), page);
    m_optPHP = optionButton("optPHP", QStringLiteral("PHP (MySQL)"), page);
    m_optPDO = optionButton("optPDO", QStringLiteral("PHP (PDO)"), page);
    auto* group = new QButtonGroup(page);
    for (QRadioButton* o : {m_optASP, m_optPHP, m_optPDO})
        group->addButton(o);
    m_optASP->setChecked(true);
    auto* next = button("cmdNext", QStringLiteral("Next >>"), page);
    connect(next, &QPushButton::clicked, this, &frmDatabaseWizard::showFieldPage);

    page->setLayout(withoutMargins(column({m_optASP, m_optPHP, m_optPDO, stretch, row({stretch, next})})));
    return page;
}

QLineEdit* frmDatabaseWizard::field(QWidget* page, const char* name, const QString& text)
{
    auto* box = textBox(name, QString(), page);
    box->setMaxLength(kFieldLength);
    box->setText(text);
    return box;
}

QWidget* frmDatabaseWizard::buildAspPage()
{
    const DatabaseCode::AspFields d;
    return buildFieldPage("fraASP1",
                          {{{"lblASP_conn", "Connection variable:", "txtASP_conn", d.conn},
                            {"lblASP_records", "Records variable:", "txtASP_records", d.records},
                            {"lblASP_DSN", "DSN variable:", "txtASP_DSN", d.dsn},
                            {"lblASP_SQL", "SQL variable:", "txtASP_SQL", d.sql},
                            {"lblASP_DBLocation", "Location:", "txtASP_DBLocation", d.dbLocation},
                            {"lblASP_SQLCommand", "SQL Command:", "txtASP_SQLCommand", d.sqlCommand}}},
                          "Line1", "cmdASP_Back", "cmdASP_Generate", &frmDatabaseWizard::generateAsp);
}

QWidget* frmDatabaseWizard::buildPhpPage()
{
    // The password is shown in clear: it is a placeholder to be replaced,
    // not a secret typed here.
    const DatabaseCode::PhpFields d;
    return buildFieldPage("fraPHP1",
                          {{{"lblPHP_host", "Host name:", "txtPHP_host", d.host},
                            {"lblPHP_username", "Username:", "txtPHP_username", d.username},
                            {"lblPHP_password", "Password:", "txtPHP_password", d.password},
                            {"lblPHP_DBname", "Database name:", "txtPHP_DBname", d.dbName},
                            {"lblPHP_error", "Error message:", "txtPHP_error", d.error},
                            {"lblPHP_SQL", "SQL Command:", "txtPHP_SQL", d.sql}}},
                          "Line2", "cmdPHP_Back", "cmdPHP_Generate", &frmDatabaseWizard::generatePhp);
}

QWidget* frmDatabaseWizard::buildFieldPage(const char* pageName, const std::array<FieldRow, 6>& rows,
                                           const char* lineName, const char* backName, const char* generateName,
                                           void (frmDatabaseWizard::*generate)())
{
    auto* page = named(new QFrame, pageName);
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // The line runs across the page between the fourth and fifth field.
        if (i == 4)
            form->addRow(line(lineName, page));
        const FieldRow& r = rows[i];
        form->addRow(label(r.label, QString::fromUtf8(r.caption), page), field(page, r.box, r.text));
    }

    auto* back = button(backName, QStringLiteral("<< Back"), page);
    auto* generateButton = button(generateName, QStringLiteral("Generate >>"), page);
    connect(back, &QPushButton::clicked, this, [this] { m_pages->setCurrentWidget(m_fraWiz1); });
    connect(generateButton, &QPushButton::clicked, this, generate);

    page->setLayout(withoutMargins(column({form, stretch, row({back, stretch, generateButton})})));
    return page;
}

QWidget* frmDatabaseWizard::buildCodePage()
{
    auto* page = named(new QFrame, "fraWiz2");
    m_code = named(new QPlainTextEdit(page), "txtDB_Code");
    m_code->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_code->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_code->setTabChangesFocus(true);
    // The longest generated lines and most of the code in view at once.
    const QFontMetrics metrics(m_code->font());
    m_code->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 92, metrics.lineSpacing() * 18);
    auto* back = button("cmdDB_Back", QStringLiteral("<< Back"), page);
    auto* insert = button("cmdDB_Insert", QStringLiteral("Insert"), page);
    connect(back, &QPushButton::clicked, this, &frmDatabaseWizard::showFieldPage);
    connect(insert, &QPushButton::clicked, this, &frmDatabaseWizard::insertCode);

    page->setLayout(withoutMargins(column({{m_code, 1}, row({back, stretch, insert})})));
    return page;
}

void frmDatabaseWizard::showFieldPage()
{
    if (m_optASP->isChecked())
        m_pages->setCurrentWidget(m_fraASP1);
    else if (m_optPHP->isChecked() || m_optPDO->isChecked())
        m_pages->setCurrentWidget(m_fraPHP1);
}

void frmDatabaseWizard::showCode(const QString& code)
{
    m_generated = code;
    QString shown = code;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_code->setPlainText(shown);
    m_code->document()->setModified(false);
    m_pages->setCurrentWidget(m_fraWiz2);
}

void frmDatabaseWizard::generateAsp()
{
    auto text = [this](const char* name) { return findChild<QLineEdit*>(QLatin1String(name))->text(); };
    DatabaseCode::AspFields f;
    f.conn = text("txtASP_conn");
    f.records = text("txtASP_records");
    f.dsn = text("txtASP_DSN");
    f.sql = text("txtASP_SQL");
    f.dbLocation = text("txtASP_DBLocation");
    f.sqlCommand = text("txtASP_SQLCommand");
    showCode(DatabaseCode::asp(f));
}

void frmDatabaseWizard::generatePhp()
{
    auto text = [this](const char* name) { return findChild<QLineEdit*>(QLatin1String(name))->text(); };
    DatabaseCode::PhpFields f;
    f.host = text("txtPHP_host");
    f.username = text("txtPHP_username");
    f.password = text("txtPHP_password");
    f.dbName = text("txtPHP_DBname");
    f.error = text("txtPHP_error");
    f.sql = text("txtPHP_SQL");
    showCode(m_optPDO->isChecked() ? DatabaseCode::phpPdo(f) : DatabaseCode::php(f));
}

QString frmDatabaseWizard::codeAsShown() const
{
    // Untouched, the code goes in exactly as generated; the text box would
    // turn a no-break space into a plain one, or a line break held in a
    // field into a line of its own. Edited, it goes in as the user left it,
    // with CR LF between its lines like any text the program inserts.
    if (!m_code->document()->isModified())
        return m_generated;
    QString text = m_code->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void frmDatabaseWizard::insertCode()
{
    m_pad.InsertText(codeAsShown());
    close();
}

void frmDatabaseWizard::showHelp()
{
    m_prompts.message(QStringLiteral("- DATABASE CONNECTION WIZARD HELP -\r\n\r\nThis Wizard can be used to quickly "
                                     "generate code needed by an ASP or PHP web page to connect to either a "
                                     "Microsoft Access or MySQL database.\r\n\r\nSimply fill in the fields "
                                     "required, leaving anything you want to default."),
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
}
