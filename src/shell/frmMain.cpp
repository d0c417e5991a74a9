#include "shell/frmMain.h"
#include "files/AppPaths.h"
#include "base/Failure.h"
#include "services/Fonts.h"
#include "editor/LineNumberMargin.h"
#include "editor/ProblemMarks.h"
#include "html/CheckScheduler.h"
#include "editor/MatchMarks.h"
#include "editor/PageOutline.h"
#include "base/NumberText.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "services/Shell.h"
#include "editor/SyntaxColouring.h"
#include "editor/TypingAids.h"
#include "shell/ExternalChangeWatcher.h"
#include "shell/NoticeBar.h"
#include "shell/RecoveryKeeper.h"
#include "shell/StatusBar.h"
#include "shell/Startup.h"
#include "shell/ToolWindowTable.h"
#include "shell/TopMost.h"
#include "editing/ClipboardCommands.h"
#include "editing/EditingCommands.h"
#include "find/FindSession.h"
#include "help/HelpLinks.h"
#include "widgets/Controls.h"
#include "services/PrinterService.h"
#include "preview/CaretFollower.h"
#include "preview/PreviewController.h"
#include "preview/frmWebBrowser.h"
#include "snippets/SnippetCommands.h"
#include "snippets/SnippetTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

frmMain::frmMain(const Services& services, QWidget* parent)
    : QMainWindow(parent),
      m_services(services),
      m_pad(new RichTextBox(&m_doc)),
      m_files(m_doc, *m_pad, *services.prompts, *services.settings)
{
    if (!m_services.printers) {
        m_defaultPrinters = std::make_unique<DefaultPrinterService>();
        m_services.printers = m_defaultPrinters.get();
    }
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(m_doc.caption());
    buildWindow();
    wireCommands();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { noteActiveWindow(); });

    // Unsaved work kept on disk, and the open file watched for other programs.
    m_recovery = new RecoveryKeeper(m_doc, m_files, settings(), *m_notices, this);
    connect(&m_doc, &Document::contentsChanged, m_recovery, &RecoveryKeeper::textEdited);
    m_changeWatcher = new ExternalChangeWatcher(m_doc, *m_notices, this);
    m_changeWatcher->reload = [this] {
        try {
            m_files.reloadChangedFile();
        } catch (...) {
            prompts().error(describeFailure(std::current_exception()));
        }
    };
    connect(m_changeWatcher, &ExternalChangeWatcher::fileRemoved, m_recovery, &RecoveryKeeper::textOnlyHere);
    // Each copy notes the file as the watch last saw it; recovered work of
    // a file changed since gets the watch's notice too.
    m_recovery->knownFile = [this] {
        const FileFingerprint& f = m_changeWatcher->knownFile();
        return RecoveryFile::FileIdentity{f.exists, f.size, f.modifiedNs,
                                          m_changeWatcher->knownDigest().value_or(QByteArray())};
    };
    connect(m_recovery, &RecoveryKeeper::openedOverChangedFile, m_changeWatcher,
            &ExternalChangeWatcher::textIsOlderThanFile);
    m_recovery->offerLeftovers();
}

frmMain::~frmMain()
{
    // The tool windows go first, while the editor they work on is whole.
    m_toolWindows.reset();
}

int frmMain::minimumWidthPixels(const QWidget* w)
{
    return 7800 * w->logicalDpiX() / 1440;
}

