#include "help/HelpLinks.h"

namespace HelpLinks {

QString creator()
{
    return QStringLiteral("Martin Orlebar");
}

QString homePage()
{
    return QStringLiteral("https://www.corvane.example/");
}

QString emailAddress()
{
    return QStringLiteral("quirkpad@corvane.example");
}

QString mailLink()
{
    return QStringLiteral("mailto:") + emailAddress();
}

QString supportPage()
{
    return homePage() + QStringLiteral("support.aspx");
}

QString productPage()
{
    return homePage() + QStringLiteral("projects.aspx?ProjectID=2");
}

QString templatesPage()
{
    return homePage() + QStringLiteral("templates.aspx");
}

}
