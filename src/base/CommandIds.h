#pragma once
#include <QLatin1StringView>
#include <QStringView>
#include <optional>

// Every command of the main window, one identifier each. The command table
// declares its rows with these identifiers and the wiring names them, so a
// misspelt command does not compile. The name of each is the objectName of
// its action (the menu or context item's name).
#define QUIRKPAD_COMMANDS(X)                                                                         \
    X(mnuNew) X(mnuOpen) X(mnuSave) X(mnuSaveAs) X(mnuPrint) X(mnuExit)                              \
    X(mnuUndo) X(mnuCut) X(mnuCopy) X(mnuPaste) X(mnuSelAll) X(mnuFind)                              \
    X(mnuEditExtra_RevText) X(mnuEditExtra_UCase) X(mnuEditExtra_LCase) X(mnuStart) X(mnuEnd)       \
    X(mnuRevertDocument) X(mnuLockText)                                                              \
    X(mnuTimeOnly) X(mnuDateOnly) X(mnuTimeDate) X(mnuMergeDocs)                                     \
    X(mnuViewHTML) X(mnuLiveHTML) X(mnuAlwaysOnTop) X(mnuFileProps) X(mnuZoomIn) X(mnuZoomOut)       \
    X(mnuHTMLTags) X(mnuHTMLBold) X(mnuHTMLUnderlined) X(mnuHTMLItalic) X(mnuHTMLComment)            \
    X(mnuCustomFont)                                                                                 \
    X(mnudotNETScript) X(mnudotNETForm) X(mnudotNETComment_VB) X(mnudotNETComment_CCJ)               \
    X(mnudotNETComment_Delphi)                                                                       \
    X(mnuASPTags) X(mnuASPOutput) X(mnuASPComment)                                                   \
    X(mnuPHPTags) X(mnuASPOuput) X(mnuPHPComment)                                                    \
    X(mnuJSTags) X(mnuJSOutput) X(mnuJSComment)                                                      \
    X(mnuVBSTags) X(mnuVBSOutput) X(mnuVBSComment)                                                   \
    X(mnuWebPageWizard) X(mnuWebPageTemplates) X(mnuDBCW)                                            \
    X(mnuSpellCheck) X(mnuANSIConverter) X(mnuSettings)                                              \
    X(mnuAbout) X(mnuLicenceAgreement) X(mnuInterface) X(mnuWebSite) X(mnuQPWebSite)                 \
    X(rcCopy) X(rcPaste) X(rcCut) X(rcDelete) X(rcUndo) X(rcSelAll) X(rcZoomIn) X(rcZoomOut)         \
    X(rcLOS) X(rcFindReplace)

enum class Cmd {
#define QUIRKPAD_COMMAND_ENUM(id) id,
    QUIRKPAD_COMMANDS(QUIRKPAD_COMMAND_ENUM)
#undef QUIRKPAD_COMMAND_ENUM
};

namespace Commands {

inline constexpr int kCount = 0
#define QUIRKPAD_COMMAND_COUNT(id) +1
    QUIRKPAD_COMMANDS(QUIRKPAD_COMMAND_COUNT)
#undef QUIRKPAD_COMMAND_COUNT
    ;

// The command's name, "mnuNew" for Cmd::mnuNew.
QLatin1StringView name(Cmd command);

// The command of a name, or nothing for a name that is no command.
std::optional<Cmd> named(QStringView name);

}
