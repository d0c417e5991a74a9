#pragma once
#include <QByteArrayView>
#include <functional>
#include <optional>

// Brackets that pair up in text: ( ), [ ] and { }.
namespace BracePair {

bool isBracket(char c);

// The bracket that pairs with the one at `at` in `text`: forward from an
// opening bracket, backward from a closing one, over pairs of the same kind
// nested between. Only brackets that `sameStyle` says are of the first one's
// style count (a bracket in a string or comment never pairs with one in
// code). None when `text` ends first or `at` holds no bracket.
std::optional<qsizetype> partner(QByteArrayView text, qsizetype at, const std::function<bool(qsizetype)>& sameStyle);

}