void frmMain::buildWindow()
{
    m_pad->setObjectName(QStringLiteral("rtbPad"));
    // Notices stack above the text, below the toolbar; the preview panel,
    // when there is one, stands right of the text.
    auto* central = new QWidget(this);
    m_notices = new NoticeBar(central);
    m_split = Controls::named(new QSplitter(Qt::Horizontal, central), "splPreview");
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_pad);
    QVBoxLayout* column = Controls::withoutMargins(Controls::column({m_notices, {m_split, 1}}));
    column->setSpacing(0);
    central->setLayout(column);
    setCentralWidget(central);
    connect(m_split, &QSplitter::splitterMoved, this, &frmMain::keepPreviewSplit);
    buildColouring();
    buildStatusBar();

    // The location and the changed flag, kept visible to anyone who looks
    // for them by name, never shown.
    m_lblLocation = Controls::label("lblLocation", QString(), this);
    m_lblLocation->hide();
    m_lblChanged = Controls::label("lblChanged", changedText(m_doc.isModified()), this);
    m_lblChanged->hide();
    connect(&m_doc, &Document::locationChanged, m_lblLocation, &QLabel::setText);
    connect(&m_doc, &Document::modifiedChanged, m_lblChanged,
            [this](bool modified) { m_lblChanged->setText(changedText(modified)); });
    connect(&m_doc, &Document::captionChanged, this, &QWidget::setWindowTitle);

    m_commands = new CommandTable(this);
    m_commands->buildMenuBar(menuBar());
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setIconSize(QSize(22, 22));
    m_commands->buildToolBar(m_toolBar);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_contextMenu = m_commands->buildContextMenu(this);

    // Every shortcut of the table acts once: the editor gives up its own
    // binding of the same key (Ctrl+L would cut a line, Ctrl+U lower-case).
    m_pad->releaseKeys(m_commands->shortcuts());

    connect(m_pad, &RichTextBox::KeyDown, this,
            [this](RichTextBox::KeyDownArgs& a) { onPadKeyDown(a.keyCode, a.shift); });
    connect(m_pad, &RichTextBox::MouseDown, this, [this](int button, int, const QPoint& pos) {
        if (button == 2)
            m_contextMenu->popup(m_pad->mapToGlobal(pos));
    });
    connect(m_pad, &RichTextBox::WheelZoom, this, [this](bool in) {
        m_commands->action(in ? Cmd::mnuZoomIn : Cmd::mnuZoomOut)->trigger();
    });
    connect(m_pad, &RichTextBox::ContextMenuKey, this,
            [this](const QPoint& pos) { m_contextMenu->popup(m_pad->mapToGlobal(pos)); });

    setMinimumWidth(minimumWidthPixels(this));
    resize(std::max(minimumWidthPixels(this), 860), 620);
}

void frmMain::buildColouring()
{
    m_colouring = new SyntaxColouring(*m_pad, this);
    m_lineNumbers = new LineNumberMargin(*m_pad, this);
    buildProblemMarks();
    m_outline = new PageOutline(m_doc, *m_colouring, this);
    m_typingAids = new TypingAids(*m_pad, *m_outline, this);
    m_matchMarks = new MatchMarks(*m_pad, *m_outline, this);
    // The options as stored, before any file is loaded: a document is not
    // coloured first and shown plain a moment later.
    applyEditorOptions();
    connect(m_colouring, &SyntaxColouring::noticeChanged, this, [this](const QString& notice) {
        if (notice.isEmpty())
            hideNotice(kColouringNotice);
        else
            showNotice(kColouringNotice, notice, {});
    });
    connect(&m_doc, &Document::locationChanged, m_colouring, &SyntaxColouring::setDocumentName);
    connect(&m_doc, &Document::aboutToLoad, m_colouring, &SyntaxColouring::prepareForLoad);
}

void frmMain::buildProblemMarks()
{
    m_checks = new CheckScheduler([this] { return m_doc.snapshot(); }, this);
    m_problems = new ProblemMarks(*m_pad, *m_checks, this);
    connect(m_problems, &ProblemMarks::noticeChanged, this, [this](const QString& notice) {
        if (notice.isEmpty())
            hideNotice(kCheckingNotice);
        else
            showNotice(kCheckingNotice, notice, {});
    });
    // F8 and Shift+F8 go from problem to problem: keys of the window, which
    // the text area never binds.
    const QKeySequence next(Qt::Key_F8), previous(Qt::SHIFT | Qt::Key_F8);
    m_pad->releaseKeys({next, previous});
    connect(new QShortcut(next, this), &QShortcut::activated, m_problems, &ProblemMarks::goToNext);
    connect(new QShortcut(previous, this), &QShortcut::activated, m_problems, &ProblemMarks::goToPrevious);
}

void frmMain::buildStatusBar()
{
    m_statusBar = new StatusBar(*m_pad, m_colouring, this);
    setStatusBar(m_statusBar);
    connect(m_problems, &ProblemMarks::statusChanged, m_statusBar, &StatusBar::setProblems);
}

