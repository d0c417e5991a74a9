#pragma once
#include <QObject>

class QKeyEvent;

// What a view asks of the typing aids attached to it, for every key that
// would reach the engine: one not swallowed by a KeyDown handler, not
// refused by the lock, and not a key the view leaves unbound. Without an aid
// every key does what a plain edit box does.
class KeyAid : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Before the engine sees the key: true when the aid has done all the key
    // asks (the engine then never sees it, and keyDone is not called).
    virtual bool keyPressed(QKeyEvent& e) = 0;
    // The engine has just done what the key asks, in the same step of the
    // document.
    virtual void keyDone(QKeyEvent& e) = 0;
};
