#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// Where an element sits in a page's document tree, in a form that the page's
// own script can follow in the browser (the preview outlines the element of
// the caret) and that a click in the preview can give back (the caret goes
// to the clicked element's start tag).
//
// A path is the chain of elements from a child of `body` down to the
// element, each step naming:
//   tag    the element's lower-case local name ("div", "td", "svg",
//          "lineargradient", "my-widget": ASCII letters lowered, nothing
//          else changed);
//   index  its place, from 0, among the element children of its parent
//          that have the same lower-case local name (text and comments do
//          not count);
//   id     (optional) its id attribute. Given only where the source's id is
//          known exactly (no character references, no server code in it).
// `body` itself is not a step: the empty path means body.
//
// As JSON, on both sides of the browser's script interface:
//   [{"tag":"section","index":2},{"tag":"p","index":0,"id":"intro"}]
//
// Tolerance: a path is followed step by step and never guessed. A step whose
// tag and index name no element, or whose element has an id different from
// the step's id (when both have one), makes the whole path "no match": the
// script answers null and nothing is outlined; a path from the browser that
// the text does not hold gives no position. Elements that only scripts
// create, or that server code would write, are not in the text: a path
// through them matches nothing rather than a neighbour.
namespace Html {

struct PathStep {
    QByteArray tag;
    int index = 0;
    QByteArray id; // empty: not checked

    bool operator==(const PathStep&) const = default;
};

using ElementPath = QList<PathStep>;

QByteArray pathToJson(const ElementPath& path);
// Nothing when the JSON is not a path as described above.
std::optional<ElementPath> pathFromJson(QByteArrayView json);

// JavaScript for the previewed page. Once evaluated it defines
//   quirkpadPath.resolve(path) -> the Element at the path, or null;
//   quirkpadPath.of(element)   -> the path of an element under body, or null;
// with paths as the arrays of objects above.
QByteArrayView elementPathScript();

}