void frmMain::applyEditorOptions()
{
    m_colouring->setEnabled(settings().isOn(Setting::SyntaxColouring));
    m_lineNumbers->setVisible(settings().isOn(Setting::LineNumbers));
    m_problems->setEnabled(settings().isOn(Setting::CheckPage));
    m_typingAids->setAutoIndent(settings().isOn(Setting::AutoIndent));
    m_typingAids->setBlockIndent(settings().isOn(Setting::BlockIndent));
    m_typingAids->setCloseTags(settings().isOn(Setting::CloseTags));
    if (m_recovery)
        m_recovery->applyOption();
    if (m_preview)
        m_preview->caretFollower().setEnabled(settings().isOn(Setting::PreviewFollowsCaret));
}

void frmMain::wireCommands()
{
    CommandTable& c = *m_commands;
    RichTextBox& pad = *m_pad;
    c.onFailure([this](const QString& description) { prompts().error(description); });
    c.on(Cmd::mnuNew, [this] { m_files.New(); });
    c.on(Cmd::mnuOpen, [this] { m_files.OpenDocument(); });
    c.on(Cmd::mnuSave, [this] { m_files.SaveDocument(); });
    c.on(Cmd::mnuSaveAs, [this] { m_files.SaveAs(); });
    c.on(Cmd::mnuExit, [this] { close(); });
    c.on(Cmd::mnuRevertDocument, [this] { m_files.RevertDocument(); });
    c.on(Cmd::mnuLockText, [this] { toggleLock(); });
    c.on(Cmd::mnuAlwaysOnTop, [this] { toggleAlwaysOnTop(); });

    // Clipboard and selection: the context item holds the command, the Edit
    // menu item and the toolbar button run the same one.
    c.on(Cmd::rcCopy, [&pad] { ClipboardCommands::copy(pad); });
    c.on(Cmd::rcPaste, [&pad] { ClipboardCommands::paste(pad); });
    c.on(Cmd::rcCut, [&pad] { ClipboardCommands::cut(pad); });
    c.on(Cmd::rcDelete, [&pad] { ClipboardCommands::deleteSelection(pad); });
    c.on(Cmd::rcUndo, [&pad] { ClipboardCommands::undo(pad); });
    c.on(Cmd::rcSelAll, [&pad] { ClipboardCommands::selectAll(pad); });
    c.on(Cmd::rcLOS, [this] { ClipboardCommands::lengthOfSelected(*m_pad, prompts()); });
    for (const auto& [item, context] : {std::pair{Cmd::mnuUndo, Cmd::rcUndo}, std::pair{Cmd::mnuCut, Cmd::rcCut},
                                        std::pair{Cmd::mnuCopy, Cmd::rcCopy}, std::pair{Cmd::mnuPaste, Cmd::rcPaste}})
        c.on(item, [this, context = context] { m_commands->action(context)->trigger(); });
    c.on(Cmd::mnuSelAll, [this] { m_commands->action(Cmd::rcSelAll)->trigger(); });
    c.on(Cmd::mnuFind, [this] { m_commands->action(Cmd::rcFindReplace)->trigger(); });

    // Transforms, insertions and view options.
    c.on(Cmd::mnuEditExtra_RevText, [&pad] { EditingCommands::reverse(pad); });
    c.on(Cmd::mnuEditExtra_UCase, [&pad] { EditingCommands::upperCase(pad); });
    c.on(Cmd::mnuEditExtra_LCase, [&pad] { EditingCommands::lowerCase(pad); });
    c.on(Cmd::mnuStart, [&pad] { EditingCommands::goToStart(pad); });
    c.on(Cmd::mnuEnd, [&pad] { EditingCommands::goToEnd(pad); });
    c.on(Cmd::mnuTimeOnly, [&pad] { EditingCommands::insertTimeOnly(pad); });
    c.on(Cmd::mnuDateOnly, [&pad] { EditingCommands::insertDateOnly(pad); });
    c.on(Cmd::mnuTimeDate, [&pad] { EditingCommands::insertTimeAndDate(pad); });
    c.on(Cmd::mnuZoomIn, [&pad] { EditingCommands::zoomIn(pad); });
    c.on(Cmd::mnuZoomOut, [&pad] { EditingCommands::zoomOut(pad); });
    c.on(Cmd::rcZoomIn, [this] { m_commands->action(Cmd::mnuZoomIn)->trigger(); });
    c.on(Cmd::rcZoomOut, [this] { m_commands->action(Cmd::mnuZoomOut)->trigger(); });

    // Web-development snippets.
    for (const Snippet& s : Snippets::table())
        c.on(s.command, [this, &s] { runSnippet(s, *m_pad, prompts()); });

    // HTML preview.
    m_preview = new PreviewController(pad, c.action(Cmd::mnuViewHTML),
                                      c.action(Cmd::mnuLiveHTML), this, m_services.prompts);
    c.on(Cmd::mnuViewHTML, [this] { m_preview->ViewHTML(); });
    c.on(Cmd::mnuLiveHTML, [this] { m_preview->LiveHTML(); });
    m_preview->setDocumentFolder([this] {
        const QString location = m_doc.location();
        return location.isEmpty() ? QString() : QFileInfo(location).absolutePath();
    });
    connect(&m_doc, &Document::contentsChanged, m_preview, &PreviewController::liveRefresh);
    // Open and Save As name the new folder after the text has changed (or
    // without changing it): the live page follows the document there, its
    // style sheets and pictures with it.
    connect(&m_doc, &Document::locationChanged, m_preview, &PreviewController::liveRefresh);
    m_preview->setBesideText([this] { return settings().isOn(Setting::PreviewBeside); },
                             [this](QWidget* panel) { placePreviewPanel(panel); });
    m_preview->caretFollower().setEnabled(settings().isOn(Setting::PreviewFollowsCaret));

    // Settings, Find, File's properties, Go to Line and the other tool windows.
    m_findSession = new FindSession(pad, prompts(), this);
    m_toolWindows = std::make_unique<ToolWindowTable>(*this);
    m_toolWindows->wire(c);
    connect(m_statusBar, &StatusBar::goToLineRequested, this,
            [this] { m_toolWindows->openByKey(ToolWindowTable::kGoToLine); });
    // F3 repeats the Find tab's search; with nothing to search for yet, it
    // opens the Find window.
    const QKeySequence findAgain(Qt::Key_F3);
    connect(new QShortcut(findAgain, this), &QShortcut::activated, this, &frmMain::repeatFind);
    m_pad->releaseKeys(m_toolWindows->shortcuts() << findAgain);

    // Help and About.
    c.on(Cmd::mnuLicenceAgreement, [this] { licenceAgreement(); });
    c.on(Cmd::mnuInterface, [this] { m_preview->showInterface(prompts()); });
    c.on(Cmd::mnuWebSite, [this] { shell().openUrl(HelpLinks::homePage()); });
    c.on(Cmd::mnuQPWebSite, [this] { shell().openUrl(HelpLinks::productPage()); });
}

