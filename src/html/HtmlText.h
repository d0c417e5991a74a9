#pragma once
#include <QByteArrayView>

// Small facts about the bytes of a page that every reader of its markup shares.
namespace HtmlText {

// ASCII letters compared without case, as HTML compares element names.
bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b);

}
