#pragma once
#include <QString>

// Hands an address (web page, mailto: link, local file) to the desktop's
// default handler. Tests replace it with a recorder.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openUrl(const QString& address) = 0;
};

class DesktopShell : public Shell {
public:
    void openUrl(const QString& address) override;
};