void frmMain::repeatFind()
{
    if (!m_findSession->repeat())
        m_commands->action(Cmd::rcFindReplace)->trigger();
}

void frmMain::placePreviewPanel(QWidget* panel)
{
    m_split->addWidget(panel);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 1);
    bool ok = false;
    double share = settings().get(Setting::PreviewSplit).toDouble(&ok);
    if (!ok || !(share > 0.0 && share < 1.0))
        share = 0.5;
    const int width = std::max(m_split->width(), 2);
    const int text = std::clamp(int(width * share + 0.5), 1, width - 1);
    m_split->setSizes({text, width - text});
}

void frmMain::keepPreviewSplit()
{
    const QList<int> sizes = m_split->sizes();
    if (sizes.size() < 2 || sizes[0] + sizes[1] <= 0)
        return;
    const double share = double(sizes[0]) / (sizes[0] + sizes[1]);
    settings().store(Setting::PreviewSplit, QString::number(share, 'f', 3));
}

void frmMain::startUp(const QStringList& arguments)
{
    const QString text = Startup::argumentText(arguments);
    if (text.isEmpty())
        return;
    const QString path = Startup::pathFrom(text);
    if (!Startup::fileExists(path)) {
        prompts().message(QStringLiteral("Error:\r\nUnable to open file ") + path + QLatin1Char('.'),
                          Prompts::Icon::Error, Prompts::Buttons::Ok);
        return;
    }
    try {
        m_files.loadAsDocument(Startup::absolutePath(path));
    } catch (...) {
        // Any failure ends the start-up steps with the error box; the editor
        // still opens.
        prompts().error(describeFailure(std::current_exception()));
    }
}

