#include "editor/DocumentService.h"

const QString DocumentService::kFileFilter = QStringLiteral(
    "All Files (*.*)|*.*|Quirkpad Documents (*.qpd)|*.qpd|Text Documents (*.txt)|*.txt|HTML Files (*.htm)|*.htm|"
    "ASP Files (*.asp)|*.asp|ASP .NET Files (*.aspx)|*.aspx|PHP Files (*.php)|*.php|XML Files (*.xml)|*.xml|"
    "C++ Files (*.cpp)|*.cpp");
