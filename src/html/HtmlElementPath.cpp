#include "html/HtmlElementPath.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Html {

namespace {

const char kScript[] = R"js(
var quirkpadPath = (function () {
    'use strict';
    // Local names with ASCII letters lowered (the browser lowers nothing else).
    function lower(name) {
        return name.replace(/[A-Z]+/g, function (letters) { return letters.toLowerCase(); });
    }
    function isStep(step) {
        return step !== null && typeof step === 'object' && typeof step.tag === 'string' &&
            Number.isInteger(step.index) && step.index >= 0 &&
            (step.id === undefined || typeof step.id === 'string');
    }
    function resolve(path) {
        var node = document.body;
        if (!node || !Array.isArray(path))
            return null;
        for (var i = 0; i < path.length; i++) {
            var step = path[i], seen = 0, next = null;
            if (!isStep(step))
                return null;
            for (var child = node.firstElementChild; child; child = child.nextElementSibling) {
                if (lower(child.localName) !== step.tag)
                    continue;
                if (seen === step.index) {
                    next = child;
                    break;
                }
                seen++;
            }
            if (!next)
                return null;
            if (step.id !== undefined && step.id !== '' && next.id !== '' && next.id !== step.id)
                return null;
            node = next;
        }
        return node;
    }
    function of(element) {
        var steps = [];
        var body = document.body;
        for (var e = element; e !== body; e = e.parentElement) {
            if (!e || !e.parentElement)
                return null;
            var tag = lower(e.localName), index = 0;
            for (var s = e.previousElementSibling; s; s = s.previousElementSibling)
                if (lower(s.localName) === tag)
                    index++;
            var step = {tag: tag, index: index};
            if (e.id !== '')
                step.id = e.id;
            steps.unshift(step);
        }
        return steps;
    }
    return {resolve: resolve, of: of};
})();
)js";

}

QByteArray pathToJson(const ElementPath& path)
{
    QJsonArray steps;
    for (const PathStep& s : path) {
        QJsonObject step{{"tag", QString::fromUtf8(s.tag)}, {"index", s.index}};
        if (!s.id.isEmpty())
            step.insert("id", QString::fromUtf8(s.id));
        steps.append(step);
    }
    return QJsonDocument(steps).toJson(QJsonDocument::Compact);
}

std::optional<ElementPath> pathFromJson(QByteArrayView json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    if (!document.isArray())
        return std::nullopt;
    ElementPath path;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject step = value.toObject();
        const QJsonValue tag = step.value("tag"), index = step.value("index"), id = step.value("id");
        if (!tag.isString() || tag.toString().isEmpty() || !index.isDouble() || index.toDouble() < 0 ||
            index.toDouble() != double(index.toInt()) || !(id.isUndefined() || id.isString()))
            return std::nullopt;
        path.append(PathStep{tag.toString().toUtf8(), index.toInt(), id.toString().toUtf8()});
    }
    return path;
}

QByteArrayView elementPathScript()
{
    return QByteArrayView(kScript, qsizetype(sizeof kScript - 1));
}

}