QString frmMain::changedText(bool modified)
{
    return modified ? QStringLiteral("Yes") : QStringLiteral("No");
}

void frmMain::onPadKeyDown(int& keyCode, int shift)
{
    if (ClipboardCommands::swallowEditorKey(keyCode, shift))
        keyCode = 0;
}

void frmMain::showNotice(const QString& id, const QString& text, const QStringList& buttons,
                         std::function<void(int button)> answer)
{
    m_notices->showNotice(id, text, buttons, std::move(answer));
}

void frmMain::hideNotice(const QString& id)
{
    m_notices->hideNotice(id);
}

void frmMain::applyFontSettings()
{
    // Each read and each assignment on its own: a name that is not installed
    // or a size that is not a number leaves that property as it was.
    QString name = settings().get(Setting::PadFontName);
    if (name.isEmpty())
        name = Fonts::kDefaultName;
    m_pad->SetFontName(name);
    QString size = settings().get(Setting::PadFontSize);
    if (size.isEmpty())
        size = Fonts::kDefaultSize;
    if (const auto points = NumberText::parse(size))
        m_pad->SetFontSize(*points);
    applyEditorOptions();
}

bool frmMain::isProgramWindow(const QWidget* w)
{
    // The editor's own windows are named by the "frm" convention; message
    // boxes, file dialogs and menus shown over the main window are not.
    return w && w->isWindow() && w->objectName().startsWith(QLatin1String("frm"));
}

void frmMain::noteActiveWindow()
{
    // Another application, or a message box or dialog over this window,
    // leaves the note as it was.
    QWidget* active = QApplication::activeWindow();
    if (isProgramWindow(active))
        m_activeBeforeWasThis = active == this;
}

bool frmMain::event(QEvent* e)
{
    // The settings are read again when the window is first shown and each
    // time the user comes back from another window of the editor (closing
    // Settings is how a new font arrives). Coming back from another
    // application keeps the text as it was, zoom included. The activation
    // arrives before the application reports its new focus window, so the
    // note still names the window that was active before.
    if (e->type() == QEvent::WindowActivate && !m_activeBeforeWasThis)
        applyFontSettings();
    // Shown for the first time: the settings apply even where the window is
    // never activated (no window manager, or one that withholds the focus).
    if (e->type() == QEvent::Show && !m_fontAppliedOnShow) {
        m_fontAppliedOnShow = true;
        applyFontSettings();
    }
    return QMainWindow::event(e);
}

void frmMain::setInputEnabled(bool enabled)
{
    // The whole window, its shortcuts included; tool windows are owned, not
    // children, so they stay usable.
    setEnabled(enabled);
    if (enabled)
        m_pad->setFocus();
}

void frmMain::toggleLock()
{
    QAction* a = m_commands->action(Cmd::mnuLockText);
    const bool lock = !a->isChecked();
    a->setChecked(lock);
    m_pad->SetLocked(lock);
}

void frmMain::toggleAlwaysOnTop()
{
    QAction* a = m_commands->action(Cmd::mnuAlwaysOnTop);
    if (a->isChecked()) {
        a->setChecked(false);
        SetNotTopMost(this);
    } else {
        a->setChecked(true);
        SetTopMost(this);
    }
}

void frmMain::licenceAgreement()
{
    if (!m_files.askToSave(QStringLiteral("Would you like to save your document before opening another?")))
        return;
    const QString path = AppPaths::dataDir() + QStringLiteral("/Files/License Agreement.txt");
    if (!m_files.load(path))
        return;
    // The licence becomes the open document; the caption stays as it was.
    m_doc.setLocation(path);
    m_doc.setModified(false);
}

void frmMain::closeEvent(QCloseEvent* e)
{
    if (m_doc.isModified()) {
        const auto answer = prompts().message(QStringLiteral("Would you like to save your document before exiting?"),
                                              Prompts::Icon::Exclamation, Prompts::Buttons::YesNoCancel);
        if (answer == Prompts::Answer::Cancel) {
            e->ignore();
            return;
        }
        // Answered Yes but nothing was saved (dialog cancelled, write
        // failed): keep the window and the text rather than lose them.
        if (answer == Prompts::Answer::Yes && !m_files.SaveDocument()) {
            e->ignore();
            return;
        }
    }
    AppPaths::deleteTempFolder();
    m_recovery->endOfSession();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}
